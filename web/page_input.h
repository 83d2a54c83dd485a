#pragma once

#include <string_view>

#include "puzzle/controller/window_message.h"
#include "shell/keys.h"

namespace vokta::web {

// The page's keys and mouse in the game's terms, as the desktop window
// turns Qt's into them. Keys come as the browser's KeyboardEvent.key names
// ("ArrowLeft", "PageUp", "h", ...); mouse buttons as MouseEvent.button
// numbers and MouseEvent.buttons flags.

// The game's name for a key the game knows by name; Key::Other for the rest.
Key keyFromDom(std::string_view key);
// The letter a key gives, as an upper-case code point ('H', U+0420 for р on
// the Russian layout), or 0 for a key that is no Latin or Russian letter.
char32_t letterFromDom(std::string_view key);
// The character a key types, as the desktop window reports it (Enter a
// carriage return, Ctrl with a letter a control character); 0 for keys that
// type nothing or something beyond ASCII.
char typedCharacter(std::string_view key, bool ctrl);
// The whole key stroke, as the shell's keyboard takes it.
KeyStroke strokeFromDom(std::string_view key, bool shift, bool ctrl, bool alt, bool meta);

// kMouseLeft, kMouseRight or kMouseMiddle for MouseEvent.button; 0 for the
// other buttons, which do nothing in the view.
int buttonFromDom(int button);

// The mouse key-state flags for MouseEvent.buttons and the modifier keys.
int mouseKeysFromDom(int buttons, bool shift, bool ctrl);

}  // namespace vokta::web
