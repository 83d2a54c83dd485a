// What the game in words costs: the shell compares the game before and
// after every tick and input to say what changed. Each tick is measured
// through the shell (with the words) and handed to the game directly
// (without them), in the same run. Target: no difference beyond noise.

#include <benchmark/benchmark.h>

#include "play/headless.h"
#include "play/runner.h"

namespace {

using namespace vokta;
using namespace vokta::play;

// A game whose pieces rest apart on the floor, or fall from up to five cells.
struct SpokenBench {
    explicit SpokenBench(bool falling) : falling(falling) { place(); }

    void place()
    {
        for (int i = 0; i < kPieceTotal; ++i)
            headless.game().place(i, {-90 + 30 * i, 90, falling ? 10 + 10 * (i % 5) : 0}, std::nullopt, falling);
    }

    // Ticks as the window's timer hands them on, through the shell or to the game alone.
    void tick(benchmark::State& state, bool throughTheShell)
    {
        int ticks = 0;
        for (auto _ : state) {
            if (throughTheShell)
                headless.shell.tick();
            else
                headless.game().handle({.kind = WindowMessage::Kind::Timer});
            // Every piece has landed by then: they fall again.
            if (falling && ++ticks == 30) {
                state.PauseTiming();
                place();
                headless.view.spoken.clear();
                ticks = 0;
                state.ResumeTiming();
            }
        }
    }

    bool falling;
    HeadlessGame headless{VOKTA_RESOURCE_DIR, 1, kDefaultWidth, kDefaultHeight};
};

void BM_TickAtRestWithWords(benchmark::State& state)
{
    SpokenBench(false).tick(state, true);
}
BENCHMARK(BM_TickAtRestWithWords);

void BM_TickAtRestWithoutWords(benchmark::State& state)
{
    SpokenBench(false).tick(state, false);
}
BENCHMARK(BM_TickAtRestWithoutWords);

void BM_TickWithFallingPiecesWithWords(benchmark::State& state)
{
    SpokenBench(true).tick(state, true);
}
BENCHMARK(BM_TickWithFallingPiecesWithWords);

void BM_TickWithFallingPiecesWithoutWords(benchmark::State& state)
{
    SpokenBench(true).tick(state, false);
}
BENCHMARK(BM_TickWithFallingPiecesWithoutWords);

// Describe on the cube with its pieces scattered around it, as D says it.
void BM_DescribeTheScatteredCube(benchmark::State& state)
{
    SpokenBench bench(false);
    for (auto _ : state) {
        bench.headless.shell.choose(Command::Describe);
        bench.headless.view.spoken.clear();
    }
}
BENCHMARK(BM_DescribeTheScatteredCube)->Unit(benchmark::kMicrosecond);

}  // namespace
