#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "puzzle/controller/commands.h"
#include "shell/language.h"

namespace vokta {

// The menu bar, defined once for every front end: the Qt window and the page
// draw what menuBar() gives and hand back the command chosen; vokta-play
// names commands as commandName() does.

// What the menus show besides their words.
struct MenuState {
    bool pieceSelected = false;
    bool solidFigure = false;
    bool canUndo = false;
    bool canRedo = false;
    bool distinctColours = false;
    bool pieceNumbers = false;
};

// One item of a menu as a front end draws it.
struct ShownItem {
    Command command{};
    std::string text = {};  // in the interface's language
    std::string keys = {};  // the keys that do the same, shown at the right; may be empty
    bool separatorBefore = false;
    bool checkable = false;
    bool checked = false;
    bool enabled = true;
    // F1 on it shows a pop-up of its own (helpPopup) rather than the help's contents.
    bool hasHelpPopup = false;
};

struct ShownMenu {
    std::string title;  // '&' before the letter that opens it with Alt
    bool enabled = true;
    std::vector<ShownItem> items;
};

// Task, the piece menu (Vokta, open only with a piece selected) and Help,
// whose last item offers the other language, named in its own words.
std::vector<ShownMenu> menuBar(Language language, const MenuState& state);

// The name a command goes by in scripts and recordings ("new",
// "move-left"), or an empty one for a number that is no command.
std::string_view commandName(Command command);
// The command a script's name stands for.
std::optional<Command> commandNamed(std::string_view name);

// What F1 on a menu item shows in language: the HTML of the item's pop-up,
// or nothing when it shows the help's contents.
std::optional<std::string_view> helpPopup(Command command, Language language);
// The help page About's neighbours open (HelpIndex, KeyboardHelp,
// MouseHelp), as a file of the help's folder: "index.html", "keyboard.html",
// "mouse.html". Any other command gives the contents.
std::string_view helpPage(Command command);
// The help's folder in language, relative to the help's root: "en/" or "ru/".
std::string_view helpFolder(Language language);

}  // namespace vokta
