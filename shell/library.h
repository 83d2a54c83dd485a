#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "puzzle/controller/progress.h"
#include "puzzle/rules/generator.h"
#include "puzzle/rules/task_file.h"
#include "shell/language.h"
#include "shell/messages.h"

namespace vokta {

// One task of the library as every front end lists it, with a picture of
// its figure (drawn by the front end's renderer from task).
struct LibraryEntry {
    std::string file;  // the task file's path
    Task task;
    std::string name;        // in the interface's language
    std::string difficulty;  // easy, medium or hard, in the interface's language
    std::string solutions;   // how many ways there are to solve it, as a sentence
    // The player's best ("moves: 12, time: 1:05") once the task has been
    // completed; a check mark goes with it.
    std::optional<std::string> record;
    // Today's task only: how many days in a row the player has completed
    // the task of the day ("days in a row: 3").
    std::optional<std::string> daysInARow = std::nullopt;
};

// The tasks of a library folder in the order of its index.txt, in language,
// each with the player's best from progress. A task whose file cannot be
// read, or whose index line is too short, is left out.
std::vector<LibraryEntry> readLibrary(const std::string& folder, Language language, const Progress& progress);

// Today's task as the library shows it, first: named with its day, and
// with the days in a row the player has done the day's task.
LibraryEntry todaysEntry(Date today, const Task& task, const Progress& progress, Language language);

// The figures of the tasks a library folder's index lists, which a made task
// keeps away from; none when the folder has no index.
std::set<FigureShape> libraryShapes(const std::string& folder);

// "1:05": minutes and seconds, as the library shows the best time.
std::string minutesAndSeconds(std::int64_t ms);

// What the library's dialog and its message box are called, in language.
std::string libraryCaption(Language language);
// The message when the library has no task to show.
Notice emptyLibraryNotice(const std::string& folder, Language language);

}  // namespace vokta
