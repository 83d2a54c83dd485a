#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "play/headless.h"
#include "play/json.h"
#include "play/script.h"
#include "puzzle/controller/window_message.h"

namespace vokta::play {

inline constexpr int kDefaultWidth = 1280;
inline constexpr int kDefaultHeight = 800;
// The scatter before a script's first setup.
inline constexpr unsigned kDefaultSeed = 1;

// Runs script actions on a headless game through the same routing, commands,
// tick and picking as the window.
class Runner {
public:
    enum class Status { Ok, ExpectationFailed, Failed };
    struct Outcome {
        Status status = Status::Ok;
        std::string problem;
    };

    Runner(std::string modelDirectory, int width, int height);

    // Runs one action; a state action appends its line to output.
    Outcome run(const Action& action, std::string& output);

    // The whole state as one JSON object; the tunes, messages and dialogs are
    // those since the previous state line (earlier ones are not kept).
    Json state() const;

    Game& game() { return headless_->shell.game(); }
    const Game& game() const { return headless_->shell.game(); }
    Shell& shell() { return headless_->shell; }
    std::uint64_t ticks() const { return ticks_; }
    // How often the task has been reported complete since the setup.
    std::size_t completionCount() const { return completions_.size(); }

private:
    void setUp(unsigned seed);
    void idle();
    void deliver(const WindowMessage& message);
    void tick();
    Outcome click(const Action& action, int button, bool twice);

    std::string modelDirectory_;
    int width_;
    int height_;
    std::unique_ptr<HeadlessGame> headless_;
    std::uint64_t ticks_ = 0;
    std::vector<std::uint64_t> completions_;
};

// How a script's run ended, numbered as vokta-play's exit codes.
enum class ScriptExit { Ok = 0, ExpectationFailed = 1, BadScript = 2 };

// Runs a parsed script's actions on runner in order, handing each action's
// output to print as soon as it is made. The first action that fails stops
// the run, with "vokta-play: SCRIPTNAME:LINE: problem" on standard error.
ScriptExit runActions(Runner& runner, const Script& script, const std::string& scriptName,
                      const std::function<void(const std::string&)>& print);

// The window messages an input action of a script stands for, in order (a
// character key goes down, types its character and, for key, comes up);
// nothing for actions that are no input.
std::vector<WindowMessage> inputMessages(const Action& action);

// A client pixel.
struct Pixel {
    int x;
    int y;
};

// Where click piece, dblclick piece and click roller press: the pixel where
// the piece's centre shows, or where the end of the roller nearer the viewer
// shows (two rollers, crossed, share each centre). Nothing when that is
// outside the view.
std::optional<Pixel> objectPixel(const Game& game, const Action& action);

}  // namespace vokta::play
