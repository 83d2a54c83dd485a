#include "app/input_routing.h"

#include "puzzle/controller/commands.h"
#include "puzzle/controller/pointer.h"

namespace vokta {

Key keyFromQt(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Left: return Key::Left;
    case Qt::Key_Right: return Key::Right;
    case Qt::Key_Up: return Key::Up;
    case Qt::Key_Down: return Key::Down;
    case Qt::Key_PageUp: return Key::PageUp;
    case Qt::Key_PageDown: return Key::PageDown;
    // The main keyboard's Enter and the keypad's Enter end a selection alike.
    case Qt::Key_Return:
    case Qt::Key_Enter: return Key::Enter;
    case Qt::Key_Escape: return Key::Escape;
    case Qt::Key_Home: return Key::Home;
    // The Russian layout puts Р on the H key.
    case Qt::Key_H:
    case 0x0420: return Key::H;
    default: return Key::Other;
    }
}

std::optional<Command> shortcutCommand(int qtKey, Qt::KeyboardModifiers modifiers)
{
    constexpr int kCyrillicYa = 0x042F;
    constexpr int kCyrillicEn = 0x041D;
    if ((modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != Qt::ControlModifier)
        return std::nullopt;
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    if (qtKey == Qt::Key_Z || qtKey == kCyrillicYa)
        return shift ? Command::Redo : Command::Undo;
    if ((qtKey == Qt::Key_Y || qtKey == kCyrillicEn) && !shift)
        return Command::Redo;
    return std::nullopt;
}

int mouseKeysFromQt(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    int keys = 0;
    if (buttons & Qt::LeftButton)
        keys |= kMouseLeft;
    if (buttons & Qt::RightButton)
        keys |= kMouseRight;
    if (buttons & Qt::MiddleButton)
        keys |= kMouseMiddle;
    if (modifiers & Qt::ShiftModifier)
        keys |= kMouseShift;
    if (modifiers & Qt::ControlModifier)
        keys |= kMouseControl;
    return keys;
}

}  // namespace vokta
