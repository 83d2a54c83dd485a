#pragma once

#include <string>
#include <vector>

#include "puzzle/controller/window_message.h"
#include "shell/announcements.h"
#include "shell/dialogs.h"
#include "shell/language.h"
#include "shell/library.h"
#include "shell/menus.h"

namespace vokta::web {

// What the shell model says, as JSON for vokta-page.js, which only draws it.

// The menu bar: [{title, enabled, items: [{command, name, text, keys,
// separatorBefore, checkable, checked, enabled, helpPopup}]}].
std::string menusJson(const std::vector<ShownMenu>& menus);
// The dialogs' words in language (Random task's buttons as difficulties, in
// the order of kDifficulties), the help's folder, About's picture and the
// game view's name for a screen reader.
std::string wordsJson(Language language);
// Words for the player's screen reader: {description (true for Describe's),
// sentences}.
std::string spokenJson(const Spoken& spoken);
// The library: [{name, difficulty, solutions, record (null until completed),
// daysInARow (null but for today's task)}].
std::string libraryJson(const std::vector<LibraryEntry>& tasks);
// The numbers and names the page hands back to the game, generated from the
// game's own tables so that the script holds none of them: the mouse
// messages' kinds, the commands by their names, the browser storage's keys.
std::string pageTableJson();

// The mouse messages as the page numbers them (see pageTableJson).
inline constexpr WindowMessage::Kind kPageMouseKinds[] = {
    WindowMessage::Kind::ButtonDown,
    WindowMessage::Kind::ButtonUp,
    WindowMessage::Kind::MouseMove,
    WindowMessage::Kind::DoubleClick,
};

}  // namespace vokta::web
