#include "play/soak.h"

#include <chrono>
#include <optional>

#include "puzzle/controller/commands.h"
#include "puzzle/rules/generator.h"

namespace vokta::play {

namespace {

constexpr const char* kKeys[] = {"left", "right", "up", "down", "pageup", "pagedown"};
constexpr const char* kOtherKeys[] = {"enter", "escape", "a", "x", "9", "0"};
constexpr int kCommands[] = {40001, 40002, 40003, 40004, 40005, 40006, 40007, 40008, 40009, 40010, 40011,
                             40012, 40013, 40014, 40015, 40016, 40017, 40018, 40019, 40020, 40021, 40022,
                             40023, 40024, 40025, 40026, 40027, 40028, 40029, 40031, 40032, 40033, 40034, 57666};
// Made tasks come now and then in place of a task file: as many as the
// soak can make in its time.
constexpr int kMadeTaskShare = 50;

bool parked(Vec3 p)
{
    return p == kParkingPosition;
}

}  // namespace

RandomPlayer::RandomPlayer(unsigned seed, std::vector<std::string> taskFiles, std::string saveFolder)
    : random_(seed), taskFiles_(std::move(taskFiles)), saveFolder_(std::move(saveFolder))
{
}

std::string RandomPlayer::pixel()
{
    // Mostly around the middle, where the pieces are, sometimes anywhere.
    if (below(4) == 0)
        return std::to_string(below(kDefaultWidth)) + " " + std::to_string(below(kDefaultHeight));
    return std::to_string(440 + below(400)) + " " + std::to_string(240 + below(320));
}

std::string RandomPlayer::buttons()
{
    static constexpr const char* kButtons[] = {"left",       "left",      "left",       "right", "middle",
                                               "left+shift", "left+ctrl", "right+left", "none"};
    return kButtons[below(static_cast<int>(std::size(kButtons)))];
}

std::string RandomPlayer::next(const Game& game)
{
    if (!pending_.empty()) {
        std::string line = pending_.front();
        pending_.erase(pending_.begin());
        return line;
    }
    const int roll = below(100);
    if (roll < 15)
        return "tick " + std::to_string(1 + below(20));
    if (roll < 40)
        return std::string("key ") + kKeys[below(6)] + (below(3) == 0 ? " shift" : "");
    if (roll < 46)
        return "key " + std::to_string(1 + below(7));
    if (roll < 50)
        return std::string(below(2) ? "key " : "keyup ") + kOtherKeys[below(6)];
    if (roll < 56) {
        // A camera key held for a while.
        const std::string key = kKeys[below(6)];
        pending_ = {"tick " + std::to_string(1 + below(8)), "keyup " + key};
        return "keydown " + key;
    }
    if (roll < 68) {
        Action action;
        action.number = static_cast<std::uint32_t>(below(kPieceTotal));
        const int kind = below(4);
        action.kind = kind == 3 ? Action::Kind::ClickRoller
            : kind == 2         ? Action::Kind::DoubleClickPiece
                                : Action::Kind::ClickPiece;
        if (action.kind == Action::Kind::ClickRoller)
            action.number = static_cast<std::uint32_t>(below(kRollerCount));
        if (!objectPixel(game, action))
            return "tick";
        const std::string n = std::to_string(action.number);
        if (action.kind == Action::Kind::ClickRoller)
            return "click roller " + n;
        if (action.kind == Action::Kind::DoubleClickPiece)
            return "dblclick piece " + n;
        return "click piece " + n + (below(3) == 0 ? " right" : "");
    }
    if (roll < 80) {
        // A drag: press, a few moves, release.
        const std::string held = buttons();
        const int moves = 1 + below(5);
        for (int i = 0; i < moves; ++i)
            pending_.push_back("move " + pixel() + " " + held);
        if (below(2))
            pending_.push_back("tick " + std::to_string(1 + below(4)));
        pending_.push_back("release " + pixel() + " none");
        return "press " + pixel() + " " + held;
    }
    if (roll < 83)
        return "dblclick " + pixel() + " " + buttons();
    if (roll < 91)
        return "command " + std::to_string(kCommands[below(static_cast<int>(std::size(kCommands)))]);
    if (roll < 94)
        return below(2) ? "new" : "retry";
    if (roll < 97 && below(kMadeTaskShare) == 0) {
        if (below(2) == 0)
            return "daily " + dateText(dateOfDay(below(dayNumber({kLastYear, 12, 31}) + 1)));
        return "generate " + std::string(difficultyName(kDifficulties[static_cast<std::size_t>(below(4))])) + ' ' +
            std::to_string(below(1'000'000));
    }
    if (roll < 97 && !taskFiles_.empty())
        return "load " + taskFiles_[static_cast<std::size_t>(below(static_cast<int>(taskFiles_.size())))];
    if (roll < 99 && !saveFolder_.empty())
        return "save " + saveFolder_ + "/soak-" + std::to_string(below(3)) + ".tsk";
    return "state";
}

void InvariantChecker::before(const Runner& runner)
{
    wasCompleted_ = runner.game().state().taskCompleted;
}

std::string InvariantChecker::after(const Runner& runner, const Action& action)
{
    const Game& game = runner.game();
    const GameState& state = game.state();
    for (int a = 0; a < state.inPlay(); ++a) {
        for (int c = 0; c < kCubesPerPiece; ++c) {
            if (state.piece(a).cube(c).z < 0)
                return "piece " + std::to_string(a) + " has a cube below the floor";
        }
        for (int b = a + 1; b < state.inPlay(); ++b) {
            if (overlaps(state.piece(a), state.piece(b)))
                return "pieces " + std::to_string(a) + " and " + std::to_string(b) + " overlap";
        }
        if (action.kind == Action::Kind::Tick && a != state.selected && !state.piece(a).falling &&
            !isSupported(state, a))
            return "piece " + std::to_string(a) + " rests on nothing";
    }
    const bool selected = state.selected >= 0;
    if (selected != (state.selectionMode != SelectionMode::None))
        return "the selection and its mode disagree";
    const bool rollersParked = parked(game.view().rollers[0]->position()) && parked(game.view().rollers[5]->position());
    const Vec3 marker = game.view().directionMarker->position();
    switch (state.selectionMode) {
    case SelectionMode::None:
        if (!rollersParked || !parked(marker))
            return "a marker stands out with nothing selected";
        break;
    case SelectionMode::Move:
        if (!rollersParked || marker != toVec3(state.piece(state.selected).position))
            return "in move mode the marker is not at the piece, or rollers stand out";
        break;
    case SelectionMode::Turn:
        if (rollersParked || !parked(marker))
            return "in turn mode the rollers are parked, or the marker stands out";
        break;
    }
    const std::uint64_t count = runner.completionCount();
    if (action.kind == Action::Kind::Setup)
        completions_ = 0;
    else if (count > completions_ + 1 || (count > completions_ && wasCompleted_))
        return "the task was reported complete twice for one arming";
    completions_ = count;
    return {};
}

namespace {

struct Violation {
    std::size_t line = 0;  // index into the lines
    std::string what;
};

std::optional<Violation> findViolation(const std::string& modelDirectory, const std::vector<std::string>& lines)
{
    Runner runner(modelDirectory, kDefaultWidth, kDefaultHeight);
    InvariantChecker checker;
    std::string output;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Script script = parseScript(lines[i]);
        if (script.actions.empty())
            continue;
        checker.before(runner);
        if (runner.run(script.actions[0], output).status != Runner::Status::Ok)
            continue;
        output.clear();
        if (std::string broken = checker.after(runner, script.actions[0]); !broken.empty())
            return Violation{i, std::move(broken)};
    }
    return std::nullopt;
}

// The ticks a "tick N" line asks for, or 0 for any other line.
std::uint32_t ticksOf(const std::string& line)
{
    const Script script = parseScript(line);
    if (script.actions.size() != 1 || script.actions[0].kind != Action::Kind::Tick)
        return 0;
    return script.actions[0].number;
}

}  // namespace

std::string firstViolation(const std::string& modelDirectory, const std::vector<std::string>& lines)
{
    const std::optional<Violation> found = findViolation(modelDirectory, lines);
    return found ? "line " + std::to_string(found->line + 1) + ": " + found->what : std::string();
}

std::vector<std::string> shrink(const std::string& modelDirectory, std::vector<std::string> lines, double seconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    const auto inTime = [&] { return std::chrono::steady_clock::now() < deadline; };
    // Keeps trial when it still breaks a rule, cut after the line that breaks it.
    const auto keepIfBroken = [&](std::vector<std::string>& trial) {
        const std::optional<Violation> found = findViolation(modelDirectory, trial);
        if (!found)
            return false;
        trial.resize(found->line + 1);
        lines = std::move(trial);
        return true;
    };
    std::vector<std::string> whole = lines;
    if (!keepIfBroken(whole))
        return lines;
    for (bool shorter = true; shorter && inTime();) {
        shorter = false;
        // Runs of lines taken away, halving the run's length; the first line
        // (the setup) stays.
        for (std::size_t chunk = lines.size() / 2; chunk > 0 && inTime(); chunk /= 2) {
            for (std::size_t start = 1; start < lines.size() && inTime();) {
                std::vector<std::string> trial(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(start));
                trial.insert(trial.end(),
                             lines.begin() + static_cast<std::ptrdiff_t>(std::min(start + chunk, lines.size())),
                             lines.end());
                if (keepIfBroken(trial))
                    shorter = true;
                else
                    start += chunk;
            }
        }
        // Fewer ticks on each tick line that is left.
        for (std::size_t i = 1; i < lines.size() && inTime(); ++i) {
            for (std::uint32_t ticks = ticksOf(lines[i]); ticks > 1 && inTime(); ticks = ticksOf(lines[i])) {
                std::vector<std::string> trial = lines;
                trial[i] = "tick " + std::to_string(ticks / 2);
                if (!keepIfBroken(trial))
                    break;
                shorter = true;
                if (i >= lines.size())
                    break;
            }
        }
    }
    return lines;
}

}  // namespace vokta::play
