// vokta-play in the page: window.vokta.play runs a script on a game of its
// own, without a window, and gets back what vokta-play would print. The
// page's script writes the script's files into a folder of their own and
// makes it the current one first, so load and save find them by name.

#include <emscripten/emscripten.h>

#include <cstdio>
#include <string>

#include "tools/play/runner.h"
#include "tools/play/script.h"

namespace {

using namespace vokta::play;

// How the run ended, numbered as vokta-play's exit codes.
enum class PlayExit { Ok = 0, ExpectationFailed = 1, BadScript = 2 };

std::string playOutput;
PlayExit playExit = PlayExit::Ok;

PlayExit runScript(const std::string& text, std::string& output)
{
    const Script script = parseScript(text);
    if (!script.error.empty()) {
        std::fprintf(stderr, "vokta-play: script:%d: %s\n", script.errorLine, script.error.c_str());
        return PlayExit::BadScript;
    }
    Runner runner("/data", kDefaultWidth, kDefaultHeight);
    for (const Action& action : script.actions) {
        const Runner::Outcome outcome = runner.run(action, output);
        if (outcome.status != Runner::Status::Ok) {
            std::fprintf(stderr, "vokta-play: script:%d: %s\n", action.line, outcome.problem.c_str());
            return outcome.status == Runner::Status::ExpectationFailed ? PlayExit::ExpectationFailed
                                                                       : PlayExit::BadScript;
        }
    }
    return PlayExit::Ok;
}

}  // namespace

extern "C" {

// What the script printed; valid until the next run.
EMSCRIPTEN_KEEPALIVE const char* vokta_play(const char* script)
{
    playOutput.clear();
    playExit = runScript(script, playOutput);
    return playOutput.c_str();
}

// vokta-play's exit code for the last run.
EMSCRIPTEN_KEEPALIVE int vokta_play_exit_code()
{
    return static_cast<int>(playExit);
}

}  // extern "C"
