#pragma once

#include <compare>
#include <span>
#include <string>
#include <vector>

#include "puzzle/rules/game_state.h"
#include "puzzle/rules/palette.h"
#include "render/camera.h"
#include "shell/language.h"

namespace vokta {

// The grid as the player faces it, in the words the game speaks: columns
// run left to right across the view, rows from the back to the front,
// layers up from the floor. Its directions are the moves' left, forward and
// up; from a view diagonal across the grid, whose moves go diagonally, they
// are the grid axes nearest to them.
struct ViewFrame {
    Cell right;  // one cell to the right: (±10, 0, 0) or (0, ±10, 0)
    Cell front;  // one cell towards the viewer
};
ViewFrame viewFrame(const Camera& camera);

// A cell in the player's terms: column and row counted from the task
// figure's left and back (1 for its first), layer from the floor (1 on it).
struct GridPlace {
    int layer = 0;
    int row = 0;
    int column = 0;

    friend auto operator<=>(const GridPlace&, const GridPlace&) = default;
};

// How the player counts the cells of a game as the view shows it: from the
// figure's box, or without a figure from the middle cell of the floor.
class PlayerGrid {
public:
    PlayerGrid(const GameState& state, const Camera& camera);

    GridPlace place(Cell cell) const;
    bool hasFigure() const { return !figure_.empty(); }
    // The figure's box: columns and rows from 1, layers counted from the floor.
    int columns() const { return columns_; }
    int rows() const { return rows_; }
    int lowestLayer() const { return lowestLayer_; }
    int highestLayer() const { return highestLayer_; }
    // The figure's cells, each once, layer by layer, back to front, left to right.
    const std::vector<GridPlace>& figure() const { return figure_; }

private:
    ViewFrame frame_;
    int firstColumn_ = 0;
    int firstRow_ = 0;
    int columns_ = 1;
    int rows_ = 1;
    int lowestLayer_ = 1;
    int highestLayer_ = 1;
    std::vector<GridPlace> figure_;
};

// The cubes piece index has where it stands, the repeated one left out.
std::vector<Cell> cubesOf(const PieceState& piece, int index);

// Whether a distance says what it is measured from ("2 cells left of the
// figure", "on the floor") or leaves it understood ("2 left", and the floor
// unsaid), as in a list that said it once.
enum class Distances { Named, Understood };

// Where cubes are, as the player hears it: over the figure, the cells
// ("layer 4, row 1, columns 1 to 3"); away from it, how far on each axis
// ("2 cells left of the figure, 1 in front, on the floor"). A list that
// leaves distances understood gives the columns and rows over the figure
// instead of the cells.
std::string wherePhrase(const PlayerGrid& grid, std::span<const Cell> cubes, Language language,
                        Distances distances = Distances::Named);
// The places as cells by layer and row: "layer 1, row 2, columns 1 to 3, row 3, column 1; layer 2, ...".
std::string cellsPhrase(std::vector<GridPlace> places, Language language);

// "1, 2 and 3": items joined as a list is said.
std::string listOf(const std::vector<std::string>& items, Language language);

// A piece's colour in the palette on show, as its name is said on its own
// ("red"), and as the thing something rests on ("the red piece", in the
// Russian accusative).
std::string_view colourName(const Palette& palette, int piece, Language language);
std::string_view colourObject(const Palette& palette, int piece, Language language);

// text with its first letter in capitals (Latin or Cyrillic).
std::string capitalized(std::string text);

}  // namespace vokta
