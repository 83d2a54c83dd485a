// Proof that the game's words are enough to play: a player who hears only
// what a screen reader would be told (RecordedView::spoken) and presses
// keys solves the built-in cube and library tasks of different shapes. The
// player learns the figure from Describe, makes a plan with the solver on
// the cells as heard, and moves each piece by what the moves and turns say;
// the game's state is never read. The player hears English or Russian.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <compare>
#include <map>
#include <set>
#include <string>
#include <string_view>
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

// The words the player listens for in one language, as the game says them
// (the Russian from vokta_ru.ts). Stems cover the forms that differ by
// number: "row"/"rows", "ряд"/"ряды"; " пуст" in "пуст", "пусты", "пустых".
struct Vocabulary {
    std::string_view language;  // as the shell takes it
    std::string_view layer;
    std::string_view row;
    std::string_view figure;
    std::string_view fromColumn;
    std::string_view empty;
    std::string_view gap;
    std::string_view away;
    std::string_view andWord;
    std::string_view selected;
    std::string_view turned;
    std::string_view left;
    std::string_view right;
    std::string_view behind;
    std::string_view inFront;
    std::string_view straight;
    std::string_view completed;
};

constexpr Vocabulary kEnglish{
    .language = "English",
    .layer = "layer ",
    .row = "row",
    .figure = "figure: ",
    .fromColumn = " from ",
    .empty = " empty",
    .gap = "gap",
    .away = "Away from the figure, in cells: ",
    .andWord = " and ",
    .selected = "Selected ",
    .turned = "Turned: ",
    .left = " left",
    .right = " right",
    .behind = " behind",
    .inFront = " in front",
    .straight = "moves go straight",
    .completed = "Task completed.",
};
constexpr Vocabulary kRussian{
    .language = "Russian",
    .layer = "слой ",
    .row = "ряд",
    .figure = "фигура: ",
    .fromColumn = " со столбца ",
    .empty = " пуст",
    .gap = "пропуск",
    .away = "Вне фигуры, в клетках: ",
    .andWord = " и ",
    .selected = "Выбрана ",
    .turned = "Повёрнута: ",
    .left = "левее",
    .right = "правее",
    .behind = "дальше",
    .inFront = "ближе",
    .straight = "ходы идут прямо",
    .completed = "Задача решена.",
};

bool startsWith(const std::string& text, std::string_view head)
{
    return text.rfind(head, 0) == 0;
}

bool has(const std::string& text, std::string_view words)
{
    return text.find(words) != std::string::npos;
}

// Said on its own, a phrase starts with a capital, Latin or Cyrillic (А to Я
// in UTF-8: D0 90 to D0 AF; а to я: D0 B0 to D1 8F).
std::string uncapitalized(std::string text)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    if (!text.empty() && byte(0) < 0x80) {
        text.front() = static_cast<char>(std::tolower(byte(0)));
    } else if (text.size() > 1 && byte(0) == 0xD0 && byte(1) >= 0x90 && byte(1) < 0xB0) {
        if (byte(1) < 0xA0) {
            text[1] = static_cast<char>(byte(1) + 0x20);
        } else {
            text[0] = static_cast<char>(0xD1);
            text[1] = static_cast<char>(byte(1) - 0x20);
        }
    }
    return text;
}

// The whole numbers in words, in order: "с -1 по 2" gives -1 and 2.
std::vector<int> numbersIn(const std::string& words)
{
    std::vector<int> numbers;
    for (std::size_t at = 0; (at = words.find_first_of("-0123456789", at)) != std::string::npos;) {
        if (words[at] == '-' && (at + 1 == words.size() || !std::isdigit(static_cast<unsigned char>(words[at + 1])))) {
            ++at;
            continue;
        }
        std::size_t length = 0;
        numbers.push_back(std::stoi(words.substr(at), &length));
        at += length;
    }
    return numbers;
}

// "row 3", "rows -1 to 2" or "ряды с -1 по 2": the numbers from the first to the last.
std::vector<int> range(const std::string& words)
{
    const std::vector<int> ends = numbersIn(words);
    std::vector<int> numbers;
    for (int n = ends.front(); n <= ends.back(); ++n)
        numbers.push_back(n);
    return numbers;
}

// "layer 1, row 2, columns 2 to 3, row 3, column 2; layer 2, ...": the cells.
Cells cellsHeard(const std::string& phrase, const Vocabulary& words)
{
    Cells cells;
    for (const std::string& layerWords : split(phrase, "; ")) {
        std::vector<std::string> parts = split(layerWords, ", ");
        const int layer = numbersIn(parts.front()).front();
        std::vector<int> rows;
        for (std::size_t i = 1; i < parts.size(); ++i) {
            const std::string& part = parts[i];
            if (startsWith(part, words.row)) {
                rows = range(part);
                continue;
            }
            for (const std::string& run : split(part, std::string(words.andWord)))
                for (const int column : range(run))
                    for (const int row : rows)
                        cells.insert({layer, row, column});
        }
    }
    return cells;
}

// The figure as Describe says it, layer by layer, while it is empty.
Cells figureHeard(const std::string& description, const Vocabulary& words)
{
    Cells cells;
    int width = 0;
    int depth = 0;
    for (const std::string& said : split(description, ". ")) {
        const std::string sentence = uncapitalized(said);
        if (startsWith(sentence, words.figure)) {
            // Width and depth come first, in either language.
            const std::vector<int> size = numbersIn(sentence);
            width = size[0];
            depth = size[1];
        } else if (startsWith(sentence, words.layer) && !has(sentence, ":")) {
            const int layer = numbersIn(sentence).front();
            for (int row = 1; row <= depth; ++row)
                for (int column = 1; column <= width; ++column)
                    cells.insert({layer, row, column});
        } else if (startsWith(sentence, words.layer)) {
            const int layer = numbersIn(sentence).front();
            for (const std::string& rowWords : split(sentence.substr(sentence.find(": ") + 2), "; ")) {
                std::string head = rowWords.substr(0, rowWords.find(':'));
                int column = 1;
                if (const std::size_t from = head.find(words.fromColumn); from != std::string::npos) {
                    column = numbersIn(head.substr(from)).front();
                    head = head.substr(0, from);
                }
                const bool empty = has(head, words.empty);
                std::vector<std::string> items;
                if (empty)
                    items.assign(static_cast<std::size_t>(width), "");
                else
                    items = split(rowWords.substr(rowWords.find(": ") + 2), ", ");
                for (const std::string& item : items) {
                    const int count = has(item, words.empty) ? std::stoi(item) : 1;
                    for (int i = 0; i < count; ++i, ++column)
                        for (const int row : range(head))
                            if (item != words.gap)
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
    explicit ByEar(const Vocabulary& words) : words_(words) { game.shell.setLanguage(words.language); }

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
            if (has(hear(), words_.straight))
                return true;
        }
        return false;
    }

    // Where the selected piece is, from the words of a selection, move or turn.
    std::string where(std::string said) const
    {
        if (startsWith(said, words_.selected) || startsWith(said, words_.turned))
            said = said.substr(said.find(": ") + 2);
        if (!said.empty() && said.back() == '.')
            said.pop_back();
        return uncapitalized(said);
    }

    // Moves the selected piece until its cells over the figure are said.
    std::optional<Cells> overTheFigure(std::string said)
    {
        for (int steps = 0; steps < 60; ++steps) {
            const std::string place = where(said);
            if (startsWith(place, words_.layer))
                return cellsHeard(place, words_);
            const std::vector<std::string> parts = split(place, ", ");
            if (parts.size() < 2)
                return std::nullopt;
            if (has(parts[0], words_.left))
                said = press({.key = Key::Right});
            else if (has(parts[0], words_.right))
                said = press({.key = Key::Left});
            else if (has(parts[1], words_.behind))
                said = press({.key = Key::Down});
            else if (has(parts[1], words_.inFront))
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
        if (!startsWith(where(said), words_.layer) || cellsHeard(where(said), words_) != piece.cells)
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
        const Cells figure = figureHeard(description, words_);
        // Every piece is away from the figure, one sentence each.
        const std::size_t away = description.find(words_.away);
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
        return has(log_, words_.completed);
    }

    const std::string& log() const { return log_; }

    HeadlessGame game{VOKTA_RESOURCE_DIR, 3, kDefaultWidth, kDefaultHeight};

private:
    const Vocabulary& words_;
    std::string log_;
};

TEST(ByEar, TheBuiltInCubeAndLibraryTasksAreSolvedByWhatIsSaidInEitherLanguage)
{
    for (const Vocabulary* words : {&kEnglish, &kRussian}) {
        for (const std::string task : {"", "tower", "staircase", "step-pyramid", "bench", "armchair", "skyscraper"}) {
            ByEar player(*words);
            if (!task.empty())
                player.game.shell.fileChosen(Command::Load, ChosenFile(VOKTA_RESOURCE_DIR "/tasks/" + task + ".tsk"));
            EXPECT_TRUE(player.solve()) << words->language << ", " << (task.empty() ? "the built-in cube" : task)
                                        << "; heard:\n"
                                        << player.log();
        }
    }
}

}  // namespace
}  // namespace vokta::play
