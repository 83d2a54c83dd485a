#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "puzzle/rules/hint.h"
#include "puzzle/rules/palette.h"
#include "puzzle/rules/task_file.h"

namespace vokta {

// The languages of the interface.
enum class Language { English = 0, Russian = 1 };

// A message box's words for the player.
struct Notice {
    enum class Icon { None, Information, Warning, Error };
    std::string caption;
    std::string text;
    Icon icon = Icon::None;
};

// The messages the rules cause, as the window shows them and vokta-play
// records them. Their words come from resources/translations/vokta_ru.ts, the
// file the window's Qt translations are built from.

// english as language has it: its translation under context in
// vokta_ru.ts, or english itself where that file has none.
std::string_view translate(Language language, std::string_view context, std::string_view english);

// "Task completed", with its caption.
Notice successNotice(Language language);
// What the Hint command found, a piece named by its colour in palette;
// nothing for a piece to place, which the ghost shows.
std::optional<Notice> hintNotice(const Hint& hint, const Palette& palette, Language language);
// Why a task file was refused or not saved, naming the file. A file of a
// newer version gets the same English words in either language.
Notice describeTaskFileError(const TaskFileError& error, Language language = Language::English);
// What is wrong with the file, in a few words (the end of that message).
std::string taskFileProblem(const TaskFileError& error, Language language = Language::English);

}  // namespace vokta
