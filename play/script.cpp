#include "play/script.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "play/json.h"
#include "puzzle/controller/commands.h"
#include "puzzle/controller/pointer.h"
#include "puzzle/scene/game_scene.h"
#include "render/model/decimal.h"
#include "shell/menus.h"

namespace vokta::play {

namespace {

// Coordinates a script may give: far beyond the floor, short of where floats
// stop holding whole numbers.
constexpr float kLargestCoordinate = 1.0e6f;
constexpr int kLargestWholeCoordinate = 1000000;
constexpr int kLargestPixel = 65535;
constexpr std::uint32_t kLargestViewSide = 16384;

struct KeyName {
    std::string_view name;
    Key key;
};
constexpr KeyName kKeyNames[] = {
    {"left", Key::Left},     {"right", Key::Right},       {"up", Key::Up},       {"down", Key::Down},
    {"pageup", Key::PageUp}, {"pagedown", Key::PageDown}, {"enter", Key::Enter}, {"escape", Key::Escape},
    {"home", Key::Home},     {"other", Key::Other},
};

struct ButtonName {
    std::string_view name;
    int flag;
};
constexpr ButtonName kButtonNames[] = {
    {"left", kMouseLeft},   {"right", kMouseRight},  {"middle", kMouseMiddle},
    {"shift", kMouseShift}, {"ctrl", kMouseControl},
};

// The line without its comment; '#' inside double quotes is text.
std::string_view withoutComment(std::string_view line)
{
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"' && (i == 0 || line[i - 1] != '\\'))
            quoted = !quoted;
        else if (line[i] == '#' && !quoted)
            return line.substr(0, i);
    }
    return line;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

// Splits off the first word of rest.
std::string_view nextWord(std::string_view& rest)
{
    std::size_t start = 0;
    while (start < rest.size() && isBlank(rest[start]))
        ++start;
    std::size_t end = start;
    while (end < rest.size() && !isBlank(rest[end]))
        ++end;
    const std::string_view word = rest.substr(start, end - start);
    rest = rest.substr(end);
    return word;
}

class LineReader {
public:
    explicit LineReader(std::string_view line) : rest_(line) {}

    std::string_view word() { return nextWord(rest_); }
    std::string_view restOfLine()
    {
        std::size_t start = 0;
        while (start < rest_.size() && isBlank(rest_[start]))
            ++start;
        std::size_t end = rest_.size();
        while (end > start && isBlank(rest_[end - 1]))
            --end;
        const std::string_view text = rest_.substr(start, end - start);
        rest_ = {};
        return text;
    }
    bool atEnd()
    {
        std::string_view copy = rest_;
        return nextWord(copy).empty();
    }

private:
    std::string_view rest_;
};

struct Problem {
    std::string what;
};

template <class Number> bool parseWhole(std::string_view word, Number& value)
{
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    return !word.empty() && error == std::errc() && end == word.data() + word.size();
}

std::uint32_t wholeNumber(std::string_view word, std::uint32_t lowest, std::uint32_t highest, const char* what)
{
    std::uint32_t value = 0;
    if (!parseWhole(word, value) || value < lowest || value > highest) {
        throw Problem{std::string(what) + " must be a whole number from " + std::to_string(lowest) + " to " +
                      std::to_string(highest) +
                      (word.empty() ? ", and is missing" : ", not \"" + std::string(word) + "\"")};
    }
    return value;
}

float coordinate(std::string_view word, const char* what)
{
    const Decimal<float> number = parseDecimal<float>(word);
    const float value = number.value;
    if (number.status != DecimalStatus::Ok || std::abs(value) > kLargestCoordinate) {
        throw Problem{std::string(what) + " must be a number of at most 1000000 in size" +
                      (word.empty() ? ", and is missing" : ", not \"" + std::string(word) + "\"")};
    }
    return value;
}

Vec3 vector(LineReader& reader, const char* what)
{
    const float x = coordinate(reader.word(), what);
    const float y = coordinate(reader.word(), what);
    const float z = coordinate(reader.word(), what);
    return {x, y, z};
}

// A piece stands on whole units.
Cell cell(LineReader& reader)
{
    Cell c;
    for (int* value : {&c.x, &c.y, &c.z}) {
        const std::string_view word = reader.word();
        if (!parseWhole(word, *value) || *value < -kLargestWholeCoordinate || *value > kLargestWholeCoordinate) {
            throw Problem{"a coordinate must be a whole number of at most 1000000 in size" +
                          (word.empty() ? std::string(", and is missing") : ", not \"" + std::string(word) + "\"")};
        }
    }
    return c;
}

// Pixels left of or above the view come with a drag that leaves it.
int pixel(std::string_view word, const char* what)
{
    int value = 0;
    if (!parseWhole(word, value) || value < -kLargestPixel || value > kLargestPixel) {
        throw Problem{std::string(what) + " must be a whole number from -65535 to 65535" +
                      (word.empty() ? ", and is missing" : ", not \"" + std::string(word) + "\"")};
    }
    return value;
}

int buttons(std::string_view word)
{
    if (word == "none")
        return 0;
    if (word.empty())
        throw Problem{"the buttons are missing"};
    int flags = 0;
    std::string_view rest = word;
    for (;;) {
        const std::size_t plus = rest.find('+');
        const std::string_view name = rest.substr(0, plus);
        bool known = false;
        for (const ButtonName& button : kButtonNames) {
            if (button.name == name) {
                flags |= button.flag;
                known = true;
            }
        }
        if (!known) {
            throw Problem{
                "buttons are \"none\" or names from left, right, middle, shift and ctrl joined by \"+\", not \"" +
                std::string(word) + "\""};
        }
        if (plus == std::string_view::npos)
            return flags;
        rest = rest.substr(plus + 1);
    }
}

void readKey(std::string_view word, Action& action)
{
    for (const KeyName& name : kKeyNames) {
        if (name.name == word) {
            action.key = name.key;
            return;
        }
    }
    if (word.size() == 1 && static_cast<unsigned char>(word[0]) > ' ' && static_cast<unsigned char>(word[0]) < 0x7F) {
        action.key = word == "h" || word == "H" ? Key::H : Key::Other;
        action.character = word[0];
        return;
    }
    throw Problem{"a key is left, right, up, down, pageup, pagedown, enter, escape, home, other or one character" +
                  (word.empty() ? std::string(", and is missing") : ", not \"" + std::string(word) + "\"")};
}

// A number of the menu table's.
bool isCommand(std::uint32_t id)
{
    return !commandName(static_cast<Command>(id)).empty();
}

int cubeOffset(std::string_view word)
{
    int value = 0;
    if (!parseWhole(word, value) || (value != -10 && value != 0 && value != 10))
        throw Problem{"a cube offset is -10, 0 or 10, not \"" + std::string(word) + "\""};
    return value;
}

struct Verb {
    std::string_view name;
    Action::Kind kind;
};
constexpr Verb kVerbs[] = {
    {"setup", Action::Kind::Setup},      {"seed", Action::Kind::Seed},       {"tick", Action::Kind::Tick},
    {"keydown", Action::Kind::KeyDown},  {"keyup", Action::Kind::KeyUp},     {"key", Action::Kind::Key},
    {"char", Action::Kind::Char},        {"command", Action::Kind::Command}, {"press", Action::Kind::Press},
    {"move", Action::Kind::Move},        {"release", Action::Kind::Release}, {"dblclick", Action::Kind::DoubleClick},
    {"click", Action::Kind::ClickPiece}, {"place", Action::Kind::Place},     {"camera", Action::Kind::Camera},
    {"pieces", Action::Kind::Pieces},    {"task", Action::Kind::Task},       {"new", Action::Kind::New},
    {"retry", Action::Kind::Retry},      {"load", Action::Kind::Load},       {"save", Action::Kind::Save},
    {"state", Action::Kind::State},      {"expect", Action::Kind::Expect},   {"hint", Action::Kind::Hint},
    {"undo", Action::Kind::Undo},        {"redo", Action::Kind::Redo},       {"size", Action::Kind::Size},
    {"code", Action::Kind::Code},        {"daily", Action::Kind::Daily},     {"generate", Action::Kind::Generate},
};

void readMouse(LineReader& reader, Action& action)
{
    action.x = pixel(reader.word(), "X");
    action.y = pixel(reader.word(), "Y");
    action.keys = buttons(reader.word());
}

// The object named after click or dblclick: "piece N" or "roller N".
bool readObject(LineReader& reader, Action& action, std::string_view first)
{
    if (first == "piece") {
        action.number = wholeNumber(reader.word(), 0, kPieceTotal - 1, "the piece");
        return true;
    }
    if (first == "roller") {
        action.number = wholeNumber(reader.word(), 0, kRollerCount - 1, "the roller");
        return true;
    }
    return false;
}

Action readAction(std::string_view line)
{
    LineReader reader(line);
    const std::string_view verb = reader.word();
    Action action;
    bool known = false;
    for (const Verb& entry : kVerbs) {
        if (entry.name == verb) {
            action.kind = entry.kind;
            known = true;
        }
    }
    if (!known)
        throw Problem{"unknown action \"" + std::string(verb) + "\""};

    using Kind = Action::Kind;
    switch (action.kind) {
    case Kind::Setup:
    case Kind::Seed: action.number = wholeNumber(reader.word(), 0, 4294967295u, "the seed"); break;
    case Kind::Tick:
        action.number = reader.atEnd() ? 1 : wholeNumber(reader.word(), 0, kMostTicksPerLine, "the number of ticks");
        break;
    case Kind::KeyDown:
    case Kind::Key:
        readKey(reader.word(), action);
        if (!reader.atEnd()) {
            const std::string_view word = reader.word();
            if (word != "shift")
                throw Problem{"only \"shift\" may follow the key, not \"" + std::string(word) + "\""};
            action.shift = true;
        }
        break;
    case Kind::KeyUp: readKey(reader.word(), action); break;
    case Kind::Char: {
        const std::string_view word = reader.word();
        if (word.size() != 1)
            throw Problem{"char takes one character"};
        action.character = word[0];
        break;
    }
    case Kind::Command: {
        const std::string_view word = reader.word();
        if (const std::optional<Command> named = commandNamed(word)) {
            action.number = static_cast<std::uint32_t>(*named);
            break;
        }
        if (!word.empty() && (word[0] < '0' || word[0] > '9'))
            throw Problem{"unknown command \"" + std::string(word) +
                          "\"; the commands are named as the README lists them"};
        action.number = wholeNumber(word, 0, 65535, "the command");
        if (!isCommand(action.number))
            throw Problem{"no menu command has the number " + std::to_string(action.number)};
        break;
    }
    case Kind::Press:
    case Kind::Move:
    case Kind::Release: readMouse(reader, action); break;
    case Kind::DoubleClick: {
        LineReader look = reader;
        const std::string_view first = look.word();
        if (first == "piece") {
            reader = look;
            action.kind = Kind::DoubleClickPiece;
            readObject(reader, action, first);
        } else {
            readMouse(reader, action);
        }
        break;
    }
    case Kind::ClickPiece: {
        const std::string_view first = reader.word();
        if (!readObject(reader, action, first))
            throw Problem{"click takes \"piece N\" or \"roller N\""};
        if (first == "roller") {
            action.kind = Kind::ClickRoller;
        } else if (!reader.atEnd()) {
            const std::string_view word = reader.word();
            if (word != "right")
                throw Problem{"only \"right\" may follow the piece, not \"" + std::string(word) + "\""};
            action.shift = true;
        }
        break;
    }
    case Kind::Place: {
        action.number = wholeNumber(reader.word(), 0, kPieceTotal - 1, "the piece");
        action.cell = cell(reader);
        LineReader look = reader;
        const std::string_view word = look.word();
        if (word == "falling" || word == "resting") {
            action.falling = word == "falling";
            reader = look;
        }
        if (!reader.atEnd()) {
            CubeOffsets offsets{};
            for (Cell& offset : offsets) {
                const int x = cubeOffset(reader.word());
                const int y = cubeOffset(reader.word());
                const int z = cubeOffset(reader.word());
                offset = {x, y, z};
            }
            action.offsets = offsets;
        }
        break;
    }
    case Kind::Camera:
        action.position = vector(reader, "a camera coordinate");
        action.direction = vector(reader, "a camera coordinate");
        action.up = vector(reader, "a camera coordinate");
        if (action.direction == Vec3{} || action.up == Vec3{})
            throw Problem{"the camera's direction and up must not be zero"};
        break;
    case Kind::Pieces: action.number = wholeNumber(reader.word(), 0, kPieceTotal, "the piece count"); break;
    case Kind::Task: {
        const std::string_view word = reader.word();
        if (word != "builtin" && word != "none")
            throw Problem{"task takes \"builtin\" or \"none\""};
        action.builtin = word == "builtin";
        break;
    }
    case Kind::Load:
    case Kind::Save:
    case Kind::Code:
        action.text = std::string(reader.restOfLine());
        // A quoted file name (or link) may hold '#' and begin or end with blanks.
        if (action.text.size() >= 2 && action.text.front() == '"' && action.text.back() == '"')
            action.text = action.text.substr(1, action.text.size() - 2);
        if (action.text.empty())
            throw Problem{std::string(verb) + (action.kind == Kind::Code ? " needs a task code" : " needs a file")};
        break;
    case Kind::Daily: {
        const std::string_view word = reader.word();
        const DateRead read = readDate(word);
        if (!read.date)
            throw Problem{"daily takes a day, YYYY-MM-DD from 2000 to 2999, and \"" + std::string(word) + "\" is " +
                          std::string(dateProblemText(read.problem))};
        action.request = {.kind = TaskRequest::Kind::Daily, .date = *read.date};
        break;
    }
    case Kind::Generate: {
        const std::string_view word = reader.word();
        const std::optional<Difficulty> difficulty = difficultyNamed(word);
        if (!difficulty)
            throw Problem{"generate takes a difficulty, easy, medium, hard or unique, not \"" + std::string(word) +
                          "\""};
        action.request = {.difficulty = *difficulty, .seed = wholeNumber(reader.word(), 0, 4294967295u, "the seed")};
        break;
    }
    case Kind::Expect:
        action.text = std::string(reader.word());
        action.value = withoutBlanks(reader.restOfLine());
        if (action.text.empty() || action.value.empty())
            throw Problem{"expect takes a path into the state and the value expected there"};
        break;
    case Kind::Size:
        action.x = static_cast<int>(wholeNumber(reader.word(), 1, kLargestViewSide, "the width"));
        action.y = static_cast<int>(wholeNumber(reader.word(), 1, kLargestViewSide, "the height"));
        break;
    case Kind::New:
    case Kind::Retry:
    case Kind::Undo:
    case Kind::Redo:
    case Kind::Hint:
    case Kind::State:
    case Kind::DoubleClickPiece:
    case Kind::ClickRoller: break;
    }
    if (!reader.atEnd())
        throw Problem{"too many arguments for " + std::string(verb)};
    return action;
}

}  // namespace

std::string keyName(Key key, char typed)
{
    if (key == Key::H)
        return "h";
    if (key == Key::Other && typed >= '0' && typed <= '9')
        return std::string(1, typed);
    for (const KeyName& name : kKeyNames) {
        if (name.key == key)
            return std::string(name.name);
    }
    return "other";
}

std::string scriptCommandName(Command command)
{
    const std::string_view name = commandName(command);
    return name.empty() ? std::to_string(static_cast<int>(command)) : std::string(name);
}

std::string buttonsName(int keys)
{
    std::string name;
    for (const ButtonName& button : kButtonNames) {
        if (keys & button.flag)
            name += (name.empty() ? "" : "+") + std::string(button.name);
    }
    return name.empty() ? "none" : name;
}

Script parseScript(std::string_view text)
{
    Script script;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        const std::string_view line = withoutComment(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        LineReader probe(line);
        if (probe.atEnd())
            continue;
        try {
            Action action = readAction(line);
            action.line = lineNumber;
            script.actions.push_back(std::move(action));
        } catch (const Problem& problem) {
            script.actions.clear();
            script.errorLine = lineNumber;
            script.error = problem.what;
            return script;
        }
    }
    return script;
}

}  // namespace vokta::play
