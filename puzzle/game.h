#pragma once

#include <array>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "puzzle/commands.h"
#include "puzzle/hint.h"
#include "puzzle/history.h"
#include "puzzle/markers.h"
#include "puzzle/palette.h"
#include "puzzle/piece.h"
#include "puzzle/random.h"
#include "puzzle/selection.h"
#include "puzzle/sound_output.h"
#include "puzzle/task_figure.h"
#include "puzzle/task_file.h"
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
    // "Task completed", in the language of the interface.
    virtual void showSuccessMessage() = 0;
    // Brings the menus in line with the selection and the figure's view.
    virtual void refreshMenuState() = 0;
    // Tells the player why a task file was refused or not saved (see
    // describeTaskFileError for the English words).
    virtual void showTaskFileError(const TaskFileError& error) = 0;
    // The open and save dialogs for task files: the path chosen, or nothing
    // when the player cancelled.
    virtual std::optional<std::string> chooseTaskFileToLoad() = 0;
    virtual std::optional<std::string> chooseTaskFileToSave() = 0;
    // What the Hint command found (the ghost of a piece to place needs no words).
    virtual void showHint(const Hint& hint) = 0;
    // A menu command that belongs to the window rather than to the game:
    // About, the help pages, the language switch and the task library.
    virtual void runShellCommand(Command command) = 0;
};

// Where a drag step to a neighbouring cell shows on the screen (see
// projectDragPoints): for the piece itself (index 0) its projected centre;
// for a step, its projected offset from that centre and the angle of that
// offset, atan2(dx, dy).
struct DragPoint {
    float x = 0.0f;
    float y = 0.0f;
    float angle = 0.0f;
};
inline constexpr int kDragDirectionCount = 7;

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
    // The see-through piece the Hint command shows at its place, parked when unused.
    std::unique_ptr<Piece> hintGhost;
    // The hint shown, until the next action.
    std::optional<Hint> hint;
    std::array<std::unique_ptr<Roller>, kRollerCount> rollers;

    // How the scene is shown: its colours, and whether each piece shows the
    // digit that selects it. Neither touches the rules; see applyDisplayOptions.
    const Palette* palette = &kOriginalPalette;
    bool pieceNumbers = false;

    Piece* selectedPiece = nullptr;
    SelectionMode selectionMode = SelectionMode::None;  // None exactly while nothing is selected
    Colour savedColour = 0;

    // The drag direction last chosen (an index into kDragDirections, 0 for
    // none) and where its steps show on the screen.
    int dragDirection = 0;
    std::array<DragPoint, kDragDirectionCount> dragPoints{};

    // The task has been reported complete, or a free shape is being built: no completion test runs.
    bool taskCompleted = false;
    // Draws the scatter.
    GameRandom random;
    // Ticks since the game started.
    std::int64_t tickCount = 0;
    // The attempt at the current task, the steps that can be undone and
    // redone, and the drag under way, if any.
    TaskRun run;
    History history;
    std::optional<Gesture> gesture;
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
