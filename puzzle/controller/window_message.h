#pragma once

#include <optional>
#include <string>
#include <vector>

#include "puzzle/controller/commands.h"

namespace vokta {

// The keys the game reacts to, whatever the window system calls them.
enum class Key { Other, Left, Right, Up, Down, PageUp, PageDown, Enter, Escape, H, Home };

// A task file the player chose in a front end's own picker: for Load... and
// the library, the file to read; for Save..., where to write.
struct ChosenFile {
    explicit ChosenFile(std::string path, std::optional<std::vector<unsigned char>> bytes = std::nullopt)
        : path(std::move(path)), bytes(std::move(bytes))
    {
    }

    // Where the file is, or the name it goes by: messages name it so.
    std::string path;
    // Its contents, when the front end has read them itself (the page reads
    // the file the player picked); otherwise the game reads path.
    std::optional<std::vector<unsigned char>> bytes;

    bool operator==(const ChosenFile&) const = default;
};

// One message of the game's window, in the program's own terms. The window
// system's events are turned into these; tests and vokta-play make them
// directly.
struct WindowMessage {
    enum class Kind { KeyDown, KeyUp, Char, ButtonDown, ButtonUp, MouseMove, DoubleClick, Command, Timer };
    Kind kind = Kind::Timer;
    Key key = Key::Other;  // KeyDown, KeyUp
    bool shift = false;    // KeyDown: Shift held as the key went down
    char character = 0;    // Char
    int x = 0;             // mouse messages: client pixel
    int y = 0;
    int keys = 0;       // mouse messages: the key-state flags after the event (kMouseLeft and the rest)
    int button = 0;     // ButtonDown, ButtonUp, DoubleClick: the button's own flag (kMouseLeft, ...)
    Command command{};  // Command: the menu command
    // Load, Save and Library: what the player chose in the picker the front
    // end showed first; nothing when they cancelled it.
    std::optional<ChosenFile> file = {};
};

}  // namespace vokta
