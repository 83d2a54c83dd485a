#pragma once

#include <array>
#include <optional>
#include <vector>

#include "puzzle/controller/commands.h"
#include "puzzle/controller/window_message.h"

namespace vokta {

// A key as a front end reports it, in the game's terms: the arrows, Page Up
// and Down, Enter, Escape and Home by name; a letter by the letter on the
// key in the layout in use; and the character it types.
struct KeyStroke {
    Key key = Key::Other;
    // The letter, as an upper-case code point ('H', U+0420 on the Russian
    // layout), or 0 for a key that is no letter.
    char32_t letter = 0;
    // The ASCII character the key types, as the window reports it (a
    // carriage return for Enter, a control character with Ctrl), or 0.
    char typed = 0;
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    bool meta = false;
};

// Which keys the game takes, and the messages they make. Keys held with Alt
// belong to the menu bar. Ctrl+Z undoes, Ctrl+Y and Ctrl+Shift+Z redo, on
// the Latin and the Russian layout alike. H (Р on the Russian layout) asks
// for a hint. The game acts on a key's release only when it saw that key go
// down: a release whose press went to a menu, a dialog or a message box
// (Enter or Escape closing it) does nothing in the game.
class Keyboard {
public:
    // The messages for a key going down, in order; none when the game does
    // not take it. used tells the front end whether to keep the key from
    // doing anything else (the page stops the browser's own use of it).
    std::vector<WindowMessage> down(const KeyStroke& stroke, bool& used);
    // The message for a key coming up, if the game takes it.
    std::optional<WindowMessage> up(const KeyStroke& stroke);
    // The keyboard went elsewhere: camera keys held are let go (a message
    // each), and no key is held any longer.
    std::vector<WindowMessage> lost();

private:
    // A key by what tells it from the others: its name, or else its letter
    // or the character it types.
    struct Held {
        Key key;
        char32_t other;
        bool operator==(const Held&) const = default;
    };
    static Held heldKey(const KeyStroke& stroke);
    std::vector<Held> held_;
};

// The command a key with Ctrl gives, if any.
std::optional<Command> shortcut(const KeyStroke& stroke);
// The game's name for the key: H for the letter H (or Р), else its own.
Key gameKey(const KeyStroke& stroke);
// D (В on the Russian layout) without Ctrl, Alt or Meta: Describe.
bool isDescribeKey(const KeyStroke& stroke);

}  // namespace vokta
