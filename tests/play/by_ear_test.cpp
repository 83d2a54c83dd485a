// Proof that the game's words are enough to play: a player who hears only
// what a screen reader would be told (RecordedView::spoken) and presses
// keys solves the built-in cube and library tasks of different shapes. The
// player learns the figure from Describe, makes a plan with the solver on
// the cells as heard, and moves each piece by what the moves and turns say;
// the game's state is never read.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <compare>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "play/headless.h"
#include "play/runner.h"
#include "puzzle/rules/solver.h"

namespace vokta::play {
namespace {

// A cell as the player counts it: layer from the floor, row from the
// figure's back, column from its left.
struct Place {
    int layer = 0;
    int row = 0;
    int column = 0;

    friend auto operator<=>(const Place&, const Place&) = default;
};
using Cells = std::set<Place>;

std::vector<std::string> split(const std::string& text, const std::string& separator)
{
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(separator, from)) != std::string::npos; from = at + separator.size())
        parts.push_back(text.substr(from, at - from));
    parts.push_back(text.substr(from));
    return parts;
}

bool startsWith(const std::string& text, const std::string& head)
{
    return text.rfind(head, 0) == 0;
}

// "3" or "-1 to 2": the numbers from the first to the last.
std::vector<int> range(const std::string& words)
{
    const std::vector<std::string> ends = split(words, " to ");
    std::vector<int> numbers;
    for (int n = std::stoi(ends.front()); n <= std::stoi(ends.back()); ++n)
        numbers.push_back(n);
    return numbers;
}

// "layer 1, row 2, columns 2 to 3, row 3, column 2; layer 2, ...": the cells.
Cells cellsHeard(const std::string& phrase)
{
    Cells cells;
    for (const std::string& layerWords : split(phrase, "; ")) {
        std::vector<std::string> parts = split(layerWords, ", ");
        const int layer = std::stoi(parts.front().substr(std::string("layer ").size()));
        std::vector<int> rows;
        for (std::size_t i = 1; i < parts.size(); ++i) {
            std::string part = parts[i];
            if (startsWith(part, "row")) {
                rows = range(part.substr(part.find(' ') + 1));
                continue;
            }
            if (startsWith(part, "column"))
                part = part.substr(part.find(' ') + 1);
            for (const std::string& run : split(part, " and "))
                for (const int column : range(run))
                    for (const int row : rows)
                        cells.insert({layer, row, column});
        }
    }
    return cells;
}

// The figure as Describe says it, layer by layer, while it is empty.
Cells figureHeard(const std::string& description)
{
    Cells cells;
    int width = 0;
    int depth = 0;
    for (const std::string& sentence : split(description, ". ")) {
        if (startsWith(sentence, "Figure: ")) {
            std::istringstream words(sentence.substr(std::string("Figure: ").size()));
            std::string unit;
            words >> width >> unit >> depth;
        } else if (startsWith(sentence, "Layer ") && sentence.find(':') == std::string::npos) {
            const int layer = std::stoi(sentence.substr(6));
            for (int row = 1; row <= depth; ++row)
                for (int column = 1; column <= width; ++column)
                    cells.insert({layer, row, column});
        } else if (startsWith(sentence, "Layer ")) {
            const int layer = std::stoi(sentence.substr(6));
            for (const std::string& rowWords : split(sentence.substr(sentence.find(": ") + 2), "; ")) {
                std::string head = rowWords.substr(0, rowWords.find(':'));
                int column = 1;
                if (const std::size_t from = head.find(" from "); from != std::string::npos) {
                    column = std::stoi(head.substr(from + 6));
                    head = head.substr(0, from);
                }
                const bool empty = head.size() > 6 && head.substr(head.size() - 6) == " empty";
                const std::vector<int> rows = range(
                    head.substr(head.find(' ') + 1, empty ? head.size() - 6 - head.find(' ') - 1 : std::string::npos));
                std::vector<std::string> items;
                if (empty)
                    items.assign(static_cast<std::size_t>(width), "empty");
                else
                    items = split(rowWords.substr(rowWords.find(": ") + 2), ", ");
                for (const std::string& item : items) {
                    const int count = item.find(" empty") != std::string::npos ? std::stoi(item) : 1;
                    for (int i = 0; i < count; ++i, ++column)
                        for (const int row : rows)
                            if (item != "gap")
                                cells.insert({layer, row, column});
                }
            }
        }
    }
    return cells;
}

Place lowest(const Cells& cells)
{
    Place low = *cells.begin();
    for (const Place& place : cells)
        low = {std::min(low.layer, place.layer), std::min(low.row, place.row), std::min(low.column, place.column)};
    return low;
}

// The shape the cells make, wherever they are.
Cells normalized(const Cells& cells)
{
    const Place low = lowest(cells);
    Cells moved;
    for (const Place& place : cells)
        moved.insert({place.layer - low.layer, place.row - low.row, place.column - low.column});
    return moved;
}

// The player's cells as the solver's: columns along x, rows along y, layers
// up from the floor. The game's cells are left-handed as the player counts
// them, so the pieces keep their handedness.
Vec3 solverCell(const Place& place)
{
    return {10.0f * static_cast<float>(place.column), 10.0f * static_cast<float>(place.row),
            10.0f * static_cast<float>(place.layer - 1)};
}

Place heardPlace(const Cell& cell)
{
    return {cell.z / 10 + 1, cell.y / 10, cell.x / 10};
}

struct PlannedPiece {
    int digit = 0;
    Cells cells;
};

// A solution whose pieces can each come straight down onto their cells:
// a piece goes after every piece with a cube under one of its cubes.
std::optional<std::vector<PlannedPiece>> dropOrder(const Solution& solution)
{
    std::vector<PlannedPiece> pieces;
    for (const PiecePlace& place : solution) {
        PlannedPiece planned{digitKeyOf(place.piece), {}};
        for (const Cell& offset : place.offsets)
            planned.cells.insert(heardPlace(place.position + offset));
        pieces.push_back(planned);
    }
    const auto under = [](const PlannedPiece& low, const PlannedPiece& high) {
        return std::any_of(low.cells.begin(), low.cells.end(), [&](const Place& a) {
            return std::any_of(high.cells.begin(), high.cells.end(), [&](const Place& b) {
                return a.row == b.row && a.column == b.column && a.layer < b.layer;
            });
        });
    };
    std::vector<PlannedPiece> order;
    while (!pieces.empty()) {
        const auto free = std::find_if(pieces.begin(), pieces.end(), [&](const PlannedPiece& piece) {
            return std::none_of(pieces.begin(), pieces.end(),
                                [&](const PlannedPiece& other) { return &other != &piece && under(other, piece); });
        });
        if (free == pieces.end())
            return std::nullopt;
        order.push_back(*free);
        pieces.erase(free);
    }
    return order;
}

class ByEar {
public:
    // Everything said since the last time, one text.
    std::string hear()
    {
        std::string heard;
        for (const std::string& words : game.view.spoken)
            heard += (heard.empty() ? "" : " ") + words;
        log_ += heard + "\n";
        game.view.spoken.clear();
        return heard;
    }

    // Ticks until nothing has been said for a while.
    void settle()
    {
        for (int quiet = 0, tick = 0; quiet < 40 && tick < 3000; ++tick) {
            const std::size_t before = game.view.spoken.size();
            game.shell.tick();
            quiet = game.view.spoken.size() == before ? quiet + 1 : 0;
        }
        hear();
    }

    std::string press(KeyStroke stroke)
    {
        game.shell.keyDown(stroke);
        game.shell.keyUp(stroke);
        game.shell.tick();
        return hear();
    }

    // Holds Left with nothing selected until the view says moves go straight.
    bool turnViewAlongGrid()
    {
        for (int tries = 0; tries < 20; ++tries) {
            game.shell.keyDown({.key = Key::Left});
            for (int i = 0; i < 4; ++i)
                game.shell.tick();
            game.shell.keyUp({.key = Key::Left});
            if (hear().find("moves go straight") != std::string::npos)
                return true;
        }
        return false;
    }

    // Where the selected piece is, from the words of a selection, move or turn.
    static std::string where(std::string said)
    {
        if (startsWith(said, "Selected ") || startsWith(said, "Turned: "))
            said = said.substr(said.find(": ") + 2);
        if (!said.empty() && said.back() == '.')
            said.pop_back();
        // Said on its own, a place starts with a capital.
        if (!said.empty())
            said.front() = static_cast<char>(std::tolower(static_cast<unsigned char>(said.front())));
        return said;
    }

    // Moves the selected piece until its cells over the figure are said.
    std::optional<Cells> overTheFigure(std::string said)
    {
        for (int steps = 0; steps < 60; ++steps) {
            const std::string place = where(said);
            if (startsWith(place, "layer "))
                return cellsHeard(place);
            const std::vector<std::string> parts = split(place, ", ");
            if (parts.size() < 2)
                return std::nullopt;
            if (parts[0].find(" left") != std::string::npos)
                said = press({.key = Key::Right});
            else if (parts[0].find(" right") != std::string::npos)
                said = press({.key = Key::Left});
            else if (parts[1].find(" behind") != std::string::npos)
                said = press({.key = Key::Down});
            else if (parts[1].find(" in front") != std::string::npos)
                said = press({.key = Key::Up});
            else
                return std::nullopt;
        }
        return std::nullopt;
    }

    // Brings a piece onto its cells and lets it go.
    bool place(const PlannedPiece& piece, int height)
    {
        std::string said = press({.typed = static_cast<char>('0' + piece.digit)});
        for (int i = 0; i < height; ++i)
            said = press({.key = Key::PageUp});
        std::optional<Cells> cells = overTheFigure(said);
        const KeyStroke turns[] = {{.key = Key::Left, .shift = true},
                                   {.key = Key::Up, .shift = true},
                                   {.key = Key::PageDown, .shift = true}};
        // Every way of holding it: four turns to the left, for each of four
        // turns forward, for the piece as it was and turned clockwise once.
        for (int tries = 1; cells && normalized(*cells) != normalized(piece.cells) && tries <= 32; ++tries) {
            cells = overTheFigure(press(turns[0]));
            if (tries % 4 == 0)
                cells = overTheFigure(press(turns[1]));
            if (tries % 16 == 0)
                cells = overTheFigure(press(turns[2]));
        }
        if (!cells || normalized(*cells) != normalized(piece.cells))
            return false;
        const Place from = lowest(*cells);
        const Place to = lowest(piece.cells);
        for (int c = from.column; c != to.column; c += c < to.column ? 1 : -1)
            said = press({.key = c < to.column ? Key::Right : Key::Left});
        for (int r = from.row; r != to.row; r += r < to.row ? 1 : -1)
            said = press({.key = r < to.row ? Key::Down : Key::Up});
        for (int l = from.layer; l > to.layer; --l)
            said = press({.key = Key::PageDown});
        if (!startsWith(where(said), "layer ") || cellsHeard(where(said)) != piece.cells)
            return false;
        press({.key = Key::Escape});
        settle();
        return true;
    }

    // Learns the figure, plans, and places every piece; true when the game says the task is complete.
    bool solve()
    {
        settle();
        if (!turnViewAlongGrid())
            return false;
        const std::string description = press({.letter = U'D', .typed = 'd'});
        const Cells figure = figureHeard(description);
        // Every piece is away from the figure, one sentence each.
        const std::size_t away = description.find("in cells: ");
        if (away == std::string::npos)
            return false;
        const int pieces = static_cast<int>(split(description.substr(away), ". ").size());
        std::vector<Vec3> cells;
        int height = 0;
        for (const Place& place : figure) {
            cells.push_back(solverCell(place));
            height = std::max(height, place.layer);
        }
        std::optional<std::vector<PlannedPiece>> plan;
        Solver(cells, std::min(pieces, kPieceTotal)).solve({}, [&](const Solution& solution) {
            plan = dropOrder(solution);
            return !plan;
        });
        if (!plan)
            return false;
        for (const PlannedPiece& piece : *plan) {
            if (!place(piece, height + 2))
                return false;
        }
        return log_.find("Task completed.") != std::string::npos;
    }

    const std::string& log() const { return log_; }

    HeadlessGame game{VOKTA_RESOURCE_DIR, 3, kDefaultWidth, kDefaultHeight};

private:
    std::string log_;
};

TEST(ByEar, TheBuiltInCubeAndLibraryTasksAreSolvedByWhatIsSaid)
{
    for (const std::string task : {"", "tower", "staircase", "step-pyramid", "bench", "armchair", "skyscraper"}) {
        ByEar player;
        if (!task.empty())
            player.game.shell.fileChosen(Command::Load, ChosenFile(VOKTA_RESOURCE_DIR "/tasks/" + task + ".tsk"));
        EXPECT_TRUE(player.solve()) << (task.empty() ? "the built-in cube" : task) << "; heard:\n" << player.log();
    }
}

}  // namespace
}  // namespace vokta::play
