// The rules on the hot path: the game tick runs 15 times a second and every
// move runs the placement test; picking runs on every click. Targets on a
// 2-core machine: a tick under 2 us, picking under 20 us, a piece command
// under 5 us, a drag update of three cells under 20 us.

#include <benchmark/benchmark.h>

#include "puzzle/commands.h"
#include "puzzle/game.h"
#include "puzzle/game_tick.h"
#include "puzzle/input.h"
#include "puzzle/piece_commands.h"
#include "puzzle/scene_setup.h"
#include "puzzle/selection.h"
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
            game.pieces[static_cast<std::size_t>(i)]->setPosition(-90.0f + 30.0f * static_cast<float>(i), 0.0f,
                                                                  1000.0f);
            game.pieces[static_cast<std::size_t>(i)]->falling = true;
        }
    }

    // Every piece at rest on the floor, apart; piece 1 at the origin, selected.
    void selectOneAtTheOrigin()
    {
        for (int i = 0; i < kPieceTotal; ++i) {
            game.pieces[static_cast<std::size_t>(i)]->setPosition(-90.0f + 30.0f * static_cast<float>(i), 90.0f, 0.0f);
            game.pieces[static_cast<std::size_t>(i)]->falling = false;
        }
        game.pieces[1]->setPosition(0, 0, 0);
        selectPieceByIndex(game, 1);
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

// A piece command as a key gives it: the step from the view, the move, the
// placement test, the floor shadows and the markers. Left and right by turns.
void BM_PieceCommand(benchmark::State& state)
{
    BenchGame bench;
    bench.selectOneAtTheOrigin();
    bool left = true;
    for (auto _ : state) {
        executePieceCommand(bench.game, static_cast<int>(left ? Command::MoveLeft : Command::MoveRight));
        left = !left;
    }
}
BENCHMARK(BM_PieceCommand);

// A drag update carrying the selected piece three cells, each tested, with
// the drag points projected again after each: out along +x, then back along -x.
void BM_DragUpdateThreeCells(benchmark::State& state)
{
    BenchGame bench;
    Game& game = bench.game;
    game.scene.setViewSize(1280, 800);
    bench.selectOneAtTheOrigin();
    projectDragPoints(game);
    bool out = true;
    for (auto _ : state) {
        // From the origin (at 640, 400) to 3 cells along +x (749, 463), and back.
        game.dragDirection = out ? 1 : 2;
        dragUpdate(game, out ? 760 : 630, out ? 470 : 394);
        out = !out;
    }
    if (game.selectedPiece->position() != Vec3{} && game.selectedPiece->position() != Vec3{30, 0, 0})
        state.SkipWithError("the drag did not go three cells each way");
}
BENCHMARK(BM_DragUpdateThreeCells);

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
