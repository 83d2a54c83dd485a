#pragma once

#include <string>

#include "puzzle/palette.h"
#include "puzzle/solver.h"

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

// The English words of a hint's message for the player. The sentence may
// hold "%1", which stands for piece: the name of the piece's colour. The
// window translates both (context "vokta::MainWindow"). Place has none: the
// ghost shows it.
struct HintWords {
    const char* sentence = nullptr;
    const char* piece = nullptr;
};
HintWords hintWords(const Hint& hint, const Palette& palette);
// Those words as one English sentence; empty for Place.
std::string hintText(const Hint& hint, const Palette& palette);

// Looks for a solution that keeps every piece lying wholly inside the figure
// where it is, and names a piece not yet in its place with its place in it.
Hint findHint(const GameState& state);

}  // namespace vokta
