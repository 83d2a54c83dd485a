#include "puzzle/controller/routing.h"

#include "puzzle/controller/commands.h"
#include "puzzle/controller/game_data.h"
#include "puzzle/controller/game_tick.h"
#include "puzzle/controller/piece_commands.h"
#include "puzzle/controller/scene_setup.h"
#include "puzzle/controller/selection.h"
#include "puzzle/controller/undo.h"
#include "puzzle/scene/markers.h"

namespace vokta {

namespace {

// Load... once the player has chosen in the front end's picker. Cancelling
// arms the completion test again all the same; a refused file leaves the
// task and its state exactly as they were.
void OnLoadTask(GameData& game, const std::optional<ChosenFile>& file)
{
    if (file)
        loadTask(game, *file);
    else
        game.state.taskCompleted = false;
}

void OnSolidCommand(GameData& game)
{
    TaskFigure& figure = *game.view.taskFigure;
    figure.setSolid(!figure.solid());
    game.shell.refreshMenuState();
}

// The Hint command: shows the piece to place as a ghost in its colour at
// its place, or selects the piece to take out, and tells the window what it
// found. The ghost stays until the player's next action.
void OnHint(GameData& game)
{
    game.hint.reset();
    const Hint hint = findHint(game.state);
    if (hint.kind == Hint::Kind::TakeOut && hint.piece >= 0)
        selectPiece(game, hint.piece);
    game.hint = hint;
    game.present();
    game.shell.showHint(hint);
}

// Undo and redo take the game back and forth through the steps; they are no steps themselves.
bool isUndoOrRedo(const WindowMessage& message)
{
    return message.kind == WindowMessage::Kind::Command &&
        (message.command == Command::Undo || message.command == Command::Redo);
}

}  // namespace

void MainWndProc(GameData& game, const WindowMessage& message)
{
    using Kind = WindowMessage::Kind;
    if (message.kind == Kind::Timer) {
        OnTimerTick(game);
        return;
    }
    std::optional<GameSnapshot> before;
    if (!isUndoOrRedo(message))
        before = takeSnapshot(game);
    // A hint shows until the player's next action: a key, a click or a
    // command. (The display options, which only show it in its new look, are
    // the shell's and never come here.)
    if (message.kind == Kind::KeyDown || message.kind == Kind::ButtonDown || message.kind == Kind::DoubleClick ||
        message.kind == Kind::Command)
        game.hint.reset();
    switch (message.kind) {
    case Kind::KeyDown: OnKeyDown(game, message.key, message.shift); break;
    case Kind::KeyUp: OnKeyUp(game, message.key); break;
    case Kind::Char: OnChar(game, message.character); break;
    case Kind::ButtonDown: OnButtonDown(game, message.x, message.y, message.keys); break;
    case Kind::ButtonUp: OnButtonUp(game, message.x, message.y, message.keys); break;
    case Kind::MouseMove: OnMouseMove(game, message.x, message.y, message.keys); break;
    case Kind::DoubleClick:
        if (message.button == kMouseLeft)
            OnDoubleClick(game, message.x, message.y, message.keys);
        break;
    case Kind::Command: OnCommand(game, message.command, message.file); break;
    case Kind::Timer: break;
    }
    game.present();
    if (before)
        noteInput(game, *before);
}

void OnKeyDown(GameData& game, Key key, bool shift)
{
    if (key == Key::H) {
        OnCommand(game, Command::Hint);
        return;
    }
    if (key == Key::Home) {
        OnCommand(game, Command::ResetView);
        return;
    }
    if (game.state.selected >= 0)
        onPieceKey(game, key, shift);
    else
        cameraKeyDown(game, key);
}

void OnKeyUp(GameData& game, Key key)
{
    // A camera key released while a piece is selected still stops the camera;
    // otherwise a key pressed before the selection would leave it spinning.
    cameraKeyUp(game, key);
    if (game.state.selected >= 0 && (key == Key::Enter || key == Key::Escape))
        releaseSelection(game);
}

void OnChar(GameData& game, char character)
{
    if (character >= '1' && character <= '7')
        selectPiece(game, kDigitKeyPieces[static_cast<std::size_t>(character - '1')]);
}

void OnButtonDown(GameData& game, int x, int y, int keys)
{
    game.pointer.pressX = x;
    game.pointer.pressY = y;
    OnButtonUp(game, x, y, keys);
    pressOnScene(game, x, y, keys);
}

void OnButtonUp(GameData& game, int x, int y, int keys)
{
    game.pointer.mouseX = x;
    game.pointer.mouseY = y;
    game.pointer.mouseKeys = keys;
}

void OnMouseMove(GameData& game, int x, int y, int keys)
{
    OnButtonUp(game, x, y, keys);
    if (game.state.selected < 0)
        cameraDrag(game, x, y, keys);
    else if (keys == kMouseLeft)
        chooseDragDirection(game, x, y);
}

void OnDoubleClick(GameData& game, int x, int y, int keys)
{
    doubleClickOnScene(game, x, y, keys);
}

void OnCommand(GameData& game, Command command, const std::optional<ChosenFile>& file)
{
    if (isPieceCommand(command)) {
        executePieceCommand(game, command);
        return;
    }
    switch (command) {
    case Command::New:
        newTask(game);
        // The player builds freely: nothing is tested until a task is loaded.
        game.state.taskCompleted = true;
        startTaskRun(game, 0);
        break;
    case Command::Retry:
        scatterPieces(game);
        startTaskRun(game, game.run.key);
        break;
    case Command::Load: OnLoadTask(game, file); break;
    case Command::Library:
        if (file)
            loadTask(game, *file);
        break;
    case Command::Save:
        if (file)
            saveTask(game, file->path);
        break;
    case Command::Solid: OnSolidCommand(game); break;
    case Command::Hint: OnHint(game); break;
    case Command::Undo: undoStep(game); break;
    case Command::Redo: redoStep(game); break;
    case Command::ResetView: resetView(game); break;
    // About, the help, the language and the display options are the shell's.
    default: break;
    }
}

bool loadTask(GameData& game, const ChosenFile& file)
{
    const TaskFileRead read = file.bytes ? decodeTask(*file.bytes, file.path) : readTaskFile(file.path);
    if (!read.task) {
        game.shell.showTaskFileError(read.error);
        return false;
    }
    // The task's pieces are the ones scattered: pieces it brings back into
    // play must not start inside the others.
    game.state.pieceCount = read.task->pieceCount;
    newTask(game);
    applyTask(game.state, *read.task);
    game.state.taskCompleted = false;
    game.present();
    startTaskRun(game, taskKey(*read.task));
    return true;
}

void saveTask(GameData& game, const std::string& path)
{
    if (const std::optional<TaskFileError> error = writeTaskFile(game.state, path))
        game.shell.showTaskFileError(*error);
}

}  // namespace vokta
