#include "shell/places.h"

#include <algorithm>
#include <cmath>

#include "shell/words.h"

namespace vokta {

namespace {

constexpr std::string_view kSpokenContext = "Spoken";

consteval Words spoken(std::string_view english)
{
    return Words(kSpokenContext, english);
}

consteval bool everyColourSpoken(const Palette& palette)
{
    for (const PieceColour& piece : palette.pieces) {
        if (findTranslation(kSpokenContext, piece.name) == kNoTranslation ||
            findTranslation(kMessageContext, piece.name) == kNoTranslation)
            return false;
    }
    return true;
}
static_assert(everyColourSpoken(kOriginalPalette) && everyColourSpoken(kDistinctPalette),
              "the game says every piece's colour: each name needs both its translations in vokta_ru.ts");

// How far cubes are from the figure along one way: the first distance said
// names what it is measured from, the later ones are understood to.
struct DistanceWords {
    Words one;
    Words many;
    Words onward;
};
constexpr DistanceWords kLeft{spoken("%1 cell left of %2"), spoken("%1 cells left of %2"), spoken("%1 left")};
constexpr DistanceWords kRight{spoken("%1 cell right of %2"), spoken("%1 cells right of %2"), spoken("%1 right")};
constexpr DistanceWords kBehind{spoken("%1 cell behind %2"), spoken("%1 cells behind %2"), spoken("%1 behind")};
constexpr DistanceWords kInFront{spoken("%1 cell in front of %2"), spoken("%1 cells in front of %2"),
                                 spoken("%1 in front")};

// Along a way where cubes are in line with the figure: which of its columns or rows.
struct RangeWords {
    Words one;
    Words many;
};
constexpr RangeWords kColumnRange{spoken("column %1"), spoken("columns %1")};
constexpr RangeWords kRowRange{spoken("row %1"), spoken("rows %1")};

constexpr Words kTheFigure = spoken("the figure");
constexpr Words kTheCentre = spoken("the centre");
constexpr Words kOnTheFloor = spoken("on the floor");
constexpr Words kOneCellUp = spoken("%1 cell up");
constexpr Words kCellsUp = spoken("%1 cells up");
constexpr Words kUp = spoken("%1 up");
constexpr Words kFromTo = spoken("%1 to %2");
constexpr Words kAnd = spoken("%1 and %2");
constexpr Words kLayerCells = spoken("layer %1, %2");

// Rounds a coordinate in units to the nearest cell; halves go up.
int nearestCell(double units)
{
    return static_cast<int>(std::floor((units + 5.0) / 10.0));
}

Cell nearestGridCell(Vec3 point)
{
    return {nearestCell(point.x) * 10, nearestCell(point.y) * 10, nearestCell(point.z) * 10};
}

// One cell step of the frame as its sign on the axis it lies along.
int along(Cell cell, Cell step)
{
    return nearestCell(cell.x * step.x / 10 + cell.y * step.y / 10);
}

std::string number(int value)
{
    return std::to_string(value);
}

// Column numbers, ascending, as runs: "1 to 3 and 5".
std::string runsOf(const std::vector<int>& columns, Language language)
{
    std::vector<std::string> runs;
    for (std::size_t i = 0; i < columns.size();) {
        std::size_t end = i + 1;
        while (end < columns.size() && columns[end] == columns[end - 1] + 1)
            ++end;
        runs.push_back(end - i == 1
                           ? number(columns[i])
                           : withArguments(kFromTo.in(language), {number(columns[i]), number(columns[end - 1])}));
        i = end;
    }
    return listOf(runs, language);
}

std::string rangeOf(const RangeWords& words, int low, int high, Language language)
{
    if (low == high)
        return withArguments(words.one.in(language), {number(low)});
    return withArguments(words.many.in(language), {withArguments(kFromTo.in(language), {number(low), number(high)})});
}

}  // namespace

ViewFrame viewFrame(const Camera& camera)
{
    const Vec3 d = camera.direction();
    const Vec3 u = camera.up();
    // The nearer grid axis to the line of sight across the floor; y when
    // the view is exactly diagonal, as the start-up view is.
    const Cell forward =
        std::abs(d.x) > std::abs(d.y) ? Cell{d.x > 0.0f ? 10 : -10, 0, 0} : Cell{0, d.y > 0.0f ? 10 : -10, 0};
    // Right lies across forward on the side opposite the moves' left (the
    // line of sight crossed with up).
    const float leftX = d.y * u.z - d.z * u.y;
    const float leftY = d.z * u.x - d.x * u.z;
    Cell right{-forward.y, forward.x, 0};
    if (leftX * static_cast<float>(right.x) + leftY * static_cast<float>(right.y) > 0.0f)
        right = -right;
    return {right, -forward};
}

PlayerGrid::PlayerGrid(const GameState& state, const Camera& camera) : frame_(viewFrame(camera))
{
    if (!state.figure.shown)
        return;
    struct Spot {
        int across;
        int toward;
        int layer;
    };
    std::vector<Spot> spots;
    const int cellCount = std::clamp(state.cellCount, 0, kMaxCells);
    for (int k = 0; k < cellCount; ++k) {
        const Cell cell = nearestGridCell(state.figure.position + state.figure.cells[static_cast<std::size_t>(k)]);
        spots.push_back({along(cell, frame_.right), along(cell, frame_.front), nearestCell(cell.z) + 1});
    }
    if (spots.empty())
        return;
    const auto [leftmost, rightmost] =
        std::minmax_element(spots.begin(), spots.end(), [](Spot a, Spot b) { return a.across < b.across; });
    const auto [backmost, frontmost] =
        std::minmax_element(spots.begin(), spots.end(), [](Spot a, Spot b) { return a.toward < b.toward; });
    const auto [lowest, highest] =
        std::minmax_element(spots.begin(), spots.end(), [](Spot a, Spot b) { return a.layer < b.layer; });
    firstColumn_ = leftmost->across;
    firstRow_ = backmost->toward;
    columns_ = rightmost->across - firstColumn_ + 1;
    rows_ = frontmost->toward - firstRow_ + 1;
    lowestLayer_ = lowest->layer;
    highestLayer_ = highest->layer;
    for (const Spot& spot : spots)
        figure_.push_back({spot.layer, spot.toward - firstRow_ + 1, spot.across - firstColumn_ + 1});
    std::sort(figure_.begin(), figure_.end());
    figure_.erase(std::unique(figure_.begin(), figure_.end()), figure_.end());
}

GridPlace PlayerGrid::place(Cell cell) const
{
    return {nearestCell(cell.z) + 1, along(cell, frame_.front) - firstRow_ + 1,
            along(cell, frame_.right) - firstColumn_ + 1};
}

std::vector<Cell> cubesOf(const PieceState& piece, int index)
{
    std::vector<Cell> cubes;
    for (int i = 0; i < cubeCount(index); ++i)
        cubes.push_back(piece.cube(i));
    return cubes;
}

std::string wherePhrase(const PlayerGrid& grid, std::span<const Cell> cubes, Language language, Distances distances)
{
    if (cubes.empty())
        return {};
    std::vector<GridPlace> places;
    int lowestZ = cubes.front().z;
    for (const Cell& cube : cubes) {
        places.push_back(grid.place(cube));
        lowestZ = std::min(lowestZ, cube.z);
    }
    const auto [left, right] = std::minmax_element(
        places.begin(), places.end(), [](const GridPlace& a, const GridPlace& b) { return a.column < b.column; });
    const auto [back, front] = std::minmax_element(
        places.begin(), places.end(), [](const GridPlace& a, const GridPlace& b) { return a.row < b.row; });
    const bool overColumns = right->column >= 1 && left->column <= grid.columns();
    const bool overRows = front->row >= 1 && back->row <= grid.rows();
    if (grid.hasFigure() && overColumns && overRows && distances == Distances::Named)
        return cellsPhrase(places, language);

    const std::string_view reference = (grid.hasFigure() ? kTheFigure : kTheCentre).in(language);
    bool referenced = distances == Distances::Understood;
    const auto distance = [&](const DistanceWords& words, int cells) {
        if (referenced)
            return withArguments(words.onward.in(language), {number(cells)});
        referenced = true;
        return withArguments((cells == 1 ? words.one : words.many).in(language), {number(cells), reference});
    };
    std::vector<std::string> parts;
    if (right->column < 1)
        parts.push_back(distance(kLeft, 1 - right->column));
    else if (left->column > grid.columns())
        parts.push_back(distance(kRight, left->column - grid.columns()));
    else
        parts.push_back(rangeOf(kColumnRange, left->column, right->column, language));
    if (front->row < 1)
        parts.push_back(distance(kBehind, 1 - front->row));
    else if (back->row > grid.rows())
        parts.push_back(distance(kInFront, back->row - grid.rows()));
    else
        parts.push_back(rangeOf(kRowRange, back->row, front->row, language));
    if (lowestZ == 0) {
        // A list that leaves distances understood says a height only above the floor.
        if (distances == Distances::Named)
            parts.emplace_back(kOnTheFloor.in(language));
    } else {
        const int up = std::max(1, nearestCell(lowestZ));
        const Words& height = distances == Distances::Understood ? kUp : up == 1 ? kOneCellUp : kCellsUp;
        parts.push_back(withArguments(height.in(language), {number(up)}));
    }
    std::string phrase = parts.front();
    for (std::size_t i = 1; i < parts.size(); ++i)
        phrase += ", " + parts[i];
    return phrase;
}

std::string cellsPhrase(std::vector<GridPlace> places, Language language)
{
    std::sort(places.begin(), places.end());
    places.erase(std::unique(places.begin(), places.end()), places.end());
    std::string phrase;
    for (std::size_t i = 0; i < places.size();) {
        const int layer = places[i].layer;
        // Each row's columns; neighbouring rows with the same columns are said together.
        std::vector<std::pair<int, std::vector<int>>> rows;
        for (; i < places.size() && places[i].layer == layer; ++i) {
            if (rows.empty() || rows.back().first != places[i].row)
                rows.push_back({places[i].row, {}});
            rows.back().second.push_back(places[i].column);
        }
        std::string said;
        for (std::size_t r = 0; r < rows.size();) {
            std::size_t end = r + 1;
            while (end < rows.size() && rows[end].first == rows[end - 1].first + 1 &&
                   rows[end].second == rows[r].second)
                ++end;
            const std::vector<int>& columns = rows[r].second;
            said += (said.empty() ? "" : ", ") + rangeOf(kRowRange, rows[r].first, rows[end - 1].first, language) +
                ", " +
                withArguments((columns.size() == 1 ? kColumnRange.one : kColumnRange.many).in(language),
                              {runsOf(columns, language)});
            r = end;
        }
        phrase += (phrase.empty() ? "" : "; ") + withArguments(kLayerCells.in(language), {number(layer), said});
    }
    return phrase;
}

std::string listOf(const std::vector<std::string>& items, Language language)
{
    if (items.empty())
        return {};
    std::string head = items.front();
    for (std::size_t i = 1; i + 1 < items.size(); ++i)
        head += ", " + items[i];
    return items.size() == 1 ? head : withArguments(kAnd.in(language), {head, items.back()});
}

std::string_view colourName(const Palette& palette, int piece, Language language)
{
    return translate(language, kSpokenContext, palette.pieces[static_cast<std::size_t>(piece)].name);
}

std::string_view colourObject(const Palette& palette, int piece, Language language)
{
    return translate(language, kMessageContext, palette.pieces[static_cast<std::size_t>(piece)].name);
}

std::string capitalized(std::string text)
{
    if (text.empty())
        return text;
    auto& first = reinterpret_cast<unsigned char&>(text[0]);
    if (first >= 'a' && first <= 'z') {
        first = static_cast<unsigned char>(first - 'a' + 'A');
        return text;
    }
    if (text.size() < 2)
        return text;
    // Cyrillic а to я and ё, as UTF-8: а-п are D0 B0-BF, р-я D1 80-8F, ё D1 91.
    auto& second = reinterpret_cast<unsigned char&>(text[1]);
    if (first == 0xD0 && second >= 0xB0 && second <= 0xBF) {
        second = static_cast<unsigned char>(second - 0x20);
    } else if (first == 0xD1 && second >= 0x80 && second <= 0x8F) {
        first = 0xD0;
        second = static_cast<unsigned char>(second + 0x20);
    } else if (first == 0xD1 && second == 0x91) {
        first = 0xD0;
        second = 0x81;
    }
    return text;
}

}  // namespace vokta
