// vokta-play's pace: the actions of the plans that solve the built-in task
// run on a headless game, setup included. Target: at least 100,000 actions
// a second, fast enough to soak the rules with millions of actions.

#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>

#include <filesystem>

#include "play/headless.h"
#include "play/runner.h"
#include "play/script.h"
#include "puzzle/controller/kept_game.h"
#include "puzzle/controller/scene_setup.h"
#include "puzzle/scene/model_check.h"
#include "tests/model/largest_model_file.h"

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

// The largest model file the limits accept: checked as the game checks it
// at start, then the scene set up from it. Target: under a second.
void BM_StartWithTheLargestModelFile(benchmark::State& state)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "vokta-largest-model";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "vokta.x") << vokta::testing::largestModelFile();
    for (auto _ : state) {
        if (!vokta::verifyModelFile((folder / "vokta.x").string()).empty()) {
            state.SkipWithError("the largest model file was refused");
            break;
        }
        HeadlessGame game(folder.string(), 1, kDefaultWidth, kDefaultHeight);
        benchmark::DoNotOptimize(game.game().state().piece(6).position);
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_StartWithTheLargestModelFile)->Unit(benchmark::kMillisecond);

// Keeping a game after a step, and continuing it at the start, with a full
// history: 1,000 steps, each a Retry, which moves all seven pieces. The
// game is kept after every step, so keeping must stay well below a frame.
HeadlessGame& fullHistory()
{
    static HeadlessGame full(VOKTA_RESOURCE_DIR, 1, kDefaultWidth, kDefaultHeight);
    while (full.game().stepsToUndo() < vokta::History::kLimit)
        full.shell.choose(vokta::Command::Retry);
    return full;
}

void BM_KeepAThousandSteps(benchmark::State& state)
{
    const vokta::Game& game = fullHistory().game();
    for (auto _ : state)
        benchmark::DoNotOptimize(vokta::encodeKeptGame(game.kept()).size());
}
BENCHMARK(BM_KeepAThousandSteps)->Unit(benchmark::kMillisecond);

void BM_ContinueAThousandSteps(benchmark::State& state)
{
    const std::vector<unsigned char> kept = vokta::encodeKeptGame(fullHistory().game().kept());
    HeadlessGame game(VOKTA_RESOURCE_DIR, 2, kDefaultWidth, kDefaultHeight);
    for (auto _ : state) {
        const vokta::KeptGameRead read = vokta::decodeKeptGame(kept);
        game.game().resume(*read.game);
        benchmark::DoNotOptimize(game.game().state().piece(6).position);
    }
}
BENCHMARK(BM_ContinueAThousandSteps)->Unit(benchmark::kMillisecond);

}  // namespace
