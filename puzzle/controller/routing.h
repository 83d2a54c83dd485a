#pragma once

#include <optional>
#include <string>

#include "puzzle/controller/commands.h"
#include "puzzle/controller/window_message.h"

namespace vokta {

class GameData;

// Hands one message to the part of the game it is for: keys and drags to
// the selected piece or, with nothing selected, to the camera; digits and
// clicks to the selection; menu commands to OnCommand; the timer to the tick.
// Only the left button's double click counts; the second press of a right or
// middle double click is dropped, neither picking nor recorded.
void MainWndProc(GameData& game, const WindowMessage& message);

void OnKeyDown(GameData& game, Key key, bool shift);
// Enter or Escape released with a piece selected releases it.
void OnKeyUp(GameData& game, Key key);
// Digits '1' to '7' select pieces; other characters do nothing.
void OnChar(GameData& game, char character);
void OnButtonDown(GameData& game, int x, int y, int keys);
void OnButtonUp(GameData& game, int x, int y, int keys);
void OnMouseMove(GameData& game, int x, int y, int keys);
// A left double click; the recorded mouse state stays as it is.
void OnDoubleClick(GameData& game, int x, int y, int keys);

// A menu command (see Command). New, Retry, Solid, Hint, Undo, Redo, Reset
// view and the piece commands act on the game; Load, Library and Save come
// with the file the player chose (nothing when they cancelled); anything
// else (About, the help, the language and display options, which the shell
// answers itself) is ignored.
void OnCommand(GameData& game, Command command, const std::optional<ChosenFile>& file = std::nullopt);

// Reads a chosen task file: one that is refused is reported and changes
// nothing; an accepted one becomes the task, armed, after the pieces have
// been scattered afresh. Returns whether it was loaded.
bool loadTask(GameData& game, const ChosenFile& file);
void saveTask(GameData& game, const std::string& path);

}  // namespace vokta
