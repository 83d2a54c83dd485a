#pragma once

#include <array>
#include <cstddef>

namespace vokta {

class Game;
class Piece;

// What a selected piece does with the left button held on it.
enum class SelectionMode { None = 0, Move = 1, Turn = 2 };

// Piece index selected by each of the digit keys '1' to '7'.
inline constexpr std::array<int, 7> kDigitKeyPieces{0, 2, 3, 6, 4, 5, 1};

// The digit whose key selects piece index, or 0 for none.
constexpr int digitKeyOf(int piece)
{
    for (std::size_t k = 0; k < kDigitKeyPieces.size(); ++k) {
        if (kDigitKeyPieces[k] == piece)
            return static_cast<int>(k) + 1;
    }
    return 0;
}

// Makes piece the selected one, in move mode: it is highlighted in the
// palette's half-transparent grey and stops
// falling; a piece selected before is released first. Selecting the selected
// piece again changes nothing.
void selectPiece(Game& game, Piece& piece);
// Selects the piece at index 0 to 6 of the piece table.
void selectPieceByIndex(Game& game, int index);
// Ends the selection: the piece gets its colour back and falls from where it is.
void releaseSelection(Game& game);

}  // namespace vokta
