// vokta-play's pace: the actions of the plans that solve the built-in task
// run on a headless game, setup included. Target: at least 100,000 actions
// a second, fast enough to soak the rules with millions of actions.

#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>

#include "tools/play/runner.h"
#include "tools/play/script.h"

namespace {

using namespace vokta::play;

void runScript(benchmark::State& state, const char* name)
{
    std::ifstream file(std::string(VOKTA_PLAY_SCRIPTS "/") + name);
    const Script script =
        parseScript(std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()));
    if (!script.error.empty() || script.actions.empty()) {
        state.SkipWithError("the script cannot be read");
        return;
    }
    Runner runner(VOKTA_RESOURCE_DIR, kDefaultWidth, kDefaultHeight);
    std::string output;
    for (auto _ : state) {
        for (const Action& action : script.actions) {
            if (runner.run(action, output).status != Runner::Status::Ok) {
                state.SkipWithError("the script failed");
                return;
            }
        }
        output.clear();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(script.actions.size()));
}

void BM_PlaySolveWithKeys(benchmark::State& state)
{
    runScript(state, "solve-keyboard.play");
}
BENCHMARK(BM_PlaySolveWithKeys)->Unit(benchmark::kMicrosecond);

void BM_PlaySolveWithTheMouse(benchmark::State& state)
{
    runScript(state, "solve-mouse.play");
}
BENCHMARK(BM_PlaySolveWithTheMouse)->Unit(benchmark::kMicrosecond);

}  // namespace
