#include "shell/messages.h"

#include <initializer_list>

#include "shell/words.h"

namespace vokta {

namespace {

consteval bool everyColourTranslated(const Palette& palette)
{
    for (const PieceColour& piece : palette.pieces) {
        if (findTranslation(kMessageContext, piece.name) == kNoTranslation)
            return false;
    }
    return true;
}
static_assert(everyColourTranslated(kOriginalPalette) && everyColourTranslated(kDistinctPalette),
              "a hint names every piece by its colour: each name needs its translation in vokta_ru.ts");

// The message in language, with %1, %2, ... replaced by the arguments.
std::string said(Language language, Words message, std::initializer_list<std::string_view> arguments = {})
{
    return withArguments(message.in(language), arguments);
}

// The most of a code a message quotes: a paste can be a whole page.
constexpr std::size_t kLongestCodeShown = 40;

}  // namespace

std::string_view translate(Language language, std::string_view context, std::string_view english)
{
    if (language == Language::Russian) {
        if (const std::size_t row = findTranslation(context, english); row != kNoTranslation)
            return kRussian[row].russian;
    }
    return english;
}

std::string withArguments(std::string_view text, std::initializer_list<std::string_view> arguments)
{
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] == '%' && next >= '1' && next < '1' + static_cast<int>(arguments.size())) {
            result += arguments.begin()[next - '1'];
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

Notice successNotice(Language language)
{
    return {said(language, "Success"), said(language, "Task completed.\nCongratulations!"), Notice::Icon::None,
            Notice::Topic::Success};
}

std::optional<Notice> hintNotice(const Hint& hint, const Palette& palette, Language language)
{
    std::string text;
    switch (hint.kind) {
    case Hint::Kind::Place: return std::nullopt;
    case Hint::Kind::TakeOut:
        if (hint.piece < 0 || hint.piece >= kPieceTotal) {
            text = said(language, "No solution keeps the pieces where they are: take some of them out.");
        } else {
            const std::string_view colour = palette.pieces[static_cast<std::size_t>(hint.piece)].name;
            text = said(language,
                        "No solution keeps every piece where it is. Take out the %1 piece, which is selected now.",
                        {translate(language, kMessageContext, colour)});
        }
        break;
    case Hint::Kind::Unsolvable: text = said(language, "This task has no solution."); break;
    case Hint::Kind::Solved: text = said(language, "Every piece is in its place."); break;
    case Hint::Kind::NoTask:
        text = said(language, "There is no task to give a hint for: build freely, or load a task.");
        break;
    }
    return Notice{said(language, "Hint"), std::move(text), Notice::Icon::Information, Notice::Topic::Hint};
}

std::string taskFileProblem(const TaskFileError& error, Language language)
{
    using Problem = TaskFileError::Problem;
    const std::string number = std::to_string(error.number);
    const std::string limit = std::to_string(error.limit);
    switch (error.problem) {
    case Problem::Version: return said(language, "version %1", {number});
    case Problem::System: return error.systemMessage;
    case Problem::Folder: return said(language, "it is a folder, not a file");
    case Problem::Empty: return said(language, "it is empty");
    case Problem::HeaderCut: return said(language, "it ends within its header");
    case Problem::CellsCut:
        return said(language, "it holds %1 of the %2 bytes its %3 cells need",
                    {number, limit, std::to_string(error.count)});
    case Problem::TooManyPieces: return said(language, "it asks for %1 pieces, and the game has %2", {number, limit});
    case Problem::TooManyCells: return said(language, "it has %1 cells, and a task has at most %2", {number, limit});
    case Problem::NotANumber: return said(language, "cell %1 has a coordinate that is no number", {number});
    case Problem::FarAway: return said(language, "cell %1 lies too far away, beyond %2 on an axis", {number, limit});
    case Problem::ReadOnly: return said(language, "the file is read-only");
    case Problem::FolderInTheWay: return said(language, "a folder of that name is in the way");
    }
    return {};
}

Notice describeTaskFileError(const TaskFileError& error, Language language)
{
    const std::string problem = taskFileProblem(error, language);
    switch (error.kind) {
    case TaskFileError::Kind::NewerVersion:
        // The file on a line of its own, then the fixed English words.
        return {"Version Error", error.path + ":\nIncompatible version.\nPlease refresh the game.",
                Notice::Icon::Warning, Notice::Topic::TaskFile};
    case TaskFileError::Kind::Unreadable:
        return {said(language, "Load"), said(language, "The task file %1 cannot be read: %2.", {error.path, problem}),
                Notice::Icon::Error, Notice::Topic::TaskFile};
    case TaskFileError::Kind::Damaged:
        return {said(language, "Load"), said(language, "The task file %1 is damaged: %2.", {error.path, problem}),
                Notice::Icon::Error, Notice::Topic::TaskFile};
    case TaskFileError::Kind::NotSaved:
        return {said(language, "Save"), said(language, "The task could not be saved as %1: %2.", {error.path, problem}),
                Notice::Icon::Error, Notice::Topic::TaskFile};
    }
    return {};
}

Notice noTaskMadeNotice(const std::string& name, Language language)
{
    return {said(language, "Load"), said(language, "No task could be made for %1.", {name}), Notice::Icon::Error,
            Notice::Topic::TaskFile};
}

Notice builtFigureNotice(const FigureCount& count, Language language)
{
    const std::optional<Difficulty> difficulty = difficultyOfCount(count);
    const std::string ways = std::to_string(count.solutions);
    std::string text;
    if (!difficulty && count.solutions == 0) {
        text =
            said(language, "No way to fill the figure you built can be put down piece by piece: it cannot be built.");
    } else if (!difficulty && count.countedAll) {
        text = said(language,
                    "Ways to fill the figure you built: %1. None of them can be put down piece by piece: it cannot be "
                    "built.",
                    {ways});
    } else if (!difficulty) {
        text = said(language,
                    "Ways to fill the figure you built: %1 or more. None of them can be put down piece by piece: it "
                    "cannot be built.",
                    {ways});
    } else {
        switch (*difficulty) {
        case Difficulty::Easy:
            text = said(language, "The figure you built can be filled in %1 or more ways: an easy task.", {ways});
            break;
        case Difficulty::Medium:
            text = said(language, "The figure you built can be filled in %1 ways: a medium task.", {ways});
            break;
        case Difficulty::Hard:
            text = said(language, "The figure you built can be filled in %1 ways: a hard task.", {ways});
            break;
        case Difficulty::Unique:
            text = said(language, "The figure you built can be filled in exactly one way: a unique task.");
            break;
        }
    }
    return {said(language, "Save"), std::move(text), difficulty ? Notice::Icon::Information : Notice::Icon::Warning,
            Notice::Topic::TaskFile};
}

Notice keptGameNotice(const std::string& where, const KeptGameError& error, const std::string& aside, Language language)
{
    std::string problem;
    switch (error.kind) {
    case KeptGameError::Kind::Damaged: problem = said(language, "it is damaged"); break;
    case KeptGameError::Kind::NewerVersion:
        problem = said(language, "it was kept by a newer version of the game");
        break;
    case KeptGameError::Kind::OtherPieces: problem = said(language, "it is for pieces this game does not have"); break;
    }
    const std::string text = aside.empty()
        ? said(language, "The game kept in %1 cannot be continued: %2 (%3). A new game starts.",
               {where, problem, error.problem})
        : said(language,
               "The game kept in %1 cannot be continued: %2 (%3). It is set aside as %4, and a new game starts.",
               {where, problem, error.problem, aside});
    return {said(language, "Kept game"), text, Notice::Icon::Warning, Notice::Topic::KeptGame};
}

std::string taskCodeProblem(const TaskCodeError& error, Language language)
{
    using Problem = TaskCodeError::Problem;
    const std::string number = std::to_string(error.number);
    const std::string limit = std::to_string(error.limit);
    switch (error.problem) {
    case Problem::Empty: return said(language, "it is empty");
    case Problem::ForeignCharacter:
        return said(language, "its character %1, \"%2\", is none of the letters, digits, - and _ a code is made of",
                    {number, error.text});
    case Problem::TooLong:
        return said(language, "it has %1 characters, and no task code has more than %2", {number, limit});
    case Problem::LongerThanItsTask:
        return said(language, "it has %1 characters, and its task ends after %2", {number, limit});
    case Problem::UnknownVersion: return said(language, "it does not begin with a version");
    case Problem::LaterVersion:
        return said(language, "it is of version %1, made by a later game; this game reads codes up to version %2",
                    {number, limit});
    case Problem::Truncated: return said(language, "it ends before its task does: part of it is missing");
    case Problem::PieceCount: return said(language, "it is for %1 pieces, and a task takes 1 to 7", {number});
    case Problem::NoCells: return said(language, "its figure has no cells");
    case Problem::TooManyCells:
        return said(language, "it has %1 cells, and the pieces it is for (%2) fill at most %3",
                    {number, std::to_string(error.count), limit});
    case Problem::FarAway:
        if (error.number > 0)
            return said(language, "cell %1 lies too far away, beyond %2 on an axis", {number, limit});
        return said(language, "a cell lies too far away, beyond %1 on an axis", {limit});
    case Problem::ListDamaged: return said(language, "its list of cells is damaged");
    case Problem::OffGrid: return said(language, "cell %1 lies between the places of the grid", {number});
    case Problem::RepeatedCell: return said(language, "cell %1 repeats an earlier one", {number});
    }
    return {};
}

Notice describeTaskCodeError(std::string_view code, const TaskCodeError& error, Language language)
{
    std::string shown(code.substr(0, kLongestCodeShown));
    if (code.size() > kLongestCodeShown)
        shown += "...";
    const std::string text = error.problem == TaskCodeError::Problem::Empty
        ? said(language, "No task code was given: paste a code or a task's link.")
        : said(language, "The task code %1 cannot be opened: %2.", {shown, taskCodeProblem(error, language)});
    return {said(language, "Open task code"), text, Notice::Icon::Error, Notice::Topic::TaskCode};
}

Notice noTaskCodeNotice(const std::optional<TaskCodeError>& error, Language language)
{
    const std::string text = error ? said(language, "This task has no code: %1.", {taskCodeProblem(*error, language)})
                                   : said(language, "There is no task to share: build freely, or load a task.");
    return {said(language, "Share task"), text, Notice::Icon::Information, Notice::Topic::TaskCode};
}

}  // namespace vokta
