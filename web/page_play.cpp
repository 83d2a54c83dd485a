// vokta-play in the page: window.vokta.play runs a script on a game of its
// own, without a window, and gets back what vokta-play would print. The
// page's script writes the script's files into a folder of their own and
// makes it the current one first, so load and save find them by name.

#include <emscripten/emscripten.h>

#include <cstdio>
#include <string>

#include "play/runner.h"
#include "play/script.h"

namespace {

using namespace vokta::play;

std::string playOutput;
ScriptExit playExit = ScriptExit::Ok;

ScriptExit runScript(const std::string& text, std::string& output)
{
    const Script script = parseScript(text);
    if (!script.error.empty()) {
        std::fprintf(stderr, "vokta-play: script:%d: %s\n", script.errorLine, script.error.c_str());
        return ScriptExit::BadScript;
    }
    Runner runner("/data", kDefaultWidth, kDefaultHeight);
    return runActions(runner, script, "script", [&output](const std::string& printed) { output += printed; });
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
