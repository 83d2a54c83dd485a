// The options as stored and what they mean, and the library as listed:
// exact words or nothing, each bad value named; names, difficulties and
// the player's best in either language.

#include <gtest/gtest.h>

#include <map>

#include "puzzle/rules/task_file.h"
#include "shell/library.h"
#include "shell/options.h"
#include "shell_fixtures.h"

namespace vokta {
namespace {

using testing::MapStore;

TEST(Options, OnlyTheExactWordsCountAndEveryOtherValueIsNamed)
{
    const struct {
        std::optional<std::string> language, colours, numbers;
        Language expectedLanguage;
        DisplayOptions expected;
        std::size_t problems;
    } table[] = {
        {{}, {}, {}, Language::English, {}, 0},
        {"Russian", "Distinct", "On", Language::Russian, {true, true}, 0},
        {"English", "Original", "Off", Language::English, {}, 0},
        {"russian", "distinct", "on", Language::English, {}, 3},
        {"Russian ", "Distinctive", "One", Language::English, {}, 3},
        {"", "", "", Language::English, {}, 3},
        {"Russian", "Distinct, Original", "1", Language::Russian, {}, 2},
    };
    for (const auto& row : table) {
        MapStore store;
        if (row.language)
            store.values[Stored::Language] = *row.language;
        if (row.colours)
            store.values[Stored::Colours] = *row.colours;
        if (row.numbers)
            store.values[Stored::Numbers] = *row.numbers;
        std::vector<std::string> problems;
        const Options options = readOptions(store, problems);
        EXPECT_EQ(options.language(), row.expectedLanguage) << row.language.value_or("-");
        EXPECT_EQ(options.languageName, row.language.value_or("English")) << "kept as it is";
        EXPECT_EQ(options.display, row.expected) << row.colours.value_or("-");
        ASSERT_EQ(problems.size(), row.problems) << row.language.value_or("-");
        if (row.colours && row.problems == 3) {
            EXPECT_EQ(problems[1],
                      "store Colours: \"" + *row.colours +
                          "\" is neither Distinct nor Original; the game's own colours are used");
        }
    }
    MapStore store;
    store.values[Stored::Language] = std::string(100, 'x');
    std::vector<std::string> problems;
    EXPECT_EQ(readOptions(store, problems).languageName, std::string(kLongestLanguageName, 'x'));

    writeDisplayOptions(store, {.distinctColours = true});
    EXPECT_EQ(store.values[Stored::Colours], "Distinct");
    EXPECT_EQ(store.values[Stored::Numbers], "Off") << "both written, the bad one made good";
}

TEST(Library, ListsEveryTaskInEitherLanguageWithThePlayersBest)
{
    const std::string folder = VOKTA_RESOURCE_DIR "/tasks";
    const std::vector<LibraryEntry> english = readLibrary(folder, Language::English, {});
    ASSERT_EQ(english.size(), 46u);
    EXPECT_EQ(english[0].name, "Cube");
    EXPECT_EQ(english[0].difficulty, "easy");
    EXPECT_EQ(english[0].file, folder + "/cube.tsk");
    EXPECT_FALSE(english[0].record);

    Progress progress;
    const TaskFileRead wall = readTaskFile(folder + "/castle-wall.tsk");
    ASSERT_TRUE(wall.task);
    progress.recordCompletion(taskKey(*wall.task), 12, 65'900);
    const std::vector<LibraryEntry> russian = readLibrary(folder, Language::Russian, progress);
    ASSERT_EQ(russian.size(), 46u);
    EXPECT_EQ(russian[0].name, "Куб");
    EXPECT_EQ(russian[0].difficulty, "лёгкая");
    const auto castle = std::find_if(russian.begin(), russian.end(), [&](const LibraryEntry& entry) {
        return entry.file.ends_with("/castle-wall.tsk");
    });
    ASSERT_NE(castle, russian.end());
    EXPECT_EQ(castle->name, "Крепостная стена");
    EXPECT_EQ(castle->difficulty, "трудная");
    EXPECT_EQ(castle->solutions, "Решений: 4");
    EXPECT_EQ(castle->record, "ходов: 12, время: 1:05");

    EXPECT_TRUE(readLibrary("/nonexistent", Language::English, {}).empty());
    const Notice empty = emptyLibraryNotice("/nonexistent", Language::English);
    EXPECT_EQ(empty.text, "The task library /nonexistent is missing or empty.");
    EXPECT_EQ(minutesAndSeconds(59'999), "0:59");
    EXPECT_EQ(minutesAndSeconds(3'600'000), "60:00");
}

}  // namespace
}  // namespace vokta
