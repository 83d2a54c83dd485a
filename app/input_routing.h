#pragma once

#include <QString>
#include <Qt>

#include "shell/keys.h"

namespace vokta {

// A Qt key event in the game's terms: its key, the letter on it (Qt names
// a letter key by its upper-case letter, in either layout), the ASCII
// character it types and the modifiers held.
KeyStroke keyStrokeFromQt(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text);

// The mouse key-state flags (kMouseLeft and the rest, see
// puzzle/controller/pointer.h) for the buttons held and the keyboard
// modifiers of a Qt mouse event.
int mouseKeysFromQt(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);

}  // namespace vokta
