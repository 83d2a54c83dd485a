#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "puzzle/controller/commands.h"
#include "puzzle/controller/progress.h"
#include "puzzle/rules/task_file.h"
#include "shell/messages.h"

namespace vokta::web {

// What the page's shell shows, as JSON for vokta-page.js, which draws it:
// the menu bar, the dialogs' words and the help folder, in language. The
// words come from the same translation table as the desktop's, under the
// desktop's contexts.
std::string shellTexts(Language language);

// Whether F1 on the command's menu item shows a small pop-up of its own
// rather than the help's contents, as on the desktop.
bool hasHelpPopup(Command command);

// text with "%1", "%2", ... replaced by arguments in one pass, as Qt's arg()
// does: an argument holding "%2" stays as it is.
std::string withArguments(std::string_view text, const std::vector<std::string>& arguments);

// One task of the library, as the page's library dialog lists it.
struct LibraryEntry {
    std::string file;  // the task file's path in the page's file system
    std::string name;  // in the interface's language
    std::string difficulty;
    std::string solutions;
    std::string record;  // the player's best, or empty
};

// The library of folder (its index.txt) in language, each task with the
// player's best from progress; a task whose file cannot be read is left
// out, as on the desktop. tasks receives the tasks read, in the same order.
std::vector<LibraryEntry> readPageLibrary(const std::string& folder, Language language, const Progress& progress,
                                          std::vector<Task>& tasks);
std::string libraryJson(const std::vector<LibraryEntry>& entries);

// The interface language a stored name gives: "Russian" exactly gives
// Russian, anything else English, as the desktop reads its settings file.
Language languageNamed(std::string_view name);

}  // namespace vokta::web
