#pragma once

#include <optional>

#include <Qt>

#include "puzzle/controller/commands.h"
#include "puzzle/controller/input.h"

namespace vokta {

// The game's name for a Qt key; keys the game does not know are Key::Other.
Key keyFromQt(int qtKey);

// The command a key with Ctrl gives: Ctrl+Z undoes, Ctrl+Y and Ctrl+Shift+Z
// redo (in the Russian layout too, where the keys type Я and Н).
std::optional<Command> shortcutCommand(int qtKey, Qt::KeyboardModifiers modifiers);

// The mouse key-state flags (kMouseLeft and the rest, see puzzle/game.h) for
// the buttons held and the keyboard modifiers of a Qt mouse event.
int mouseKeysFromQt(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);

}  // namespace vokta
