#include "shell/announcements.h"

#include <cmath>

#include "puzzle/controller/piece_commands.h"
#include "puzzle/controller/pointer.h"
#include "shell/description.h"
#include "shell/messages.h"
#include "shell/places.h"
#include "shell/words.h"

namespace vokta {

namespace {

constexpr Words kViewName = spoken("The game's view. D says what it shows.");
constexpr Words kSelected = spoken("Selected %1 piece %2: %3.");
constexpr Words kPieceAt = spoken("%1 piece %2: %3.");
constexpr Words kLetGo = spoken("Let go: %1 piece %2.");
constexpr Words kTurned = spoken("Turned: %1.");
constexpr Words kRestsOnFloor = spoken("%1 piece %2 came to rest on the floor.");
constexpr Words kRestsOn = spoken("%1 piece %2 came to rest on %3.");
constexpr Words kRestsInAir = spoken("%1 piece %2 stopped in the air.");
constexpr Words kOnePiece = spoken("the %1 piece");
constexpr Words kPieces = spoken("the %1 pieces");
constexpr Words kBlockedBy = spoken("Blocked by the %1 piece.");
constexpr Words kFloorInTheWay = spoken("The floor is in the way.");
constexpr Words kNoDirection = spoken("This view gives that no direction on the grid: turn the view a little.");
constexpr Words kUndone = spoken("Undone.");
constexpr Words kRedone = spoken("Redone.");
constexpr Words kNewBuild = spoken("New: no figure, build freely. The pieces are scattered.");
constexpr Words kScattered = spoken("The pieces are scattered again.");
constexpr Words kNewTask = spoken("New task: %1. The pieces are scattered.");
constexpr Words kCompleted = spoken("Task completed.");
constexpr Words kHintPlace = spoken("Hint: %1 piece %2 goes to %3.");
constexpr Words kViewStraight = spoken("View from the %1, %2 degrees down, %3 cells away; moves go straight.");
constexpr Words kViewDiagonal = spoken("View from the %1, %2 degrees down, %3 cells away; moves go diagonally.");

// The eight sides the camera looks from, anticlockwise from the east (+x;
// north is +y).
constexpr Words kSides[] = {
    spoken("east"), spoken("north-east"), spoken("north"), spoken("north-west"),
    spoken("west"), spoken("south-west"), spoken("south"), spoken("south-east"),
};

constexpr float kDegreesPerRadian = 57.29578f;
// The view's slope is said to the nearest 5 degrees.
constexpr float kSlopeStep = 5.0f;

std::string number(int value)
{
    return std::to_string(value);
}

std::string say(Words words, Language language, std::initializer_list<std::string_view> arguments = {})
{
    return capitalized(withArguments(words.in(language), arguments));
}

// The pieces, the selection and the task as the player sees them; the
// scatter's generator is no part of it.
bool sameArrangement(const GameState& a, const GameState& b)
{
    return a.pieces == b.pieces && a.pieceCount == b.pieceCount && a.selected == b.selected && a.figure == b.figure &&
        a.cellCount == b.cellCount;
}

std::string whereSelected(const GameState& state, const Camera& camera, Language language)
{
    const int selected = state.selected;
    const std::vector<Cell> cubes = cubesOf(state.piece(selected), selected);
    return wherePhrase(PlayerGrid(state, camera), cubes, language);
}

std::string selectedSentence(const GameState& state, const Game& game, Language language, Words words = kSelected)
{
    const int selected = state.selected;
    return say(words, language,
               {colourName(game.view().palette(), selected, language), number(digitKeyOf(selected)),
                whereSelected(state, game.view().camera, language)});
}

// What piece index, just come to rest, stands on: the floor, the pieces
// right under its cubes, or nothing (pieces that waited on each other).
std::string landingSentence(const GameState& state, int index, const Palette& palette, Language language)
{
    const std::string colour(colourName(palette, index, language));
    const std::string digit = number(digitKeyOf(index));
    bool onFloor = false;
    std::vector<std::string> under;
    for (int other = 0; other < state.inPlay(); ++other) {
        if (other == index)
            continue;
        bool touches = false;
        for (const Cell& cube : cubesOf(state.piece(index), index)) {
            for (const Cell& below : cubesOf(state.piece(other), other))
                touches = touches || cubesOverlap(cube - Cell{0, 0, 1}, below);
        }
        if (touches)
            under.emplace_back(colourObject(palette, other, language));
    }
    for (const Cell& cube : cubesOf(state.piece(index), index))
        onFloor = onFloor || cube.z == 0;
    if (onFloor)
        return say(kRestsOnFloor, language, {colour, digit});
    if (under.empty())
        return say(kRestsInAir, language, {colour, digit});
    return say(kRestsOn, language,
               {colour, digit,
                withArguments((under.size() == 1 ? kOnePiece : kPieces).in(language), {listOf(under, language)})});
}

// Why the piece command tried on the selected piece changed nothing.
std::optional<std::string> refusal(Command command, const GameState& state, const Game& game, Language language)
{
    const std::optional<PieceAction> action = pieceAction(game.view().camera, command);
    if (!action || (action->kind == PieceAction::Kind::Move && action->step == Cell{}))
        return say(kNoDirection, language);
    const PieceState& piece = state.piece(state.selected);
    Cell position = piece.position;
    CubeOffsets offsets = piece.offsets;
    if (action->kind == PieceAction::Kind::Move) {
        const Cell target = position + action->step;
        position = {snapCoordinate(target.x), snapCoordinate(target.y), snapCoordinate(target.z)};
    } else {
        for (Cell& offset : offsets)
            offset = rotate(offset, action->quarter);
    }
    const Obstruction obstruction = obstructionAt(state, state.selected, position, offsets);
    switch (obstruction.kind) {
    case Obstruction::Kind::Floor: return say(kFloorInTheWay, language);
    case Obstruction::Kind::Piece:
        return say(kBlockedBy, language, {colourName(game.view().palette(), obstruction.piece, language)});
    case Obstruction::Kind::None: break;
    }
    return std::nullopt;
}

// The piece command an input tried on the selected piece, if it tried one.
std::optional<Command> triedPieceCommand(const WindowMessage& message)
{
    if (message.kind == WindowMessage::Kind::Command && isPieceCommand(message.command))
        return message.command;
    if (message.kind == WindowMessage::Kind::KeyDown)
        return pieceCommandOfKey(message.key, message.shift);
    return std::nullopt;
}

bool isCommand(const WindowMessage& message, std::initializer_list<Command> commands)
{
    if (message.kind != WindowMessage::Kind::Command)
        return false;
    for (const Command command : commands) {
        if (message.command == command)
            return true;
    }
    return false;
}

// What an input changed, said as the player needs it.
std::vector<std::string> changes(const WindowMessage& message, const GameState& before, const Game& game,
                                 Language language)
{
    const GameState& after = game.state();
    const Palette& palette = game.view().palette();
    const bool changed = !sameArrangement(before, after);
    if (isCommand(message, {Command::Undo, Command::Redo})) {
        if (!changed)
            return {};
        std::vector<std::string> said{say(message.command == Command::Undo ? kUndone : kRedone, language)};
        if (after.selected >= 0)
            said.push_back(selectedSentence(after, game, language, kPieceAt));
        return said;
    }
    if (isCommand(message, {Command::New, Command::Retry, Command::Load, Command::Library})) {
        if (!changed)
            return {};
        if (message.command == Command::New)
            return {say(kNewBuild, language)};
        if (message.command == Command::Retry)
            return {say(kScattered, language)};
        return {say(kNewTask, language, {figureSummary(PlayerGrid(after, game.view().camera), language)})};
    }
    if (after.selected != before.selected) {
        if (after.selected >= 0)
            return {selectedSentence(after, game, language)};
        return {say(kLetGo, language,
                    {colourName(palette, before.selected, language), number(digitKeyOf(before.selected))})};
    }
    const int selected = after.selected;
    if (selected < 0)
        return {};
    if (after.piece(selected).offsets != before.piece(selected).offsets)
        return {say(kTurned, language, {whereSelected(after, game.view().camera, language)})};
    if (after.piece(selected).position != before.piece(selected).position)
        return {capitalized(whereSelected(after, game.view().camera, language) + ".")};
    if (const std::optional<Command> tried = triedPieceCommand(message)) {
        if (std::optional<std::string> why = refusal(*tried, after, game, language))
            return {std::move(*why)};
    }
    return {};
}

// What a tick changed: pieces that came to rest, and the task completed.
std::vector<std::string> tickChanges(const GameState& before, const Game& game, Language language)
{
    const GameState& after = game.state();
    std::vector<std::string> said;
    for (int i = 0; i < after.inPlay(); ++i) {
        if (before.piece(i).falling && !after.piece(i).falling && i != after.selected)
            said.push_back(landingSentence(after, i, game.view().palette(), language));
    }
    if (!before.taskCompleted && after.taskCompleted)
        said.push_back(say(kCompleted, language));
    return said;
}

bool cameraStill(const Camera& camera)
{
    return camera.yawSpeed == 0.0f && camera.moveSpeed == 0.0f && camera.pitchSpeed == 0.0f;
}

// A step that goes along one grid axis.
bool straight(const std::optional<PieceAction>& action)
{
    return action && (action->step.x == 0) != (action->step.y == 0);
}

}  // namespace

std::string Spoken::text() const
{
    std::string joined;
    for (const std::string& sentence : sentences)
        joined += (joined.empty() ? "" : " ") + sentence;
    return joined;
}

Announcer::Pose Announcer::poseOf(const Camera& camera)
{
    return {camera.position(), camera.direction(), camera.up()};
}

void Announcer::start(const Game& game)
{
    spokenView_ = poseOf(game.view().camera);
    dragFrom_.reset();
    hint_.clear();
}

std::optional<Spoken> Announcer::heard(const WindowMessage& message, const GameState& before, const Game& game,
                                       Language language)
{
    std::vector<std::string> said;
    if (message.kind == WindowMessage::Kind::Timer) {
        said = tickChanges(before, game, language);
    } else if (message.kind == WindowMessage::Kind::MouseMove && (message.keys & kMouseLeft) != 0) {
        if (!dragFrom_)
            dragFrom_ = before;
    } else {
        said = changes(message, dragFrom_ ? *dragFrom_ : before, game, language);
        dragFrom_.reset();
        const Camera& camera = game.view().camera;
        if (cameraStill(camera) && poseOf(camera) != spokenView_) {
            spokenView_ = poseOf(camera);
            said.push_back(viewSentence(camera, language));
        }
    }
    said.insert(said.end(), hint_.begin(), hint_.end());
    hint_.clear();
    if (said.empty())
        return std::nullopt;
    return Spoken{Spoken::Kind::Announcement, std::move(said)};
}

void Announcer::hint(const Hint& hint, const Game& game, Language language)
{
    const Palette& palette = game.view().palette();
    if (hint.kind == Hint::Kind::Place) {
        PieceState place;
        place.position = hint.place.position;
        place.offsets = hint.place.offsets;
        const std::vector<Cell> cubes = cubesOf(place, hint.piece);
        std::vector<GridPlace> places;
        const PlayerGrid grid(game.state(), game.view().camera);
        for (const Cell& cube : cubes)
            places.push_back(grid.place(cube));
        hint_.push_back(say(kHintPlace, language,
                            {colourName(palette, hint.piece, language), number(digitKeyOf(hint.piece)),
                             cellsPhrase(places, language)}));
        return;
    }
    if (const std::optional<Notice> notice = hintNotice(hint, palette, language))
        hint_.push_back(notice->text);
}

std::string_view viewName(Language language)
{
    return kViewName.in(language);
}

std::string viewSentence(const Camera& camera, Language language)
{
    const Vec3 eye = camera.position();
    const Vec3 d = camera.direction();
    constexpr int kSideCount = static_cast<int>(std::size(kSides));
    const float turns = std::atan2(eye.y, eye.x) * kDegreesPerRadian / (360.0f / kSideCount);
    const int side = ((static_cast<int>(std::lround(turns)) % kSideCount) + kSideCount) % kSideCount;
    const float length = modulus(d);
    const float slope = length > 0.0f ? std::asin(std::clamp(-d.z / length, -1.0f, 1.0f)) * kDegreesPerRadian : 0.0f;
    const int degrees = static_cast<int>(std::lround(slope / kSlopeStep)) * static_cast<int>(kSlopeStep);
    const int cells = static_cast<int>(std::lround(modulus(eye) / 10.0f));
    const bool movesStraight =
        straight(pieceAction(camera, Command::MoveLeft)) && straight(pieceAction(camera, Command::MoveForward));
    return say(movesStraight ? kViewStraight : kViewDiagonal, language,
               {kSides[side].in(language), number(degrees), number(cells)});
}

}  // namespace vokta
