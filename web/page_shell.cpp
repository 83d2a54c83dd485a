#include "web/page_shell.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "play/json.h"
#include "puzzle/controller/commands.h"
#include "puzzle/rules/task_library.h"

namespace vokta::web {

namespace {

using play::Json;

constexpr std::string_view kMenuContext = "Menu";
constexpr std::string_view kLibraryContext = "vokta::LibraryDialog";
constexpr std::string_view kHelpContext = "Help";
constexpr int kSeparator = 0;

struct MenuItem {
    int command;            // kSeparator for a line between items
    std::string_view text;  // as the desktop's menus write it: the key hint after a tab
};

struct Popup {
    std::string_view title;  // '&' before the mnemonic
    std::vector<MenuItem> items;
};

constexpr int id(Command command)
{
    return static_cast<int>(command);
}

// The desktop's menu bar (app/menus.cpp), item for item and in its order;
// the last Help item, which offers the other language, follows the table.
const std::vector<Popup>& menuTable()
{
    static const std::vector<Popup> table = {
        {"&Task",
         {
             {id(Command::New), "New"},
             {id(Command::Retry), "Retry"},
             {id(Command::Load), "Load..."},
             {id(Command::Save), "Save..."},
             {id(Command::Library), "Library..."},
             {kSeparator, {}},
             {id(Command::Solid), "Solid"},
             {kSeparator, {}},
             {id(Command::Hint), "Hint\tH"},
             {kSeparator, {}},
             {id(Command::Undo), "Undo\tCtrl+Z"},
             {id(Command::Redo), "Redo\tCtrl+Y"},
             {id(Command::ResetView), "Reset view\tHome"},
             {kSeparator, {}},
             {id(Command::DistinctColours), "Distinct colours"},
             {id(Command::PieceNumbers), "Piece numbers"},
         }},
        {"&Vokta",
         {
             {id(Command::MoveLeft), "Move Left\tLeft"},
             {id(Command::MoveRight), "Move Right\tRight"},
             {id(Command::MoveUp), "Move Up\tPageUp"},
             {id(Command::MoveDown), "Move Down\tPageDown"},
             {id(Command::MoveForward), "Move forward\tUp"},
             {id(Command::MoveBackward), "Move Backward\tDown"},
             {kSeparator, {}},
             {id(Command::TurnLeft), "Turn Left\tShift+Left"},
             {id(Command::TurnRight), "Turn Right\tShift+Right"},
             {id(Command::TurnCounterclockwise), "Turn Counterclockwise\tShift+PageUp"},
             {id(Command::TurnClockwise), "Turn Clockwise\tShift+PageDown"},
             {id(Command::TurnForward), "Turn Forward\tShift+Up"},
             {id(Command::TurnBackward), "Turn Backward\tShift+Down"},
         }},
        {"&Help",
         {
             {id(Command::About), "About"},
             {id(Command::HelpIndex), "Index"},
             {id(Command::KeyboardHelp), "Keyboard controls"},
             {id(Command::MouseHelp), "Mouse controls"},
             {kSeparator, {}},
         }},
    };
    return table;
}

// The items that carry a check mark.
bool isCheckable(int command)
{
    return command == id(Command::Solid) || command == id(Command::DistinctColours) ||
        command == id(Command::PieceNumbers);
}

Json menuItem(int command, std::string_view shown)
{
    // "Hint\tH": the text, and the key hint shown at the right.
    const std::size_t tab = shown.find('\t');
    return Json::object()
        .set("command", Json::integer(command))
        .set("text", Json::string(shown.substr(0, tab)))
        .set("keys", Json::string(tab == std::string_view::npos ? std::string_view() : shown.substr(tab + 1)))
        .set("checkable", Json::boolean(isCheckable(command)));
}

// The standard buttons' words, which the desktop takes from Qt's own
// translation rather than from the game's.
struct StandardButton {
    std::string_view key;
    std::string_view english;
    std::string_view russian;
};
constexpr StandardButton kStandardButtons[] = {
    {"ok", "OK", "OK"},
    {"open", "Open", "\xD0\x9E\xD1\x82\xD0\xBA\xD1\x80\xD1\x8B\xD1\x82\xD1\x8C"},  // Открыть
    {"cancel", "Cancel", "\xD0\x9E\xD1\x82\xD0\xBC\xD0\xB5\xD0\xBD\xD0\xB0"},      // Отмена
};

}  // namespace

// text with "%1", "%2", ... replaced by arguments, in one pass.
std::string withArguments(std::string_view text, const std::vector<std::string>& arguments)
{
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] == '%' && next >= '1' && next < '1' + static_cast<int>(arguments.size())) {
            result += arguments[static_cast<std::size_t>(next - '1')];
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

namespace {

// "1:05": minutes and seconds, as the desktop's library shows the best time.
std::string minutesAndSeconds(std::int64_t ms)
{
    const std::int64_t seconds = ms / 1000;
    const std::int64_t inMinute = seconds % 60;
    return std::to_string(seconds / 60) + (inMinute < 10 ? ":0" : ":") + std::to_string(inMinute);
}

}  // namespace

bool hasHelpPopup(Command command)
{
    constexpr Command kPopups[] = {
        Command::New,          Command::Load,  Command::Save,      Command::Solid,
        Command::English,      Command::Retry, Command::Hint,      Command::Library,
        Command::Undo,         Command::Redo,  Command::ResetView, Command::DistinctColours,
        Command::PieceNumbers,
    };
    return std::find(std::begin(kPopups), std::end(kPopups), command) != std::end(kPopups);
}

Language languageNamed(std::string_view name)
{
    return name == "Russian" ? Language::Russian : Language::English;
}

std::string shellTexts(Language language)
{
    const auto in = [language](std::string_view context, std::string_view english) {
        return Json::string(translate(language, context, english));
    };
    Json menus = Json::array();
    for (const Popup& popup : menuTable()) {
        Json items = Json::array();
        for (const MenuItem& item : popup.items) {
            if (item.command == kSeparator)
                items.push(Json::null());
            else
                items.push(menuItem(item.command, translate(language, kMenuContext, item.text)));
        }
        menus.push(Json::object().set("title", in(kMenuContext, popup.title)).set("items", std::move(items)));
    }
    // The other language, named in its own words, as on the desktop.
    const bool english = language == Language::English;
    Json languageItem = english ? menuItem(id(Command::Russian), "Russian") : menuItem(id(Command::English), "English");
    Json buttons = Json::object();
    for (const StandardButton& button : kStandardButtons)
        buttons.set(std::string(button.key), Json::string(english ? button.english : button.russian));
    return Json::object()
        .set("language", Json::string(english ? "English" : "Russian"))
        .set("menus", std::move(menus))
        .set("languageItem", std::move(languageItem))
        .set("helpFolder", Json::string(english ? "help/en/" : "help/ru/"))
        .set("about", Json::string(english ? "pictures/about-en.png" : "pictures/about-ru.png"))
        // The start dialog is always English, as on the desktop.
        .set("start",
             Json::object()
                 .set("start", Json::string("START"))
                 .set("help", Json::string("HELP"))
                 .set("quit", Json::string("QUIT")))
        .set("help",
             Json::object()
                 .set("caption", in(kHelpContext, "Vokta Help"))
                 .set("contents", in(kHelpContext, "Contents"))
                 .set("back", in(kHelpContext, "Back")))
        .set("library", Json::object().set("caption", in(kLibraryContext, "Task library")))
        .set("buttons", std::move(buttons))
        .text();
}

std::vector<LibraryEntry> readPageLibrary(const std::string& folder, Language language, const Progress& progress,
                                          std::vector<Task>& tasks)
{
    std::vector<LibraryEntry> entries;
    std::ifstream index(folder + "/index.txt", std::ios::binary);
    if (!index)
        return entries;
    const std::string text((std::istreambuf_iterator<char>(index)), std::istreambuf_iterator<char>());
    for (const IndexLine& line : parseLibraryIndex(text)) {
        if (line.fields.size() < kIndexFields)
            continue;
        const std::string file = folder + "/" + line.field(IndexField::File);
        const TaskFileRead read = readTaskFile(file);
        if (!read.task)
            continue;
        const std::string& difficulty = line.field(IndexField::Difficulty);
        const std::string_view level = difficulty == "easy" ? "easy" : difficulty == "medium" ? "medium" : "hard";
        const std::optional<TaskRecord> best = progress.find(taskKey(*read.task));
        entries.push_back({
            .file = file,
            .name = line.field(language == Language::Russian ? IndexField::Russian : IndexField::English),
            .difficulty = std::string(translate(language, kLibraryContext, level)),
            .solutions = withArguments(translate(language, kLibraryContext, "%1 ways to solve it"),
                                       {line.field(IndexField::Solutions)}),
            .record = best ? withArguments(translate(language, kLibraryContext, "moves: %1, time: %2"),
                                           {std::to_string(best->fewestMoves), minutesAndSeconds(best->shortestMs)})
                           : std::string(),
        });
        tasks.push_back(*read.task);
    }
    return entries;
}

std::string libraryJson(const std::vector<LibraryEntry>& entries)
{
    Json list = Json::array();
    for (const LibraryEntry& entry : entries) {
        list.push(Json::object()
                      .set("name", Json::string(entry.name))
                      .set("difficulty", Json::string(entry.difficulty))
                      .set("solutions", Json::string(entry.solutions))
                      .set("record", entry.record.empty() ? Json::null() : Json::string(entry.record)));
    }
    return list.text();
}

}  // namespace vokta::web
