#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "puzzle/controller/kept_game.h"
#include "puzzle/rules/generator.h"
#include "puzzle/rules/hint.h"
#include "puzzle/rules/palette.h"
#include "puzzle/rules/task_code.h"
#include "puzzle/rules/task_file.h"
#include "shell/language.h"

namespace vokta {

// A message box's words for the player.
struct Notice {
    enum class Icon { None, Information, Warning, Error };
    // What it is about: a front end may show some of them otherwise (a
    // replay stops for no hint, and prints a refused file's on its console).
    enum class Topic { Success, Hint, TaskFile, Library, KeptGame, TaskCode };
    std::string caption;
    std::string text;
    Icon icon = Icon::None;
    Topic topic = Topic::Success;
};

// The messages the game causes, as every front end shows them and vokta-play
// records them.

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
// No task could be made for the request of that name (see taskRequestName).
Notice noTaskMadeNotice(const std::string& name, Language language);
// What Save... tells of a figure built freely before it is written: how
// many ways there are to fill it and the difficulty that gives, or that no
// way to fill it can be put down piece by piece.
Notice builtFigureNotice(const FigureCount& count, Language language);
// A kept game (kept at where) that cannot be continued, and where it was
// set aside (empty: it could not be moved); a new game starts.
Notice keptGameNotice(const std::string& where, const KeptGameError& error, const std::string& aside,
                      Language language);
// Why a task code (as the player gave it) opens no task, naming the code.
Notice describeTaskCodeError(std::string_view code, const TaskCodeError& error, Language language = Language::English);
// Why Share task... has no code to show: the player builds freely (no
// error), or the task's figure is one no code carries.
Notice noTaskCodeNotice(const std::optional<TaskCodeError>& error, Language language = Language::English);
// What is wrong with the code or the task, in a few words.
std::string taskCodeProblem(const TaskCodeError& error, Language language = Language::English);

}  // namespace vokta
