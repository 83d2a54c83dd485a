#include "app/input_routing.h"

#include "puzzle/controller/pointer.h"

namespace vokta {

namespace {

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
    default: return Key::Other;
    }
}

bool isLetter(int qtKey)
{
    const char32_t code = static_cast<char32_t>(qtKey);
    return (code >= U'A' && code <= U'Z') || (code >= 0x0400 && code <= 0x042F);
}

}  // namespace

KeyStroke keyStrokeFromQt(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text)
{
    KeyStroke stroke;
    stroke.key = keyFromQt(qtKey);
    stroke.letter = isLetter(qtKey) ? static_cast<char32_t>(qtKey) : 0;
    if (text.size() == 1 && text.front().unicode() < 0x80)
        stroke.typed = static_cast<char>(text.front().unicode());
    stroke.shift = modifiers.testFlag(Qt::ShiftModifier);
    stroke.ctrl = modifiers.testFlag(Qt::ControlModifier);
    stroke.alt = modifiers.testFlag(Qt::AltModifier);
    stroke.meta = modifiers.testFlag(Qt::MetaModifier);
    return stroke;
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
