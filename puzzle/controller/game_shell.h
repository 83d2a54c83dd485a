#pragma once

#include "puzzle/rules/hint.h"
#include "puzzle/rules/task_file.h"

namespace vokta {

// What a running game tells the shell around it; the shell model (shell/)
// implements it for every front end. The game is never waiting for an
// answer: the player's choices come in as messages (see WindowMessage).
class GameShell {
public:
    virtual ~GameShell() = default;
    // Draws the scene as it stands now, before anything else happens.
    virtual void repaintNow() = 0;
    // Waits while the fanfare plays (2000 ms in the game).
    virtual void pauseForFanfare() = 0;
    // The task has just been completed: counts it in the player's progress
    // and says so.
    virtual void taskCompleted() = 0;
    // The selection, the figure's view or what can be undone changed: the
    // menus follow.
    virtual void refreshMenuState() = 0;
    // A step was taken, undone or redone: the game may be kept as it stands.
    virtual void stepsChanged() = 0;
    // A task file was refused or not saved.
    virtual void showTaskFileError(const TaskFileError& error) = 0;
    // What the Hint command found (the ghost of a piece to place needs no words).
    virtual void showHint(const Hint& hint) = 0;
};

}  // namespace vokta
