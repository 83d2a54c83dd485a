// The browser's keys and buttons become what the desktop window makes of
// Qt's: the same keys, shortcuts, typed characters and mouse flags.

#include <gtest/gtest.h>

#include <optional>
#include <string_view>

#include "puzzle/controller/game.h"
#include "web/page_input.h"

namespace vokta::web {
namespace {

TEST(PageInput, KeysAreTheGamesKeysOnBothLayouts)
{
    struct Row {
        std::string_view key;  // KeyboardEvent.key
        Key expected;
        char typed;  // without Ctrl
    };
    const Row table[] = {
        {"ArrowLeft", Key::Left, 0},
        {"ArrowRight", Key::Right, 0},
        {"ArrowUp", Key::Up, 0},
        {"ArrowDown", Key::Down, 0},
        {"PageUp", Key::PageUp, 0},
        {"PageDown", Key::PageDown, 0},
        {"Enter", Key::Enter, '\r'},
        {"Escape", Key::Escape, '\x1B'},
        {"Home", Key::Home, 0},
        {"h", Key::H, 'h'},
        {"H", Key::H, 'H'},
        {"\xD1\x80", Key::H, 0},  // Russian р, on the H key
        {"\xD0\xA0", Key::H, 0},  // Р
        {"1", Key::Other, '1'},
        {"7", Key::Other, '7'},
        {" ", Key::Other, ' '},
        {"Tab", Key::Other, '\t'},
        {"Backspace", Key::Other, '\b'},
        {"End", Key::Other, 0},
        {"F1", Key::Other, 0},
        {"Shift", Key::Other, 0},
        {"Dead", Key::Other, 0},
        {"\xD1\x8F", Key::Other, 0},  // я
    };
    for (const Row& row : table) {
        EXPECT_EQ(keyFromDom(row.key), row.expected) << row.key;
        EXPECT_EQ(typedCharacter(row.key, false), row.typed) << row.key;
    }
    // Ctrl with a letter types its control character, as Qt reports it.
    EXPECT_EQ(typedCharacter("a", true), '\x01');
    EXPECT_EQ(typedCharacter("Z", true), '\x1A');
    EXPECT_EQ(typedCharacter("2", true), '2');
}

TEST(PageInput, ShortcutsUndoAndRedoOnBothLayoutsWithCtrlAlone)
{
    struct Row {
        std::string_view key;
        bool shift, ctrl, alt, meta;
        std::optional<Command> expected;
    };
    const Row table[] = {
        {"z", false, true, false, false, Command::Undo},        {"Z", true, true, false, false, Command::Redo},
        {"y", false, true, false, false, Command::Redo},        {"Y", true, true, false, false, std::nullopt},
        {"\xD1\x8F", false, true, false, false, Command::Undo},  // я
        {"\xD0\xAF", true, true, false, false, Command::Redo},   // Я
        {"\xD0\xBD", false, true, false, false, Command::Redo},  // н
        {"z", false, false, false, false, std::nullopt},        {"z", false, true, true, false, std::nullopt},
        {"z", false, true, false, true, std::nullopt},          {"x", false, true, false, false, std::nullopt},
    };
    for (const Row& row : table)
        EXPECT_EQ(shortcutFromDom(row.key, row.shift, row.ctrl, row.alt, row.meta), row.expected) << row.key;
}

TEST(PageInput, MouseButtonsAndFlags)
{
    // MouseEvent.button: 0 left, 1 middle, 2 right, 3 back, 4 forward.
    EXPECT_EQ(buttonFromDom(0), kMouseLeft);
    EXPECT_EQ(buttonFromDom(1), kMouseMiddle);
    EXPECT_EQ(buttonFromDom(2), kMouseRight);
    EXPECT_EQ(buttonFromDom(3), 0);
    EXPECT_EQ(buttonFromDom(4), 0);
    // MouseEvent.buttons: 1 left, 2 right, 4 middle, 8 back, 16 forward.
    EXPECT_EQ(mouseKeysFromDom(1, false, false), kMouseLeft);
    EXPECT_EQ(mouseKeysFromDom(2 | 4, false, false), kMouseRight | kMouseMiddle);
    EXPECT_EQ(mouseKeysFromDom(8 | 16, false, false), 0);
    EXPECT_EQ(mouseKeysFromDom(0, true, true), kMouseShift | kMouseControl);
    EXPECT_EQ(mouseKeysFromDom(1, true, false), kMouseLeft | kMouseShift);
}

}  // namespace
}  // namespace vokta::web
