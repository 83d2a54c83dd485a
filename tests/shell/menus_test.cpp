// The menu bar as every front end shows it: the words of both languages,
// the keys, separators, checks, grey items, F1's pop-ups, the names scripts
// use, all from the one table.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/menus.h"

namespace vokta {
namespace {

// What a player reads, item by item ('|' before a separator's item, a tab
// before the keys).
struct Expected {
    std::string title;
    std::vector<std::string> items;
};

const std::vector<Expected> kEnglish = {
    {"&Task",
     {"New", "Retry", "Load...", "Save...", "Share task...", "Open task code...", "Library...", "Today's task",
      "Random task...", "|Solid", "|Hint\tH", "Describe\tD", "|Undo\tCtrl+Z", "Redo\tCtrl+Y", "Reset view\tHome",
      "|Distinct colours", "Piece numbers"}},
    {"&Vokta",
     {"Move Left\tLeft", "Move Right\tRight", "Move Up\tPageUp", "Move Down\tPageDown", "Move forward\tUp",
      "Move Backward\tDown", "|Turn Left\tShift+Left", "Turn Right\tShift+Right", "Turn Counterclockwise\tShift+PageUp",
      "Turn Clockwise\tShift+PageDown", "Turn Forward\tShift+Up", "Turn Backward\tShift+Down"}},
    {"&Help", {"About", "Index", "Keyboard controls", "Mouse controls", "|Russian"}},
};
const std::vector<Expected> kRussian = {
    {"&Задача",
     {"Новая", "Разломать", "Загрузить...", "Сохранить...", "Поделиться задачей...", "Открыть код задачи...",
      "Библиотека...", "Задача дня", "Случайная задача...", "|Сплошной вид", "|Подсказка\tH", "Описать\tD",
      "|Отменить\tCtrl+Z", "Повторить\tCtrl+Y", "Исходный вид\tHome", "|Различимые цвета", "Номера фигур"}},
    {"&Вокта",
     {"Сдвинуть влево\tLeft", "Сдвинуть вправо\tRight", "Сдвинуть вверх\tPageUp", "Сдвинуть вниз\tPageDown",
      "Сдвинуть вперед\tUp", "Сдвинуть назад\tDown", "|Поворот влево\tShift+Left", "Поворот вправо\tShift+Right",
      "Поворот против часовой\tShift+PageUp", "Поворот по часовой\tShift+PageDown", "Поворот вперед\tShift+Up",
      "Поворот назад\tShift+Down"}},
    {"&Помощь", {"О программе", "Индекс", "Управление клавиатурой", "Управление мышью", "|English"}},
};

std::vector<Expected> read(const std::vector<ShownMenu>& menus)
{
    std::vector<Expected> shown;
    for (const ShownMenu& menu : menus) {
        Expected words{menu.title, {}};
        for (const ShownItem& item : menu.items)
            words.items.push_back((item.separatorBefore ? "|" : "") + item.text +
                                  (item.keys.empty() ? "" : "\t" + item.keys));
        shown.push_back(words);
    }
    return shown;
}

TEST(Menus, EveryWordInBothLanguages)
{
    for (const auto& [language, expected] :
         {std::pair{Language::English, kEnglish}, std::pair{Language::Russian, kRussian}}) {
        const std::vector<Expected> shown = read(menuBar(language, {}));
        ASSERT_EQ(shown.size(), expected.size());
        for (std::size_t m = 0; m < shown.size(); ++m) {
            EXPECT_EQ(shown[m].title, expected[m].title);
            EXPECT_EQ(shown[m].items, expected[m].items) << expected[m].title;
        }
    }
}

// Each state the menus show, alone, in either language: the piece menu
// open only with a piece selected, the three check marks, Undo and Redo
// grey without a step.
TEST(Menus, ChecksAndGreyItemsFollowTheGameAndTheOptions)
{
    const auto find = [](const std::vector<ShownMenu>& menus, Command command) {
        for (const ShownMenu& menu : menus) {
            for (const ShownItem& item : menu.items) {
                if (item.command == command)
                    return item;
            }
        }
        ADD_FAILURE() << static_cast<int>(command);
        return ShownItem{};
    };
    for (const Language language : {Language::English, Language::Russian}) {
        const std::vector<ShownMenu> none = menuBar(language, {});
        EXPECT_TRUE(none[0].enabled && !none[1].enabled && none[2].enabled);
        EXPECT_FALSE(find(none, Command::Undo).enabled || find(none, Command::Redo).enabled);
        for (const Command command : {Command::Solid, Command::DistinctColours, Command::PieceNumbers}) {
            EXPECT_TRUE(find(none, command).checkable);
            EXPECT_FALSE(find(none, command).checked);
        }
        EXPECT_FALSE(find(none, Command::New).checkable);

        EXPECT_TRUE(menuBar(language, {.pieceSelected = true})[1].enabled);
        EXPECT_TRUE(find(menuBar(language, {.solidFigure = true}), Command::Solid).checked);
        EXPECT_TRUE(find(menuBar(language, {.canUndo = true}), Command::Undo).enabled);
        EXPECT_FALSE(find(menuBar(language, {.canUndo = true}), Command::Redo).enabled);
        EXPECT_TRUE(find(menuBar(language, {.canRedo = true}), Command::Redo).enabled);
        EXPECT_TRUE(find(menuBar(language, {.distinctColours = true}), Command::DistinctColours).checked);
        EXPECT_FALSE(find(menuBar(language, {.distinctColours = true}), Command::PieceNumbers).checked);
        EXPECT_TRUE(find(menuBar(language, {.pieceNumbers = true}), Command::PieceNumbers).checked);
    }
}

// F1: sixteen items have a pop-up of their own, which names the item in
// the interface's language; the others open the help's contents.
TEST(Menus, HelpPopupsAndPages)
{
    const Command withPopup[] = {
        Command::New,          Command::Retry,        Command::Load,      Command::Save,
        Command::ShareTask,    Command::OpenTaskCode, Command::Library,   Command::TodaysTask,
        Command::RandomTask,   Command::Solid,        Command::Hint,      Command::Describe,
        Command::Undo,         Command::Redo,         Command::ResetView, Command::DistinctColours,
        Command::PieceNumbers, Command::English,
    };
    for (const Command command : withPopup) {
        for (const Language language : {Language::English, Language::Russian}) {
            const std::optional<std::string_view> popup = helpPopup(command, language);
            ASSERT_TRUE(popup) << static_cast<int>(command);
            EXPECT_EQ(popup->substr(0, 6), "<p><b>");
        }
        EXPECT_NE(helpPopup(command, Language::English), helpPopup(command, Language::Russian));
    }
    EXPECT_NE(helpPopup(Command::Solid, Language::Russian)->find("Сплошной вид"), std::string_view::npos);
    EXPECT_NE(helpPopup(Command::Solid, Language::English)->find("<b>Solid</b>"), std::string_view::npos);
    for (const Command command : {Command::About, Command::MoveLeft, Command::TurnBackward, Command::Russian})
        EXPECT_FALSE(helpPopup(command, Language::English)) << static_cast<int>(command);
    for (const ShownMenu& menu : menuBar(Language::Russian, {})) {
        for (const ShownItem& item : menu.items)
            EXPECT_EQ(item.hasHelpPopup, helpPopup(item.command, Language::Russian).has_value()) << item.text;
    }
    EXPECT_EQ(helpPage(Command::KeyboardHelp), "keyboard.html");
    EXPECT_EQ(helpPage(Command::MouseHelp), "mouse.html");
    EXPECT_EQ(helpPage(Command::HelpIndex), "index.html");
    EXPECT_EQ(helpPage(Command::Solid), "index.html");
    EXPECT_EQ(helpFolder(Language::Russian), "ru/");
}

// The names scripts and recordings use: one per command, both ways round.
TEST(Menus, EveryCommandHasOneNameForScripts)
{
    const struct {
        Command command;
        const char* name;
    } table[] = {
        {Command::New, "new"},
        {Command::Library, "library"},
        {Command::TodaysTask, "todays-task"},
        {Command::RandomTask, "random-task"},
        {Command::ShareTask, "share-task"},
        {Command::OpenTaskCode, "open-task-code"},
        {Command::ResetView, "reset-view"},
        {Command::Describe, "describe"},
        {Command::DistinctColours, "distinct-colours"},
        {Command::TurnCounterclockwise, "turn-counterclockwise"},
        {Command::HelpIndex, "help-index"},
        {Command::English, "english"},
        {Command::Russian, "russian"},
    };
    for (const auto& row : table) {
        EXPECT_EQ(commandName(row.command), row.name);
        EXPECT_EQ(commandNamed(row.name), row.command);
    }
    for (const Language language : {Language::English, Language::Russian}) {
        for (const ShownMenu& menu : menuBar(language, {})) {
            for (const ShownItem& item : menu.items) {
                EXPECT_FALSE(commandName(item.command).empty()) << item.text;
                EXPECT_EQ(commandNamed(commandName(item.command)), item.command);
            }
        }
    }
    EXPECT_EQ(commandName(static_cast<Command>(40035)), "");
    EXPECT_FALSE(commandNamed("jump"));
}

}  // namespace
}  // namespace vokta
