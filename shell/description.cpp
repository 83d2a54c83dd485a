#include "shell/description.h"

#include <algorithm>
#include <map>

#include "shell/words.h"

namespace vokta {

namespace {

constexpr Words kSummary = spoken("%1 wide, %2 deep, %3 high, %4 cells");
constexpr Words kFigure = spoken("Figure: %1, %2 filled.");
constexpr Words kNoFigure = spoken("No figure: you build freely.");
constexpr Words kLayer = spoken("Layer %1: %2.");
constexpr Words kEmptyLayer = spoken("Layer %1 empty.");
// One row, or neighbouring rows alike; from the row's first cell when it is
// no cell of the figure's first column.
constexpr Words kRow = spoken("row %1: %2");
constexpr Words kRows = spoken("rows %1: %2");
constexpr Words kRowFrom = spoken("row %1 from %2: %3");
constexpr Words kRowsFrom = spoken("rows %1 from %2: %3");
constexpr Words kEmptyRow = spoken("row %1 empty");
constexpr Words kEmptyRows = spoken("rows %1 empty");
constexpr Words kFromTo = spoken("%1 to %2");
constexpr Words kEmptyCell = spoken("empty");
constexpr Words kEmptyCells = spoken("%1 empty");
constexpr Words kGap = spoken("gap");
constexpr Words kPiece = spoken("%1 %2: %3.");
constexpr Words kSelectedPiece = spoken("%1 %2, selected: %3.");
constexpr Words kFallingPiece = spoken("%1 %2, falling: %3.");
constexpr Words kAllIn = spoken("Every piece is in the figure.");
// Then each piece's distances, and its height only above the floor.
constexpr Words kAwayFromFigure = spoken("Away from the figure, in cells:");
constexpr Words kAwayFromCentre = spoken("In cells from the centre:");

std::string number(int value)
{
    return std::to_string(value);
}

// One row of a layer as said: where its figure cells start, and from there
// to its last one each named by the piece that fills it, as empty (empty
// cells side by side counted: "3 empty"), or as a gap that is no cell of
// the figure.
struct RowWords {
    int first = 0;
    int last = 0;
    int start = 0;
    std::vector<std::string> items;
    bool wholeAndEmpty = false;  // every column of the figure's width, none filled
};

RowWords rowWords(const std::vector<int>& columns, int width, const std::map<GridPlace, int>& filled, int layer,
                  int row, const Palette& palette, Language language)
{
    RowWords said{row, row, columns.front(), {}, false};
    bool empty = true;
    int emptyRun = 0;
    const auto endEmptyRun = [&] {
        if (emptyRun == 1)
            said.items.emplace_back(kEmptyCell.in(language));
        else if (emptyRun > 1)
            said.items.push_back(withArguments(kEmptyCells.in(language), {number(emptyRun)}));
        emptyRun = 0;
    };
    std::size_t next = 0;
    for (int column = columns.front(); column <= columns.back(); ++column) {
        if (next < columns.size() && columns[next] == column) {
            ++next;
            const auto piece = filled.find({layer, row, column});
            if (piece == filled.end()) {
                ++emptyRun;
                continue;
            }
            empty = false;
            endEmptyRun();
            said.items.emplace_back(colourName(palette, piece->second, language));
        } else {
            endEmptyRun();
            said.items.emplace_back(kGap.in(language));
        }
    }
    endEmptyRun();
    said.wholeAndEmpty = empty && columns.front() == 1 && static_cast<int>(columns.size()) == width;
    return said;
}

std::string rowSentence(const RowWords& rows, Language language)
{
    const std::string which = rows.first == rows.last
        ? number(rows.first)
        : withArguments(kFromTo.in(language), {number(rows.first), number(rows.last)});
    const bool several = rows.first != rows.last;
    if (rows.wholeAndEmpty)
        return withArguments((several ? kEmptyRows : kEmptyRow).in(language), {which});
    std::string cells = rows.items.front();
    for (std::size_t i = 1; i < rows.items.size(); ++i)
        cells += ", " + rows.items[i];
    if (rows.start == 1)
        return withArguments((several ? kRows : kRow).in(language), {which, cells});
    return withArguments((several ? kRowsFrom : kRowFrom).in(language), {which, number(rows.start), cells});
}

// One layer of the figure, its cells given back to front, left to right.
std::string layerSentence(int layer, std::span<const GridPlace> cells, const PlayerGrid& grid,
                          const std::map<GridPlace, int>& filled, const Palette& palette, Language language)
{
    std::vector<RowWords> rows;
    int wholeEmptyRows = 0;
    for (std::size_t i = 0; i < cells.size();) {
        const int row = cells[i].row;
        std::vector<int> columns;
        for (; i < cells.size() && cells[i].row == row; ++i)
            columns.push_back(cells[i].column);
        RowWords said = rowWords(columns, grid.columns(), filled, layer, row, palette, language);
        wholeEmptyRows += said.wholeAndEmpty ? 1 : 0;
        // Neighbouring rows alike are said once.
        if (!rows.empty() && rows.back().last + 1 == row && rows.back().start == said.start &&
            rows.back().items == said.items)
            rows.back().last = row;
        else
            rows.push_back(std::move(said));
    }
    if (wholeEmptyRows == grid.rows())
        return withArguments(kEmptyLayer.in(language), {number(layer)});
    std::string said = rowSentence(rows.front(), language);
    for (std::size_t r = 1; r < rows.size(); ++r)
        said += "; " + rowSentence(rows[r], language);
    return withArguments(kLayer.in(language), {number(layer), said});
}

}  // namespace

std::string figureSummary(const PlayerGrid& grid, Language language)
{
    return withArguments(kSummary.in(language),
                         {number(grid.columns()), number(grid.rows()),
                          number(grid.highestLayer() - grid.lowestLayer() + 1),
                          number(static_cast<int>(grid.figure().size()))});
}

Spoken describeScene(const GameState& state, const Camera& camera, const Palette& palette, Language language)
{
    const PlayerGrid grid(state, camera);
    Spoken description{Spoken::Kind::Description, {}};
    std::map<GridPlace, int> filled;
    for (int piece = 0; piece < state.inPlay(); ++piece) {
        for (const Cell& cube : cubesOf(state.piece(piece), piece))
            filled[grid.place(cube)] = piece;
    }
    const std::vector<GridPlace>& figure = grid.figure();
    const auto inFigure = [&](const GridPlace& place) {
        return std::binary_search(figure.begin(), figure.end(), place);
    };
    if (grid.hasFigure()) {
        const auto filledCells =
            std::count_if(filled.begin(), filled.end(), [&](const auto& cube) { return inFigure(cube.first); });
        description.sentences.push_back(capitalized(withArguments(
            kFigure.in(language), {figureSummary(grid, language), number(static_cast<int>(filledCells))})));
        // The figure's cells come layer by layer.
        for (auto layer = figure.begin(); layer != figure.end();) {
            const auto next =
                std::find_if(layer, figure.end(), [&](const GridPlace& c) { return c.layer != layer->layer; });
            description.sentences.push_back(layerSentence(layer->layer,
                                                          std::span(&*layer, static_cast<std::size_t>(next - layer)),
                                                          grid, filled, palette, language));
            layer = next;
        }
    } else {
        description.sentences.emplace_back(kNoFigure.in(language));
    }
    std::vector<std::string> away;
    for (int piece = 0; piece < state.inPlay(); ++piece) {
        const std::vector<Cell> cubes = cubesOf(state.piece(piece), piece);
        if (grid.hasFigure() &&
            std::all_of(cubes.begin(), cubes.end(), [&](const Cell& cube) { return inFigure(grid.place(cube)); }))
            continue;
        const Words& words = piece == state.selected ? kSelectedPiece
            : state.piece(piece).falling             ? kFallingPiece
                                                     : kPiece;
        away.push_back(capitalized(withArguments(words.in(language),
                                                 {colourName(palette, piece, language), number(digitKeyOf(piece)),
                                                  wherePhrase(grid, cubes, language, Distances::Understood)})));
    }
    if (away.empty()) {
        if (grid.hasFigure())
            description.sentences.emplace_back(kAllIn.in(language));
        return description;
    }
    description.sentences.emplace_back((grid.hasFigure() ? kAwayFromFigure : kAwayFromCentre).in(language));
    description.sentences.insert(description.sentences.end(), away.begin(), away.end());
    return description;
}

}  // namespace vokta
