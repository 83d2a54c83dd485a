#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "puzzle/controller/game_shell.h"
#include "puzzle/controller/history.h"
#include "puzzle/controller/kept_game.h"
#include "puzzle/controller/window_message.h"
#include "puzzle/rules/game_state.h"
#include "puzzle/rules/hint.h"
#include "puzzle/rules/sound_output.h"
#include "puzzle/scene/game_scene.h"

namespace vokta {

class GameData;

// Game tick period: about 15 ticks a second. All motion is counted in ticks.
inline constexpr int kTickMs = 66;

// One running game, as a front end sees it: it hands the game its messages,
// the tick and the idle render, and reads what it needs to show. Every
// front end drives it the same way: handle() for each message, tick() every
// kTickMs and renderWhenIdle() when its queue is empty; the game answers
// through the GameShell and SoundOutput it was given.
class Game {
public:
    // Model files are read from modelDirectory. The scene is empty until setUp().
    Game(std::string modelDirectory, SoundOutput& sound, GameShell& shell);
    ~Game();

    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Builds the scene and scatters the pieces with the generator seeded by
    // seed, for the built-in task, in the view options set.
    void setUp(unsigned seed);
    // One message of the window (see MainWndProc).
    void handle(const WindowMessage& message);
    // One game tick (see OnTimerTick).
    void tick();
    // Draws a frame if the scene changed since the last one (see RenderWhenIdle).
    bool renderWhenIdle(const std::function<void(float elapsedTicks)>& drawFrame);

    const GameState& state() const;
    // The scene that shows the game: a front end draws it and sizes its view.
    Scene& scene();
    const GameScene& view() const;
    void setViewOptions(ViewOptions options);
    const std::optional<Hint>& hint() const;

    bool canUndo() const;
    bool canRedo() const;
    std::size_t stepsToUndo() const;
    // Whether the figure shows as solid cubes.
    bool figureSolid() const;
    // The attempt at the current task, and how long it has run so far.
    const TaskRun& run() const;
    std::int64_t runMs() const;
    std::int64_t tickCount() const;

    // Brings the camera closer along its line of sight (farther for a
    // negative distance), as a right drag does a unit a pixel: a pinch on a
    // touch screen. It keeps out of the floor and within the scene's reach.
    void zoom(float units);

    // The game in progress as it is kept between sessions, and continuing
    // one exactly: the same arrangement, steps to undo and redo, attempt and
    // view; the scene follows.
    KeptGame kept() const;
    void resume(const KeptGame& game);

    // What vokta-play's set-up actions do, beyond the player's reach: a piece
    // put anywhere (any four cubes, unturned, when offsets are given); the
    // camera posed; the pieces in play; the built-in task or none at all; the
    // scatter's generator seeded anew.
    void place(int piece, Cell position, const std::optional<CubeOffsets>& offsets, bool falling);
    void poseCamera(Vec3 position, Vec3 direction, Vec3 up);
    void setPieceCount(int count);
    void setBuiltInTask(bool builtin);
    void reseed(unsigned seed);

private:
    std::unique_ptr<GameData> data_;
};

}  // namespace vokta
