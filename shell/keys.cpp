#include "shell/keys.h"

#include <algorithm>

namespace vokta {

namespace {

constexpr char32_t kCyrillicEr = 0x0420;  // Р, on the H key
constexpr char32_t kCyrillicYa = 0x042F;  // Я, on the Z key
constexpr char32_t kCyrillicEn = 0x041D;  // Н, on the Y key
constexpr char32_t kCyrillicVe = 0x0412;  // В, on the D key

// The camera keys stand together in Key, from Left to PageDown.
bool isCameraKey(Key key)
{
    return key >= Key::Left && key <= Key::PageDown;
}

}  // namespace

std::optional<Command> shortcut(const KeyStroke& stroke)
{
    if (!stroke.ctrl || stroke.alt || stroke.meta)
        return std::nullopt;
    if (stroke.letter == U'Z' || stroke.letter == kCyrillicYa)
        return stroke.shift ? Command::Redo : Command::Undo;
    if ((stroke.letter == U'Y' || stroke.letter == kCyrillicEn) && !stroke.shift)
        return Command::Redo;
    return std::nullopt;
}

Key gameKey(const KeyStroke& stroke)
{
    if (stroke.key == Key::Other && (stroke.letter == U'H' || stroke.letter == kCyrillicEr))
        return Key::H;
    return stroke.key;
}

bool isDescribeKey(const KeyStroke& stroke)
{
    return !stroke.ctrl && !stroke.alt && !stroke.meta && (stroke.letter == U'D' || stroke.letter == kCyrillicVe);
}

Keyboard::Held Keyboard::heldKey(const KeyStroke& stroke)
{
    const Key key = gameKey(stroke);
    if (key != Key::Other)
        return {key, 0};
    const char typed =
        stroke.typed >= 'a' && stroke.typed <= 'z' ? static_cast<char>(stroke.typed - 'a' + 'A') : stroke.typed;
    return {key, stroke.letter != 0 ? stroke.letter : static_cast<char32_t>(static_cast<unsigned char>(typed))};
}

std::vector<WindowMessage> Keyboard::down(const KeyStroke& stroke, bool& used)
{
    used = false;
    if (stroke.alt)
        return {};
    if (const std::optional<Command> command = shortcut(stroke)) {
        used = true;
        return {{.kind = WindowMessage::Kind::Command, .command = *command}};
    }
    const Key key = gameKey(stroke);
    const Held held = heldKey(stroke);
    // A held key repeats its press; it is let go once.
    if (std::find(held_.begin(), held_.end(), held) == held_.end())
        held_.push_back(held);
    std::vector<WindowMessage> messages{{.kind = WindowMessage::Kind::KeyDown, .key = key, .shift = stroke.shift}};
    if (stroke.typed != 0)
        messages.push_back({.kind = WindowMessage::Kind::Char, .character = stroke.typed});
    used = key != Key::Other || stroke.typed == ' ' || (stroke.typed >= '1' && stroke.typed <= '7');
    return messages;
}

std::optional<WindowMessage> Keyboard::up(const KeyStroke& stroke)
{
    const Key key = gameKey(stroke);
    const auto held = std::find(held_.begin(), held_.end(), heldKey(stroke));
    if (held == held_.end())
        return std::nullopt;
    held_.erase(held);
    // With Alt only a camera key is let go: an Enter released with Alt lets
    // no piece go.
    if (stroke.alt && !isCameraKey(key))
        return std::nullopt;
    return WindowMessage{.kind = WindowMessage::Kind::KeyUp, .key = key};
}

std::vector<WindowMessage> Keyboard::lost()
{
    std::vector<WindowMessage> messages;
    for (const Held& held : held_) {
        if (isCameraKey(held.key))
            messages.push_back({.kind = WindowMessage::Kind::KeyUp, .key = held.key});
    }
    held_.clear();
    return messages;
}

}  // namespace vokta
