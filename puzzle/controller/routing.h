#pragma once

#include <string>

#include "puzzle/controller/commands.h"
#include "puzzle/controller/input.h"

namespace vokta {

class Game;

// One message of the game's window, in the program's own terms. The window
// system's events are turned into these; tests and vokta-play make them
// directly.
struct WindowMessage {
    enum class Kind { KeyDown, KeyUp, Char, ButtonDown, ButtonUp, MouseMove, DoubleClick, Command, Timer };
    Kind kind = Kind::Timer;
    Key key = Key::Other;  // KeyDown, KeyUp
    bool shift = false;    // KeyDown: Shift held as the key went down
    char character = 0;    // Char
    int x = 0;             // mouse messages: client pixel
    int y = 0;
    int keys = 0;       // mouse messages: the key-state flags after the event (kMouseLeft and the rest)
    int button = 0;     // ButtonDown, ButtonUp, DoubleClick: the button's own flag (kMouseLeft, ...)
    Command command{};  // Command: the menu command
};

// Hands one message to the part of the game it is for: keys and drags to
// the selected piece or, with nothing selected, to the camera; digits and
// clicks to the selection; menu commands to OnCommand; the timer to the tick.
// Only the left button's double click counts; the second press of a right or
// middle double click is dropped, neither picking nor recorded.
void MainWndProc(Game& game, const WindowMessage& message);

void OnKeyDown(Game& game, Key key, bool shift);
// Enter or Escape released with a piece selected releases it.
void OnKeyUp(Game& game, Key key);
// Digits '1' to '7' select pieces; other characters do nothing.
void OnChar(Game& game, char character);
void OnButtonDown(Game& game, int x, int y, int keys);
void OnButtonUp(Game& game, int x, int y, int keys);
void OnMouseMove(Game& game, int x, int y, int keys);
// A left double click; the recorded mouse state stays as it is.
void OnDoubleClick(Game& game, int x, int y, int keys);

// A menu command (see Command). New, Retry, Load..., Save..., Solid and the
// piece commands act on the game; About, the help pages, the language switch
// and the display options (kept with the language) go to the window; anything
// else is ignored.
void OnCommand(Game& game, Command command);

// Load... and Save... once a file has been chosen. A task file that is
// refused is reported and changes nothing; an accepted one becomes the task,
// armed, after the pieces have been scattered afresh. Returns whether it was
// loaded.
bool loadTask(Game& game, const std::string& path);
void saveTask(Game& game, const std::string& path);
// loadTask as a step of the player's, which undo takes back: a task named on
// the command line, or loaded by a script.
bool loadTaskAsStep(Game& game, const std::string& path);

}  // namespace vokta
