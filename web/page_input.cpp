#include "web/page_input.h"

#include "puzzle/controller/pointer.h"

namespace vokta::web {

namespace {

// The Russian alphabet's letters in Unicode: А to я, and Ё and ё apart.
constexpr char32_t kCapitalA = 0x0410;
constexpr char32_t kCapitalYa = 0x042F;
constexpr char32_t kSmallA = 0x0430;
constexpr char32_t kSmallYa = 0x044F;
constexpr char32_t kCapitalYo = 0x0401;
constexpr char32_t kSmallYo = 0x0451;

// The one code point of a UTF-8 text of two bytes or one; 0 for anything else.
char32_t onlyCodePoint(std::string_view text)
{
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    if (text.size() == 1 && byte(0) < 0x80)
        return byte(0);
    if (text.size() == 2 && (byte(0) & 0xE0) == 0xC0 && (byte(1) & 0xC0) == 0x80)
        return static_cast<char32_t>(((byte(0) & 0x1F) << 6) | (byte(1) & 0x3F));
    return 0;
}

constexpr int kDomLeftButton = 0;
constexpr int kDomMiddleButton = 1;
constexpr int kDomRightButton = 2;
constexpr int kDomLeftFlag = 1;
constexpr int kDomRightFlag = 2;
constexpr int kDomMiddleFlag = 4;

constexpr char kCarriageReturn = '\r';
constexpr char kEscapeCharacter = '\x1B';
constexpr char kTab = '\t';
constexpr char kBackspace = '\b';
constexpr char kControlLetters = 0x1F;  // Ctrl with a letter types the letter's low five bits

}  // namespace

Key keyFromDom(std::string_view key)
{
    if (key == "ArrowLeft")
        return Key::Left;
    if (key == "ArrowRight")
        return Key::Right;
    if (key == "ArrowUp")
        return Key::Up;
    if (key == "ArrowDown")
        return Key::Down;
    if (key == "PageUp")
        return Key::PageUp;
    if (key == "PageDown")
        return Key::PageDown;
    if (key == "Enter")
        return Key::Enter;
    if (key == "Escape")
        return Key::Escape;
    if (key == "Home")
        return Key::Home;
    return Key::Other;
}

char32_t letterFromDom(std::string_view key)
{
    const char32_t c = onlyCodePoint(key);
    if (c >= U'a' && c <= U'z')
        return c - U'a' + U'A';
    if ((c >= U'A' && c <= U'Z') || (c >= kCapitalA && c <= kCapitalYa) || c == kCapitalYo)
        return c;
    if (c >= kSmallA && c <= kSmallYa)
        return c - kSmallA + kCapitalA;
    if (c == kSmallYo)
        return kCapitalYo;
    return 0;
}

char typedCharacter(std::string_view key, bool ctrl)
{
    if (key == "Enter")
        return kCarriageReturn;
    if (key == "Escape")
        return kEscapeCharacter;
    if (key == "Tab")
        return kTab;
    if (key == "Backspace")
        return kBackspace;
    if (key.size() != 1 || static_cast<unsigned char>(key.front()) >= 0x80)
        return 0;
    const char c = key.front();
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    return ctrl && letter ? static_cast<char>(c & kControlLetters) : c;
}

KeyStroke strokeFromDom(std::string_view key, bool shift, bool ctrl, bool alt, bool meta)
{
    return {.key = keyFromDom(key),
            .letter = letterFromDom(key),
            .typed = typedCharacter(key, ctrl),
            .shift = shift,
            .ctrl = ctrl,
            .alt = alt,
            .meta = meta};
}

int buttonFromDom(int button)
{
    switch (button) {
    case kDomLeftButton: return kMouseLeft;
    case kDomMiddleButton: return kMouseMiddle;
    case kDomRightButton: return kMouseRight;
    default: return 0;
    }
}

int mouseKeysFromDom(int buttons, bool shift, bool ctrl)
{
    int keys = 0;
    if (buttons & kDomLeftFlag)
        keys |= kMouseLeft;
    if (buttons & kDomRightFlag)
        keys |= kMouseRight;
    if (buttons & kDomMiddleFlag)
        keys |= kMouseMiddle;
    if (shift)
        keys |= kMouseShift;
    if (ctrl)
        keys |= kMouseControl;
    return keys;
}

}  // namespace vokta::web
