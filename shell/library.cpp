#include "shell/library.h"

#include <cstdio>
#include <memory>

#include "platform/files.h"
#include "puzzle/rules/task_library.h"
#include "shell/words.h"

namespace vokta {

namespace {

constexpr std::string_view kLibraryContext = "vokta::LibraryDialog";
constexpr std::string_view kWindowContext = "vokta::MainWindow";

constexpr Words kEasy(kLibraryContext, "easy");
constexpr Words kMedium(kLibraryContext, "medium");
constexpr Words kHard(kLibraryContext, "hard");
constexpr Words kWaysToSolve(kLibraryContext, "%1 ways to solve it");
constexpr Words kRecord(kLibraryContext, "moves: %1, time: %2");
constexpr Words kUnique(kLibraryContext, "unique");
constexpr Words kTodaysTask(kLibraryContext, "Today's task, %1");
constexpr Words kOneWayToSolve(kLibraryContext, "one way to solve it");
constexpr Words kDaysInARow(kLibraryContext, "days in a row: %1");
constexpr Words kCaption(kLibraryContext, "Task library");
constexpr Words kEmptyCaption(kWindowContext, "Task library");
constexpr Words kEmpty(kWindowContext, "The task library %1 is missing or empty.");

// The whole of a small text file, or nothing when it cannot be read.
std::optional<std::string> readText(const std::string& path)
{
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(openFile(path, "rb"), &std::fclose);
    if (!file)
        return std::nullopt;
    std::string text;
    char buffer[4096];
    for (std::size_t read; (read = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;)
        text.append(buffer, read);
    if (std::ferror(file.get()))
        return std::nullopt;
    return text;
}

std::string_view difficultyWords(const std::string& difficulty, Language language)
{
    if (difficulty == "easy")
        return kEasy.in(language);
    if (difficulty == "medium")
        return kMedium.in(language);
    return kHard.in(language);
}

std::optional<std::string> recordOf(const Task& task, const Progress& progress, Language language)
{
    const std::optional<TaskRecord> best = progress.find(taskKey(task));
    if (!best)
        return std::nullopt;
    return withArguments(kRecord.in(language),
                         {std::to_string(best->fewestMoves), minutesAndSeconds(best->shortestMs)});
}

}  // namespace

std::vector<LibraryEntry> readLibrary(const std::string& folder, Language language, const Progress& progress)
{
    std::vector<LibraryEntry> entries;
    const std::optional<std::string> index = readText(folder + "/index.txt");
    if (!index)
        return entries;
    for (const IndexLine& line : parseLibraryIndex(*index)) {
        if (line.fields.size() < kIndexFields)
            continue;
        const std::string file = folder + "/" + line.field(IndexField::File);
        TaskFileRead read = readTaskFile(file);
        if (!read.task)
            continue;
        std::optional<std::string> record = recordOf(*read.task, progress, language);
        entries.push_back({
            .file = file,
            .task = std::move(*read.task),
            .name = line.field(language == Language::Russian ? IndexField::Russian : IndexField::English),
            .difficulty = std::string(difficultyWords(line.field(IndexField::Difficulty), language)),
            .solutions = withArguments(kWaysToSolve.in(language), {line.field(IndexField::Solutions)}),
            .record = std::move(record),
        });
    }
    return entries;
}

LibraryEntry todaysEntry(Date today, const Task& task, const Progress& progress, Language language)
{
    return {
        .file = taskRequestName({.kind = TaskRequest::Kind::Daily, .date = today}),
        .task = task,
        .name = withArguments(kTodaysTask.in(language), {dateText(today)}),
        .difficulty = std::string(kUnique.in(language)),
        .solutions = std::string(kOneWayToSolve.in(language)),
        .record = recordOf(task, progress, language),
        .daysInARow = withArguments(kDaysInARow.in(language), {std::to_string(progress.daysInARow(today))}),
    };
}

std::set<FigureShape> libraryShapes(const std::string& folder)
{
    std::vector<Task> tasks;
    for (LibraryEntry& entry : readLibrary(folder, Language::English, {}))
        tasks.push_back(std::move(entry.task));
    return shapesOf(tasks);
}

std::string minutesAndSeconds(std::int64_t ms)
{
    const std::int64_t seconds = ms / 1000;
    const std::int64_t inMinute = seconds % 60;
    return std::to_string(seconds / 60) + (inMinute < 10 ? ":0" : ":") + std::to_string(inMinute);
}

std::string libraryCaption(Language language)
{
    return std::string(kCaption.in(language));
}

Notice emptyLibraryNotice(const std::string& folder, Language language)
{
    return {std::string(kEmptyCaption.in(language)), withArguments(kEmpty.in(language), {folder}),
            Notice::Icon::Warning, Notice::Topic::Library};
}

}  // namespace vokta
