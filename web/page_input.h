#pragma once

#include <optional>
#include <string_view>

#include "puzzle/controller/commands.h"
#include "puzzle/controller/input.h"

namespace vokta::web {

// The page's keys and mouse in the game's terms, as the desktop window
// turns Qt's into them. Keys come as the browser's KeyboardEvent.key names
// ("ArrowLeft", "PageUp", "h", ...); mouse buttons as MouseEvent.button
// numbers and MouseEvent.buttons flags.

Key keyFromDom(std::string_view key);

// Ctrl+Z undoes, Ctrl+Y and Ctrl+Shift+Z redo, on the Latin and the Russian
// layout alike; nothing for any other key or with Alt or Meta held.
std::optional<Command> shortcutFromDom(std::string_view key, bool shift, bool ctrl, bool alt, bool meta);

// The character a key types, as the desktop window reports it (Enter a
// carriage return, Ctrl with a letter a control character); 0 for keys that
// type nothing or something beyond ASCII.
char typedCharacter(std::string_view key, bool ctrl);

// kMouseLeft, kMouseRight or kMouseMiddle for MouseEvent.button; 0 for the
// other buttons, which do nothing in the view.
int buttonFromDom(int button);

// The mouse key-state flags for MouseEvent.buttons and the modifier keys.
int mouseKeysFromDom(int buttons, bool shift, bool ctrl);

}  // namespace vokta::web
