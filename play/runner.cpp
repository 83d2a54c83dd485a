#include "play/runner.h"

#include <cmath>
#include <cstdio>

#include "puzzle/controller/commands.h"

namespace vokta::play {

namespace {

Json vector(Vec3 v)
{
    return Json::array().push(Json::number(v.x)).push(Json::number(v.y)).push(Json::number(v.z));
}

Json vector(Cell c)
{
    return vector(toVec3(c));
}

std::string hexColour(Colour colour)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(colour));
    return text;
}

// How far from its centre a roller is clicked, along its own axis: on the
// cylinder (10 long each way), clear of the roller crossing it there.
constexpr float kRollerEndReach = 7.0f;

// The button a mouse message is about: the first one held, left before right before middle.
int primaryButton(int keys)
{
    for (const int button : {kMouseLeft, kMouseRight, kMouseMiddle}) {
        if (keys & button)
            return button;
    }
    return 0;
}

}  // namespace

std::vector<WindowMessage> inputMessages(const Action& action)
{
    using Kind = Action::Kind;
    using MessageKind = WindowMessage::Kind;
    const auto command = [](Command id) {
        return std::vector<WindowMessage>{{.kind = MessageKind::Command, .command = id}};
    };
    switch (action.kind) {
    case Kind::KeyDown:
    case Kind::Key: {
        std::vector<WindowMessage> messages{{.kind = MessageKind::KeyDown, .key = action.key, .shift = action.shift}};
        // The window types the character of a character key, as it goes down.
        if (action.character != 0)
            messages.push_back({.kind = MessageKind::Char, .character = action.character});
        if (action.kind == Kind::Key)
            messages.push_back({.kind = MessageKind::KeyUp, .key = action.key});
        return messages;
    }
    case Kind::KeyUp: return {{.kind = MessageKind::KeyUp, .key = action.key}};
    case Kind::Char: return {{.kind = MessageKind::Char, .character = action.character}};
    case Kind::Command: return {{.kind = MessageKind::Command, .command = static_cast<Command>(action.number)}};
    case Kind::Press:
    case Kind::Move:
    case Kind::Release:
    case Kind::DoubleClick: {
        const MessageKind kind = action.kind == Kind::Press ? MessageKind::ButtonDown
            : action.kind == Kind::Move                     ? MessageKind::MouseMove
            : action.kind == Kind::Release                  ? MessageKind::ButtonUp
                                                            : MessageKind::DoubleClick;
        const int button =
            kind == MessageKind::ButtonDown || kind == MessageKind::DoubleClick ? primaryButton(action.keys) : 0;
        return {{.kind = kind, .x = action.x, .y = action.y, .keys = action.keys, .button = button}};
    }
    case Kind::New: return command(Command::New);
    case Kind::Retry: return command(Command::Retry);
    case Kind::Hint: return command(Command::Hint);
    case Kind::Undo: return command(Command::Undo);
    case Kind::Redo: return command(Command::Redo);
    default: return {};
    }
}

Runner::Runner(std::string modelDirectory, int width, int height)
    : modelDirectory_(std::move(modelDirectory)), width_(width), height_(height)
{
    setUp(kDefaultSeed);
}

void Runner::setUp(unsigned seed)
{
    headless_.reset();
    headless_ = std::make_unique<HeadlessGame>(modelDirectory_, seed, width_, height_);
    ticks_ = 0;
    completions_.clear();
}

// Each input is followed by what the window's loop does once its queue is
// empty: the idle render, which plays a pending step sound.
void Runner::idle()
{
    headless_->shell.renderWhenIdle([](float) {});
}

void Runner::deliver(const WindowMessage& message)
{
    if (message.kind == WindowMessage::Kind::Command)
        headless_->shell.choose(message.command);
    else
        headless_->shell.route(message);
    idle();
}

void Runner::tick()
{
    ++ticks_;
    const int before = headless_->view.successes;
    headless_->shell.tick();
    idle();
    if (headless_->view.successes != before)
        completions_.push_back(ticks_);
}

Runner::Outcome Runner::click(const Action& action, int button, bool twice)
{
    const std::optional<Pixel> pixel = objectPixel(game(), action);
    if (!pixel) {
        const char* what = action.kind == Action::Kind::ClickRoller ? "roller " : "piece ";
        return {Status::Failed, what + std::to_string(action.number) + " is not in view"};
    }
    WindowMessage message{.x = pixel->x, .y = pixel->y};
    for (int click = 0; click < (twice ? 2 : 1); ++click) {
        message.kind = click == 0 ? WindowMessage::Kind::ButtonDown : WindowMessage::Kind::DoubleClick;
        message.keys = message.button = button;
        deliver(message);
        message.kind = WindowMessage::Kind::ButtonUp;
        message.keys = 0;
        deliver(message);
    }
    return {};
}

Runner::Outcome Runner::run(const Action& action, std::string& output)
{
    using Kind = Action::Kind;
    Game& g = game();
    switch (action.kind) {
    case Kind::Setup: setUp(action.number); break;
    case Kind::Seed: g.reseed(action.number); break;
    case Kind::Tick:
        for (std::uint32_t i = 0; i < action.number; ++i)
            tick();
        break;
    case Kind::KeyDown:
    case Kind::Key:
    case Kind::KeyUp:
    case Kind::Char:
    case Kind::Command:
    case Kind::Press:
    case Kind::Move:
    case Kind::Release:
    case Kind::DoubleClick:
    case Kind::New:
    case Kind::Retry:
    case Kind::Hint:
    case Kind::Undo:
    case Kind::Redo:
        for (const WindowMessage& message : inputMessages(action))
            deliver(message);
        break;
    case Kind::ClickPiece: return click(action, action.shift ? kMouseRight : kMouseLeft, false);
    case Kind::DoubleClickPiece: return click(action, kMouseLeft, true);
    case Kind::ClickRoller: return click(action, kMouseLeft, false);
    case Kind::Place: g.place(static_cast<int>(action.number), action.cell, action.offsets, action.falling); break;
    case Kind::Camera: g.poseCamera(action.position, action.direction, action.up); break;
    case Kind::Pieces: g.setPieceCount(static_cast<int>(action.number)); break;
    case Kind::Task: g.setBuiltInTask(action.builtin); break;
    case Kind::Size:
        // Later pixels are on a view of this size; a later setup keeps it.
        width_ = action.x;
        height_ = action.y;
        g.scene().setViewSize(width_, height_);
        break;
    case Kind::Load:
    case Kind::Save:
        headless_->shell.fileChosen(action.kind == Kind::Load ? Command::Load : Command::Save, ChosenFile{action.text});
        idle();
        break;
    case Kind::Daily:
    case Kind::Generate:
        headless_->shell.loadMadeTask(action.request);
        idle();
        break;
    case Kind::Code:
        // A refused code is reported as the window reports it; the script goes on.
        headless_->shell.openTaskCode(action.text);
        idle();
        break;
    case Kind::State: {
        output += state().text();
        output += '\n';
        // What has been shown is not kept: a long run stays in bounded memory.
        headless_->sound.tunes.clear();
        headless_->view.messages.clear();
        headless_->view.dialogs.clear();
        headless_->view.spoken.clear();
        break;
    }
    case Kind::Expect: {
        const Json now = state();
        const Json* found = now.find(action.text);
        if (!found)
            return {Status::ExpectationFailed, "the state has no \"" + action.text + "\""};
        const std::string actual = found->text();
        if (actual != action.value)
            return {Status::ExpectationFailed,
                    "expected " + action.text + " to be " + action.value + ", it is " + actual};
        break;
    }
    }
    return {};
}

// The hint on show: what kind, which piece, and for one to place, where.
Json hintState(const std::optional<Hint>& shownHint)
{
    static constexpr const char* kKinds[] = {"place", "take out", "unsolvable", "solved", "no task"};
    if (!shownHint)
        return Json::null();
    const Hint& hint = *shownHint;
    Json shown = Json::object().set("kind", Json::string(kKinds[static_cast<int>(hint.kind)]));
    if (hint.piece >= 0)
        shown.set("piece", Json::integer(hint.piece));
    if (hint.kind == Hint::Kind::Place) {
        Json offsets = Json::array();
        for (const Cell& offset : hint.place.offsets)
            offsets.push(vector(offset));
        shown.set("position", vector(hint.place.position)).set("offsets", std::move(offsets));
    }
    return shown;
}

Json Runner::state() const
{
    const Game& g = headless_->shell.game();
    Json pieces = Json::array();
    for (int i = 0; i < kPieceTotal; ++i) {
        const PieceState& piece = g.state().piece(i);
        Json offsets = Json::array();
        for (const Cell& offset : piece.offsets)
            offsets.push(vector(offset));
        pieces.push(
            Json::object()
                .set("position", vector(piece.position))
                .set("offsets", std::move(offsets))
                .set("falling", Json::boolean(piece.falling))
                .set("colour", Json::string(hexColour(g.view().pieces[static_cast<std::size_t>(i)]->colour()))));
    }
    const Json selected = g.state().selected >= 0 ? Json::integer(g.state().selected) : Json::null();
    const auto strings = [](const std::vector<std::string>& all) {
        Json list = Json::array();
        for (const std::string& item : all)
            list.push(Json::string(item));
        return list;
    };
    Json completions = Json::array();
    for (const std::uint64_t tick : completions_)
        completions.push(Json::integer(static_cast<long long>(tick)));
    Json rollers = Json::array();
    for (const auto& roller : g.view().rollers) {
        rollers.push(Json::object()
                         .set("position", vector(roller->position()))
                         .set("axis", Json::integer(roller->axis))
                         .set("positive", Json::boolean(roller->positive)));
    }
    Json messages = Json::array();
    const auto& shown = headless_->view.messages;
    for (std::size_t i = 0; i < shown.size(); ++i)
        messages.push(
            Json::object().set("caption", Json::string(shown[i].caption)).set("text", Json::string(shown[i].text)));

    return Json::object()
        .set("pieces", std::move(pieces))
        .set("pieceCount", Json::integer(g.state().pieceCount))
        .set("cellCount", Json::integer(g.state().cellCount))
        .set("selected", selected)
        .set("mode", Json::integer(static_cast<int>(g.state().selectionMode)))
        .set("taskCompleted", Json::boolean(g.state().taskCompleted))
        .set("tunes", strings(headless_->sound.tunes))
        .set("completions", std::move(completions))
        .set("ticks", Json::integer(static_cast<long long>(ticks_)))
        .set("marker", vector(g.view().directionMarker->position()))
        .set("rollers", std::move(rollers))
        .set("camera",
             Json::object()
                 .set("position", vector(g.view().camera.position()))
                 .set("direction", vector(g.view().camera.direction()))
                 .set("up", vector(g.view().camera.up())))
        .set("messages", std::move(messages))
        .set("dialogs", strings(headless_->view.dialogs))
        .set("hint", hintState(g.hint()))
        .set("spoken", strings(headless_->view.spoken));
}

std::optional<Pixel> objectPixel(const Game& game, const Action& action)
{
    Vec3 world;
    if (action.kind == Action::Kind::ClickRoller) {
        const Roller& roller = *game.view().rollers[action.number];
        const Vec3 centre = roller.position();
        const float along[3] = {centre.x, centre.y, centre.z};
        const Vec3 eye = game.view().camera.position();
        const float camera[3] = {eye.x, eye.y, eye.z};
        const float reach = camera[roller.axis] >= along[roller.axis] ? kRollerEndReach : -kRollerEndReach;
        world = centre +
            Vec3{roller.axis == 0 ? reach : 0.0f, roller.axis == 1 ? reach : 0.0f, roller.axis == 2 ? reach : 0.0f};
    } else {
        world = toVec3(game.state().piece(static_cast<int>(action.number)).position);
    }
    const Viewport viewport = game.view().scene.viewport();
    const Viewport::ScreenPoint s = viewport.transform(world);
    const float x = s.x / s.w;
    const float y = s.y / s.w;
    if (!(s.w > Viewport::kFrontPlane && s.w < Viewport::kBackPlane) ||
        !(x >= 0.0f && x < static_cast<float>(viewport.width())) ||
        !(y >= 0.0f && y < static_cast<float>(viewport.height())))
        return std::nullopt;
    return Pixel{static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y))};
}

ScriptExit runActions(Runner& runner, const Script& script, const std::string& scriptName,
                      const std::function<void(const std::string&)>& print)
{
    std::string output;
    for (const Action& action : script.actions) {
        const Runner::Outcome outcome = runner.run(action, output);
        print(output);
        output.clear();
        if (outcome.status != Runner::Status::Ok) {
            // What was printed comes before the problem, even when both go to one terminal.
            std::fflush(stdout);
            std::fprintf(stderr, "vokta-play: %s:%d: %s\n", scriptName.c_str(), action.line, outcome.problem.c_str());
            return outcome.status == Runner::Status::ExpectationFailed ? ScriptExit::ExpectationFailed
                                                                       : ScriptExit::BadScript;
        }
    }
    return ScriptExit::Ok;
}

}  // namespace vokta::play
