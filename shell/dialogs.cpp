#include "shell/dialogs.h"

#include "shell/library.h"
#include "shell/words.h"

namespace vokta {

namespace {

constexpr std::string_view kHelpContext = "Help";

constexpr Words kHelpCaption(kHelpContext, "Vokta Help");
constexpr Words kHelpContents(kHelpContext, "Contents");
constexpr Words kHelpBack(kHelpContext, "Back");
constexpr Words kUpdated("Vokta has been updated.");

constexpr std::string_view kRandomContext = "vokta::RandomTaskDialog";
constexpr Words kRandomCaption(kRandomContext, "Random task");
constexpr Words kRandomQuestion(kRandomContext, "How hard a task shall be made?");
constexpr Words kDifficultyButtons[] = {
    Words(kRandomContext, "Easy"),
    Words(kRandomContext, "Medium"),
    Words(kRandomContext, "Hard"),
    Words(kRandomContext, "Unique"),
};
static_assert(std::size(kDifficultyButtons) == kDifficulties.size());

// The standard buttons' words, as Qt's own Russian translation has them.
constexpr std::string_view kRussianOpen = "\xD0\x9E\xD1\x82\xD0\xBA\xD1\x80\xD1\x8B\xD1\x82\xD1\x8C";  // Открыть
constexpr std::string_view kRussianCancel = "\xD0\x9E\xD1\x82\xD0\xBC\xD0\xB5\xD0\xBD\xD0\xB0";        // Отмена

}  // namespace

DialogWords dialogWords(Language language)
{
    const bool russian = language == Language::Russian;
    return {
        .start = "START",
        .help = "HELP",
        .quit = "QUIT",
        .helpCaption = std::string(kHelpCaption.in(language)),
        .helpContents = std::string(kHelpContents.in(language)),
        .helpBack = std::string(kHelpBack.in(language)),
        .libraryCaption = libraryCaption(language),
        .ok = "OK",
        .open = russian ? std::string(kRussianOpen) : "Open",
        .cancel = russian ? std::string(kRussianCancel) : "Cancel",
        .aboutPicture = russian ? "pictures/about-ru.png" : "pictures/about-en.png",
        .randomCaption = std::string(kRandomCaption.in(language)),
        .randomQuestion = std::string(kRandomQuestion.in(language)),
        .difficulties = {std::string(kDifficultyButtons[0].in(language)),
                         std::string(kDifficultyButtons[1].in(language)),
                         std::string(kDifficultyButtons[2].in(language)),
                         std::string(kDifficultyButtons[3].in(language))},
        .updated = std::string(kUpdated.in(language)),
        .shareCaption = std::string(Words("Share task").in(language)),
        .shareCode = std::string(Words("The code of this task:").in(language)),
        .shareLink = std::string(Words("Its link:").in(language)),
        .copy = std::string(Words("Copy").in(language)),
        .copied = std::string(Words("Copied").in(language)),
        .openCodeCaption = std::string(Words("Open task code").in(language)),
        .openCodePrompt = std::string(Words("A task's code or its link:").in(language)),
    };
}

}  // namespace vokta
