#pragma once

#include <array>
#include <string>

#include "puzzle/rules/generator.h"
#include "shell/language.h"

namespace vokta {

// The words of the dialogs around the game, in language, as every front end
// shows them. The start dialog's are always English: it shows before the
// saved language is applied.
struct DialogWords {
    std::string start;
    std::string help;
    std::string quit;
    std::string helpCaption;
    std::string helpContents;
    std::string helpBack;
    std::string libraryCaption;
    // The standard buttons, which the desktop takes from Qt's own translation.
    std::string ok;
    std::string open;
    std::string cancel;
    // The pictures of About, beside the model file's folder.
    std::string aboutPicture;
    // Random task's dialog: its caption, its question and a button for
    // each difficulty, in the order of kDifficulties.
    std::string randomCaption;
    std::string randomQuestion;
    std::array<std::string, kDifficulties.size()> difficulties;
    // The page's line when it starts on a newer version of its files.
    std::string updated;
    // Share task... and Open task code...
    std::string shareCaption;
    std::string shareCode;
    std::string shareLink;
    std::string copy;
    std::string copied;
    std::string openCodeCaption;
    std::string openCodePrompt;
};

DialogWords dialogWords(Language language);

}  // namespace vokta
