#pragma once

#include <array>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "music/sound_output.h"
#include "puzzle/markers.h"
#include "puzzle/piece.h"
#include "puzzle/task_figure.h"
#include "render/camera.h"
#include "render/floor_grid.h"
#include "render/scene.h"

namespace vokta {

// The model file, looked up in the scene's model directory.
inline constexpr std::string_view kModelFileName = "vokta.x";

// Mouse key-state flags, as the window reports them with every mouse event.
inline constexpr int kMouseLeft = 1;
inline constexpr int kMouseRight = 2;
inline constexpr int kMouseShift = 4;
inline constexpr int kMouseControl = 8;
inline constexpr int kMouseMiddle = 16;

// What the rules ask of the window around them.
class GameShell {
public:
    virtual ~GameShell() = default;
    // Draws the scene as it stands now, before anything else happens.
    virtual void repaintNow() = 0;
    // Waits while the fanfare plays (2000 ms in the game).
    virtual void pauseForFanfare() = 0;
    virtual void showSuccessMessage() = 0;
    // Brings the menus in line with the selection and the figure's view.
    virtual void refreshMenuState() = 0;
};

// The whole state of a running game: the scene and its objects, the task,
// the selection, the mouse and the tick counters. The window owns one; tests
// make their own.
class Game {
public:
    // Model files are read from modelDirectory. The scene is empty until setUpScene().
    Game(std::string modelDirectory, SoundOutput& sound, GameShell& shell);
    ~Game();

    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // The first pieceCount pieces, the ones that take part.
    std::span<Piece* const> piecesInPlay() const;

    Scene scene;
    Camera camera;
    SoundOutput& sound;
    GameShell& shell;

    std::unique_ptr<FloorGrid> floorGrid;
    std::unique_ptr<TaskFigure> taskFigure;
    std::array<std::unique_ptr<Piece>, kPieceTotal> pieces;
    int pieceCount = 0;
    int cellCount = 0;
    std::unique_ptr<SceneObject> directionMarker;
    std::array<std::unique_ptr<Roller>, kRollerCount> rollers;

    Piece* selectedPiece = nullptr;
    int selectionMode = 0;  // 0 nothing selected, 1 move mode, 2 turn mode
    Colour savedColour = 0;

    // The task has been reported complete, or a free shape is being built: no completion test runs.
    bool taskCompleted = false;
    // Ticks since the last frame was drawn.
    float elapsedTicks = 0.0f;
    // A drag step asked for the step sound; it plays after the next frame.
    bool stepTunePending = false;

    // The last mouse event: client position and key-state flags.
    int mouseX = 0;
    int mouseY = 0;
    int mouseKeys = 0;
    // Anchor of the current drag: set at every press, moved along by camera drags.
    int pressX = 0;
    int pressY = 0;

private:
    mutable std::array<Piece*, kPieceTotal> inPlay_{};
};

}  // namespace vokta
