#pragma once

#include "puzzle/rules/solver.h"

namespace vokta {

// What the Hint command found for the game as it stands.
struct Hint {
    enum class Kind {
        Place,       // piece goes to place: a solution keeps every piece already in the figure
        TakeOut,     // no solution keeps them all; without piece there is one
        Unsolvable,  // the task has no solution at all
        Solved,      // every piece is in its place already
        NoTask,      // no figure to fill (a free build after New)
    };
    Kind kind = Kind::NoTask;
    int piece = -1;
    PiecePlace place;
};

// Looks for a solution that keeps every piece lying wholly inside the figure
// where it is, and names a piece not yet in its place with its place in it.
Hint findHint(const GameState& state);

}  // namespace vokta
