#include "web/page_input.h"

#include "puzzle/controller/game.h"

namespace vokta::web {

namespace {

// The Russian layout's letters on the H, Z and Y keys, in UTF-8.
constexpr std::string_view kCyrillicEr = "\xD1\x80";         // р
constexpr std::string_view kCyrillicCapitalEr = "\xD0\xA0";  // Р
constexpr std::string_view kCyrillicYa = "\xD1\x8F";         // я
constexpr std::string_view kCyrillicCapitalYa = "\xD0\xAF";  // Я
constexpr std::string_view kCyrillicEn = "\xD0\xBD";         // н
constexpr std::string_view kCyrillicCapitalEn = "\xD0\x9D";  // Н

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
    if (key == "h" || key == "H" || key == kCyrillicEr || key == kCyrillicCapitalEr)
        return Key::H;
    return Key::Other;
}

std::optional<Command> shortcutFromDom(std::string_view key, bool shift, bool ctrl, bool alt, bool meta)
{
    if (!ctrl || alt || meta)
        return std::nullopt;
    if (key == "z" || key == "Z" || key == kCyrillicYa || key == kCyrillicCapitalYa)
        return shift ? Command::Redo : Command::Undo;
    if ((key == "y" || key == "Y" || key == kCyrillicEn || key == kCyrillicCapitalEn) && !shift)
        return Command::Redo;
    return std::nullopt;
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
