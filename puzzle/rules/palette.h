#pragma once

#include <array>
#include <string_view>

#include "geometry/colour.h"
#include "puzzle/rules/game_state.h"

namespace vokta {

// A piece's colour and the English word for it, which the game names the piece by.
struct PieceColour {
    Colour colour;
    std::string_view name;
};

// Every colour of the scene a player has to tell apart.
struct Palette {
    std::array<PieceColour, kPieceTotal> pieces;  // by piece index
    Colour selection;                             // the selected piece: a grey, half transparent
    Colour floor;                                 // the floor grid's faces
    Colour shadow;                                // a floor face under a cube
    Colour background;
};

// The game's own colours.
inline constexpr Palette kOriginalPalette{
    .pieces{{
        {0xFFFF00FF, "magenta"},
        {0xFF00FFFF, "cyan"},
        {0xFFFF0000, "red"},
        {0xFFFFFF00, "yellow"},
        {0xFF00FF00, "green"},
        {0xFFC86464, "pink"},
        {0xFF0000FF, "blue"},
    }},
    .selection = 0x80808080,
    .floor = 0xFFCCCC00,
    .shadow = 0xFF808000,
    .background = 0xFF008000,
};

// Colours that stay apart for normal vision and for the three dichromacies
// (protanopia, deuteranopia, tritanopia, as Machado, Oliveira and Fernandes
// simulate them): every two of the seven pieces, the selection's grey, the
// floor and the background differ by a CIEDE2000 of at least 17 in each of
// the four visions, and the floor shares no piece's hue. Found by a search
// over ten colours. The lights are white and only scale a face's brightness
// (by 0.88 to 1.17, clamped, on the faces the start-up view shows; by 0.59 on
// the far sides), so the flat colours are the ones checked: measured lit, the
// pieces' tops and near sides stay at least 16 apart, the far sides about 12.
// The selection's grey is checked as itself, not blended with what lies
// behind it.
inline constexpr Palette kDistinctPalette{
    .pieces{{
        {0xFF864260, "plum"},
        {0xFFE2760B, "orange"},
        {0xFFBA021B, "red"},
        {0xFFEFE21E, "yellow"},
        {0xFFAFD8A5, "pale green"},
        {0xFFFDA1FE, "pink"},
        {0xFF182FF0, "blue"},
    }},
    .selection = 0x80A0A0A0,
    .floor = 0xFF4B86AA,
    .shadow = 0xFF2F546A,
    .background = 0xFF320806,
};

// Black or white, whichever stands out more on colour: the ink of a piece's number.
Colour numberInk(Colour colour);

}  // namespace vokta
