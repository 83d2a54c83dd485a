#include "shell/menus.h"

#include <array>
#include <span>

#include "shell/words.h"

namespace vokta {

namespace {

constexpr std::string_view kMenuContext = "Menu";
constexpr std::string_view kPopupContext = "Help popup";

consteval Words menuWords(std::string_view english)
{
    return Words(kMenuContext, english);
}

consteval Words popupWords(std::string_view english)
{
    return Words(kPopupContext, english);
}

// What an item's check mark shows.
enum class Check { None, SolidFigure, DistinctColours, PieceNumbers };

// What greys an item out.
enum class Needs { Nothing, SomethingToUndo, SomethingToRedo };

// One item as the English interface shows it; the Russian words come from
// vokta_ru.ts. After a tab, the keys that do the same.
struct MenuItem {
    Command command;
    std::string_view name;  // in scripts and recordings
    Words text;
    bool separatorBefore = false;
    Check check = Check::None;
    Needs needs = Needs::Nothing;
    std::optional<Words> popup = std::nullopt;  // F1's pop-up; without one, F1 opens the contents
};

struct Menu {
    Words title;
    bool needsSelection;
    std::span<const MenuItem> items;
};

constexpr Words kPopupNew =
    popupWords("<p><b>New</b></p><p>Makes the figure disappear and scatters the pieces again. Nothing is "
               "tested for completion, so you can build any shape you like and save it as a new task.</p>");
constexpr Words kPopupRetry =
    popupWords("<p><b>Retry</b></p><p>Scatters the pieces again for another try at the same task. A task "
               "already reported complete is not reported again.</p>");
constexpr Words kPopupLoad =
    popupWords("<p><b>Load...</b></p><p>Opens a task file (<tt>.tsk</tt>). The pieces are scattered and "
               "the figure from the file becomes the task to solve.</p>");
constexpr Words kPopupSave =
    popupWords("<p><b>Save...</b></p><p>Saves the current arrangement of the pieces as a task file. When "
               "it is loaded later, the shape becomes the figure to fill. After New it first says how many ways "
               "there are to fill the figure built and how hard a task that makes. Today's task and a random "
               "task are saved as themselves.</p>");
constexpr Words kPopupShareTask =
    popupWords("<p><b>Share task...</b>: shows the code of the current task, a short text of letters and digits "
               "that stands for its figure and its pieces, to send to a friend: Open task code... in their game "
               "opens the very same task. In the browser it also shows the task's link, with a button that copies "
               "it.</p>");
constexpr Words kPopupOpenTaskCode =
    popupWords("<p><b>Open task code...</b>: opens the task of a code or a link that Share task... gave. The "
               "pieces are scattered and the code's figure becomes the task; Undo takes it back. A damaged code "
               "is refused with a message that says what is wrong, and nothing changes.</p>");
constexpr Words kPopupLibrary =
    popupWords("<p><b>Library...</b>: shows the tasks that come with the game, each with a picture of its "
               "figure, its name and how hard it is (easy, medium or hard, by how many ways it can be "
               "solved). Open one, or double-click it, to make it the task.</p>");
constexpr Words kPopupTodaysTask =
    popupWords("<p><b>Today's task</b>: a new task every day, the same for every player on that day (the day "
               "in UTC), with exactly one way to solve it. The library shows it first, with how many days in a "
               "row you have solved the day's task. Save... writes it as a task file to share.</p>");
constexpr Words kPopupRandomTask =
    popupWords("<p><b>Random task...</b>: makes a new task as hard as you choose: easy (300 or more ways to "
               "solve it), medium (20 to 299), hard (2 to 19) or unique (exactly one). None is a task of the "
               "library, and each can be built by putting the pieces down one by one. Save... writes it as a "
               "task file to share.</p>");
constexpr Words kPopupSolid =
    popupWords("<p><b>Solid</b></p><p>Shows the figure as solid shaded cubes instead of a white wire "
               "frame; choose it again to go back. The choice stays when another task is loaded.</p>");
constexpr Words kPopupHint =
    popupWords("<p><b>Hint</b> (key H): shows one piece that is not yet in its place as a see-through "
               "ghost in its own colour, at its place in a solution that keeps every piece already inside "
               "the figure where it is. The ghost goes at your next action. If no solution keeps those "
               "pieces, the piece to take out is selected; if the task has no solution at all, Hint says "
               "so.</p>");
constexpr Words kPopupDescribe =
    popupWords("<p><b>Describe</b> (key D): says the scene in words, for a screen reader: the figure layer by "
               "layer from the floor up, each row's cells with the piece that fills each or empty, then every "
               "piece not in the figure and where it is. Columns count from the left, rows from the back, as "
               "you look. After every key the game says what changed.</p>");
constexpr Words kPopupUndo =
    popupWords("<p><b>Undo</b> (Ctrl+Z): takes back your last step, a move, a turn, a whole drag, letting "
               "a piece go, New, Retry or Load, and puts the pieces, the selection and the task exactly as "
               "they were before it. Selecting a piece is no step; the view stays as it is. Grey when "
               "there is nothing to undo.</p>");
constexpr Words kPopupRedo =
    popupWords("<p><b>Redo</b> (Ctrl+Y or Ctrl+Shift+Z): takes the step you undid again. A new step after "
               "an undo drops what could have been redone. Grey when there is nothing to redo.</p>");
constexpr Words kPopupResetView =
    popupWords("<p><b>Reset view</b> (Home): brings the camera back to the view the game starts with and "
               "stops it.</p>");
constexpr Words kPopupDistinctColours =
    popupWords("<p><b>Distinct colours</b></p><p>Shows the pieces, the selected piece, the floor and the "
               "background in colours chosen to stay apart for normal vision and for red-blind, "
               "green-blind and blue-blind eyes alike; the floor no longer has the colour of a piece. "
               "Choose it again for the game's own colours. The choice is kept for the next start.</p>");
constexpr Words kPopupPieceNumbers =
    popupWords("<p><b>Piece numbers</b></p><p>Shows on every side of each piece the digit whose key "
               "selects it, 1 to 7; the number turns with the piece. Choose it again to hide the numbers. "
               "The choice is kept for the next start.</p>");
constexpr Words kPopupLanguage =
    popupWords("<p><b>Russian / English</b></p><p>Switches the whole interface (menus, dialogs, messages "
               "and help) to the other language at once. The choice is remembered at the next start.</p>");

constexpr MenuItem kTaskItems[] = {
    {Command::New, "new", menuWords("New"), false, Check::None, Needs::Nothing, kPopupNew},
    {Command::Retry, "retry", menuWords("Retry"), false, Check::None, Needs::Nothing, kPopupRetry},
    {Command::Load, "load", menuWords("Load..."), false, Check::None, Needs::Nothing, kPopupLoad},
    {Command::Save, "save", menuWords("Save..."), false, Check::None, Needs::Nothing, kPopupSave},
    {Command::ShareTask, "share-task", menuWords("Share task..."), false, Check::None, Needs::Nothing, kPopupShareTask},
    {Command::OpenTaskCode, "open-task-code", menuWords("Open task code..."), false, Check::None, Needs::Nothing,
     kPopupOpenTaskCode},
    {Command::Library, "library", menuWords("Library..."), false, Check::None, Needs::Nothing, kPopupLibrary},
    {Command::TodaysTask, "todays-task", menuWords("Today's task"), false, Check::None, Needs::Nothing,
     kPopupTodaysTask},
    {Command::RandomTask, "random-task", menuWords("Random task..."), false, Check::None, Needs::Nothing,
     kPopupRandomTask},
    {Command::Solid, "solid", menuWords("Solid"), true, Check::SolidFigure, Needs::Nothing, kPopupSolid},
    {Command::Hint, "hint", menuWords("Hint\tH"), true, Check::None, Needs::Nothing, kPopupHint},
    {Command::Describe, "describe", menuWords("Describe\tD"), false, Check::None, Needs::Nothing, kPopupDescribe},
    {Command::Undo, "undo", menuWords("Undo\tCtrl+Z"), true, Check::None, Needs::SomethingToUndo, kPopupUndo},
    {Command::Redo, "redo", menuWords("Redo\tCtrl+Y"), false, Check::None, Needs::SomethingToRedo, kPopupRedo},
    {Command::ResetView, "reset-view", menuWords("Reset view\tHome"), false, Check::None, Needs::Nothing,
     kPopupResetView},
    {Command::DistinctColours, "distinct-colours", menuWords("Distinct colours"), true, Check::DistinctColours,
     Needs::Nothing, kPopupDistinctColours},
    {Command::PieceNumbers, "piece-numbers", menuWords("Piece numbers"), false, Check::PieceNumbers, Needs::Nothing,
     kPopupPieceNumbers},
};

constexpr MenuItem kPieceItems[] = {
    {Command::MoveLeft, "move-left", menuWords("Move Left\tLeft")},
    {Command::MoveRight, "move-right", menuWords("Move Right\tRight")},
    {Command::MoveUp, "move-up", menuWords("Move Up\tPageUp")},
    {Command::MoveDown, "move-down", menuWords("Move Down\tPageDown")},
    {Command::MoveForward, "move-forward", menuWords("Move forward\tUp")},
    {Command::MoveBackward, "move-backward", menuWords("Move Backward\tDown")},
    {Command::TurnLeft, "turn-left", menuWords("Turn Left\tShift+Left"), true},
    {Command::TurnRight, "turn-right", menuWords("Turn Right\tShift+Right")},
    {Command::TurnCounterclockwise, "turn-counterclockwise", menuWords("Turn Counterclockwise\tShift+PageUp")},
    {Command::TurnClockwise, "turn-clockwise", menuWords("Turn Clockwise\tShift+PageDown")},
    {Command::TurnForward, "turn-forward", menuWords("Turn Forward\tShift+Up")},
    {Command::TurnBackward, "turn-backward", menuWords("Turn Backward\tShift+Down")},
};

constexpr MenuItem kHelpItems[] = {
    {Command::About, "about", menuWords("About")},
    {Command::HelpIndex, "help-index", menuWords("Index")},
    {Command::KeyboardHelp, "keyboard-help", menuWords("Keyboard controls")},
    {Command::MouseHelp, "mouse-help", menuWords("Mouse controls")},
};

constexpr Menu kMenuBar[] = {
    {menuWords("&Task"), false, kTaskItems},
    {menuWords("&Vokta"), true, kPieceItems},
    {menuWords("&Help"), false, kHelpItems},
};

// The last Help item offers the other language, named in its own words, so
// that a player who cannot read the one on show finds the way back. Only
// the Russian menu's "English" has a pop-up.
struct LanguageItem {
    Command command;
    std::string_view name;
    std::string_view text;
};
constexpr LanguageItem kToRussian{Command::Russian, "russian", "Russian"};
constexpr LanguageItem kToEnglish{Command::English, "english", "English"};

std::pair<std::string, std::string> textAndKeys(std::string_view shown)
{
    const std::size_t tab = shown.find('\t');
    if (tab == std::string_view::npos)
        return {std::string(shown), {}};
    return {std::string(shown.substr(0, tab)), std::string(shown.substr(tab + 1))};
}

bool checked(Check check, const MenuState& state)
{
    switch (check) {
    case Check::None: return false;
    case Check::SolidFigure: return state.solidFigure;
    case Check::DistinctColours: return state.distinctColours;
    case Check::PieceNumbers: return state.pieceNumbers;
    }
    return false;
}

bool enabled(Needs needs, const MenuState& state)
{
    switch (needs) {
    case Needs::Nothing: return true;
    case Needs::SomethingToUndo: return state.canUndo;
    case Needs::SomethingToRedo: return state.canRedo;
    }
    return true;
}

const MenuItem* findItem(Command command)
{
    for (const Menu& menu : kMenuBar) {
        for (const MenuItem& item : menu.items) {
            if (item.command == command)
                return &item;
        }
    }
    return nullptr;
}

}  // namespace

std::vector<ShownMenu> menuBar(Language language, const MenuState& state)
{
    std::vector<ShownMenu> bar;
    for (const Menu& menu : kMenuBar) {
        ShownMenu shown{std::string(menu.title.in(language)), !menu.needsSelection || state.pieceSelected, {}};
        for (const MenuItem& item : menu.items) {
            auto [text, keys] = textAndKeys(item.text.in(language));
            shown.items.push_back({.command = item.command,
                                   .text = std::move(text),
                                   .keys = std::move(keys),
                                   .separatorBefore = item.separatorBefore,
                                   .checkable = item.check != Check::None,
                                   .checked = checked(item.check, state),
                                   .enabled = enabled(item.needs, state),
                                   .hasHelpPopup = item.popup.has_value()});
        }
        bar.push_back(std::move(shown));
    }
    const LanguageItem& other = language == Language::English ? kToRussian : kToEnglish;
    bar.back().items.push_back({.command = other.command,
                                .text = std::string(other.text),
                                .separatorBefore = true,
                                .hasHelpPopup = other.command == Command::English});
    return bar;
}

std::string_view commandName(Command command)
{
    if (const MenuItem* item = findItem(command))
        return item->name;
    for (const LanguageItem& item : {kToRussian, kToEnglish}) {
        if (item.command == command)
            return item.name;
    }
    return {};
}

std::optional<Command> commandNamed(std::string_view name)
{
    for (const Menu& menu : kMenuBar) {
        for (const MenuItem& item : menu.items) {
            if (item.name == name)
                return item.command;
        }
    }
    for (const LanguageItem& item : {kToRussian, kToEnglish}) {
        if (item.name == name)
            return item.command;
    }
    return std::nullopt;
}

std::optional<std::string_view> helpPopup(Command command, Language language)
{
    if (command == Command::English)
        return kPopupLanguage.in(language);
    const MenuItem* item = findItem(command);
    if (!item || !item->popup)
        return std::nullopt;
    return item->popup->in(language);
}

std::string_view helpPage(Command command)
{
    switch (command) {
    case Command::KeyboardHelp: return "keyboard.html";
    case Command::MouseHelp: return "mouse.html";
    default: return "index.html";
    }
}

std::string_view helpFolder(Language language)
{
    return language == Language::Russian ? "ru/" : "en/";
}

}  // namespace vokta
