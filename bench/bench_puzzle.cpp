// The rules on the hot path: the game tick runs 15 times a second and every
// move runs the placement test; picking runs on every click. Targets on a
// 2-core machine: a tick under 2 us, picking under 20 us.

#include <benchmark/benchmark.h>

#include "puzzle/game.h"
#include "puzzle/game_tick.h"
#include "puzzle/scene_setup.h"
#include "render/viewport.h"

namespace {

using namespace vokta;

class SilentSound : public SoundOutput {
public:
    void play(Cue) override {}
};

class QuietShell : public GameShell {
public:
    void repaintNow() override {}
    void pauseForFanfare() override {}
    void showSuccessMessage() override {}
    void refreshMenuState() override {}
    void showTaskFileError(const TaskFileError&) override {}
    std::optional<std::string> chooseTaskFileToLoad() override { return std::nullopt; }
    std::optional<std::string> chooseTaskFileToSave() override { return std::nullopt; }
    void runShellCommand(int) override {}
};

struct BenchGame {
    BenchGame() { setUpScene(game, 1); }

    // Every piece high in the air and falling, clear of the others.
    void dropAll()
    {
        for (int i = 0; i < kPieceTotal; ++i) {
            game.pieces[static_cast<std::size_t>(i)]->setPosition(-90.0f + 30.0f * static_cast<float>(i), 0.0f, 1000.0f);
            game.pieces[static_cast<std::size_t>(i)]->falling = true;
        }
    }

    SilentSound sound;
    QuietShell shell;
    Game game{VOKTA_RESOURCE_DIR, sound, shell};
};

void BM_TickWithSevenFallingPieces(benchmark::State& state)
{
    BenchGame bench;
    bench.dropAll();
    int ticks = 0;
    for (auto _ : state) {
        OnTimerTick(bench.game);
        if (++ticks == 400) {
            state.PauseTiming();
            bench.dropAll();
            ticks = 0;
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_TickWithSevenFallingPieces);

void BM_IsPlaceable(benchmark::State& state)
{
    BenchGame bench;
    bench.dropAll();
    const Piece& piece = *bench.game.pieces[3];
    for (auto _ : state)
        benchmark::DoNotOptimize(piece.isPlaceable());
}
BENCHMARK(BM_IsPlaceable);

void BM_IsCompleted(benchmark::State& state)
{
    BenchGame bench;
    for (auto _ : state)
        benchmark::DoNotOptimize(bench.game.taskFigure->isCompleted());
}
BENCHMARK(BM_IsCompleted);

void BM_UpdateShadows(benchmark::State& state)
{
    BenchGame bench;
    for (auto _ : state)
        updateShadows(bench.game);
}
BENCHMARK(BM_UpdateShadows);

// A click on a piece in the middle of the home view at 1280 x 800.
void BM_PickAtAPixel(benchmark::State& state)
{
    BenchGame bench;
    Game& game = bench.game;
    game.pieces[2]->setPosition(0, 0, 30);
    const Viewport viewport(*game.scene.cameraFrame(), 1280, 800);
    const Viewport::ScreenPoint centre = viewport.transform({0, 0, 30});
    const float x = centre.x / centre.w;
    const float y = centre.y / centre.w;
    for (auto _ : state)
        benchmark::DoNotOptimize(pickObject(viewport, *game.scene.sceneFrame(), x, y, kPieceNamePrefix));
}
BENCHMARK(BM_PickAtAPixel);

}  // namespace
