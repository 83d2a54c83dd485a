// The browser's keys and buttons become what the desktop window makes of
// Qt's: the same keys, shortcuts, typed characters and mouse flags.

#include <gtest/gtest.h>

#include <optional>
#include <string_view>

#include "puzzle/controller/pointer.h"
#include "web/page_input.h"

namespace vokta::web {
namespace {

// The browser's key names become the key strokes the desktop window makes
// of Qt's: the same game keys, letters (in either layout), typed characters
// and, through the shell's keyboard, the same shortcuts.
TEST(PageInput, KeysAreTheGamesKeysOnBothLayouts)
{
    struct Row {
        std::string_view key;  // KeyboardEvent.key
        bool shift, ctrl;
        Key expected;
        char typed;
        std::optional<Command> shortcut;
    };
    const std::optional<Command> none;
    const Row table[] = {
        {"ArrowLeft", false, false, Key::Left, 0, none},
        {"ArrowRight", false, false, Key::Right, 0, none},
        {"ArrowUp", false, false, Key::Up, 0, none},
        {"ArrowDown", false, false, Key::Down, 0, none},
        {"PageUp", false, false, Key::PageUp, 0, none},
        {"PageDown", false, false, Key::PageDown, 0, none},
        {"Enter", false, false, Key::Enter, '\r', none},
        {"Escape", false, false, Key::Escape, '\x1B', none},
        {"Home", false, false, Key::Home, 0, none},
        {"h", false, false, Key::H, 'h', none},
        {"H", true, false, Key::H, 'H', none},
        {"\xD1\x80", false, false, Key::H, 0, none},  // Russian р, on the H key
        {"\xD0\xA0", true, false, Key::H, 0, none},   // Р
        {"1", false, false, Key::Other, '1', none},
        {"7", false, false, Key::Other, '7', none},
        {" ", false, false, Key::Other, ' ', none},
        {"Tab", false, false, Key::Other, '\t', none},
        {"Backspace", false, false, Key::Other, '\b', none},
        {"End", false, false, Key::Other, 0, none},
        {"F1", false, false, Key::Other, 0, none},
        {"Shift", false, false, Key::Other, 0, none},
        {"Dead", false, false, Key::Other, 0, none},
        {"\xD1\x8F", false, false, Key::Other, 0, none},  // я
        // Ctrl with a letter types its control character, as Qt reports it.
        {"a", false, true, Key::Other, '\x01', none},
        {"2", false, true, Key::Other, '2', none},
        {"z", false, true, Key::Other, '\x1A', Command::Undo},
        {"Z", true, true, Key::Other, '\x1A', Command::Redo},
        {"y", false, true, Key::Other, '\x19', Command::Redo},
        {"Y", true, true, Key::Other, '\x19', none},
        {"\xD1\x8F", false, true, Key::Other, 0, Command::Undo},  // я
        {"\xD0\xAF", true, true, Key::Other, 0, Command::Redo},   // Я
        {"\xD0\xBD", false, true, Key::Other, 0, Command::Redo},  // н
        {"x", false, true, Key::Other, '\x18', none},
    };
    for (const Row& row : table) {
        const KeyStroke stroke = strokeFromDom(row.key, row.shift, row.ctrl, false, false);
        EXPECT_EQ(gameKey(stroke), row.expected) << row.key;
        EXPECT_EQ(stroke.typed, row.typed) << row.key;
        EXPECT_EQ(shortcut(stroke), row.shortcut) << row.key;
    }
    EXPECT_EQ(shortcut(strokeFromDom("z", false, true, true, false)), none) << "with Alt";
    EXPECT_EQ(shortcut(strokeFromDom("z", false, true, false, true)), none) << "with Meta";
    EXPECT_EQ(letterFromDom("\xD1\x91"), U'\x0401') << "ё";
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
