// Which keys the game takes and what each makes of them: a key's release
// counts only after the game saw it go down, Alt keeps keys for the menu
// bar, Ctrl gives the undo shortcuts, losing the keyboard lets held camera
// keys go.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/keys.h"

namespace vokta {
namespace {

KeyStroke named(Key key)
{
    return {.key = key, .typed = key == Key::Enter ? '\r' : key == Key::Escape ? '\x1B' : '\0'};
}

KeyStroke letter(char32_t code, char typed)
{
    return {.letter = code, .typed = typed};
}

// The messages as one line each, for comparing runs of them.
std::string text(const std::vector<WindowMessage>& messages)
{
    std::string out;
    for (const WindowMessage& message : messages) {
        switch (message.kind) {
        case WindowMessage::Kind::KeyDown: out += "down " + std::to_string(static_cast<int>(message.key)); break;
        case WindowMessage::Kind::KeyUp: out += "up " + std::to_string(static_cast<int>(message.key)); break;
        case WindowMessage::Kind::Char: out += std::string("char ") + message.character; break;
        case WindowMessage::Kind::Command: out += "command " + std::to_string(static_cast<int>(message.command)); break;
        default: out += "other"; break;
        }
        out += ';';
    }
    return out;
}

std::string up(Keyboard& keyboard, const KeyStroke& stroke)
{
    const std::optional<WindowMessage> message = keyboard.up(stroke);
    return message ? text({*message}) : "";
}

std::string down(Keyboard& keyboard, const KeyStroke& stroke)
{
    bool used = false;
    return text(keyboard.down(stroke, used));
}

const std::string kEnterUp = "up " + std::to_string(static_cast<int>(Key::Enter)) + ";";

TEST(Keyboard, AReleaseCountsOnlyAfterItsPress)
{
    Keyboard keyboard;
    // Enter that closed a menu, a dialog or a message box: its press went there.
    EXPECT_EQ(up(keyboard, named(Key::Enter)), "");
    EXPECT_EQ(up(keyboard, named(Key::Escape)), "");
    EXPECT_EQ(up(keyboard, letter(0, '4')), "");
    // Pressed in the game, it comes up once, however often it repeated.
    down(keyboard, named(Key::Enter));
    down(keyboard, named(Key::Enter));
    EXPECT_EQ(up(keyboard, named(Key::Enter)), kEnterUp);
    EXPECT_EQ(up(keyboard, named(Key::Enter)), "");
    // A letter by its letter, whatever it typed by then.
    down(keyboard, letter(U'Q', 'q'));
    EXPECT_EQ(up(keyboard, letter(U'Q', 'Q')), "up 0;");
    down(keyboard, letter(0, 'x'));
    EXPECT_EQ(up(keyboard, letter(0, 'X')), "up 0;");
}

TEST(Keyboard, AltKeysBelongToTheMenuBarAndCtrlGivesTheShortcuts)
{
    Keyboard keyboard;
    bool used = true;
    EXPECT_TRUE(keyboard.down({.key = Key::Enter, .alt = true}, used).empty());
    EXPECT_FALSE(used);
    // Enter pressed alone and let go with Alt lets no piece go; a camera key
    // held is let go all the same.
    down(keyboard, named(Key::Enter));
    EXPECT_EQ(up(keyboard, {.key = Key::Enter, .alt = true}), "");
    EXPECT_EQ(up(keyboard, named(Key::Enter)), "") << "its press is spent";
    down(keyboard, named(Key::Left));
    EXPECT_EQ(up(keyboard, {.key = Key::Left, .alt = true}), "up 1;");

    const std::string undo = "command " + std::to_string(static_cast<int>(Command::Undo)) + ";";
    const std::string redo = "command " + std::to_string(static_cast<int>(Command::Redo)) + ";";
    EXPECT_EQ(down(keyboard, {.letter = U'Z', .typed = '\x1A', .ctrl = true}), undo);
    EXPECT_EQ(down(keyboard, {.letter = U'Z', .typed = '\x1A', .shift = true, .ctrl = true}), redo);
    EXPECT_EQ(down(keyboard, {.letter = U'\x042F', .ctrl = true}), undo) << "Я";
    // H, or Р on the Russian layout, is the game's H; digits and space are used.
    const std::string h = "down " + std::to_string(static_cast<int>(Key::H)) + ";";
    EXPECT_EQ(down(keyboard, letter(U'H', 'h')), h + "char h;");
    EXPECT_EQ(down(keyboard, letter(U'\x0420', 0)), h);
    for (const auto& [stroke, expected] : {std::pair{letter(0, '3'), true}, std::pair{letter(0, ' '), true},
                                           std::pair{letter(0, '9'), false}, std::pair{named(Key::Home), true}}) {
        keyboard.down(stroke, used);
        EXPECT_EQ(used, expected) << stroke.typed;
    }
}

TEST(Keyboard, LosingTheKeyboardLetsHeldCameraKeysGoAndForgetsTheRest)
{
    Keyboard keyboard;
    down(keyboard, named(Key::Left));
    down(keyboard, named(Key::PageDown));
    down(keyboard, named(Key::Enter));
    EXPECT_EQ(text(keyboard.lost()), "up 1;up 6;");
    EXPECT_EQ(up(keyboard, named(Key::Enter)), "") << "its release goes elsewhere, or is not the game's";
    EXPECT_TRUE(keyboard.lost().empty());
}

}  // namespace
}  // namespace vokta
