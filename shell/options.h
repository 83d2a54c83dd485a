#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/language.h"

namespace vokta {

// What the game keeps between sessions.
enum class Stored { Language, Colours, Numbers, Progress, Game };

// The names each front end keeps them under: the desktop's settings file
// vokta.ini (section OPTIONS; the progress and the game in progress have
// files of their own in the user's data folder), and the browser's storage.
struct StoredName {
    Stored what;
    std::string_view setting;
    std::string_view pageKey;
};
inline constexpr StoredName kStoredNames[] = {
    {Stored::Language, "OPTIONS/Language", "vokta.Language"},
    {Stored::Colours, "OPTIONS/Colours", "vokta.Colours"},
    {Stored::Numbers, "OPTIONS/Numbers", "vokta.Numbers"},
    {Stored::Progress, "progress.txt", "vokta.progress"},
    {Stored::Game, "game.kept", "vokta.game"},
};
const StoredName& storedName(Stored what);

// Where a front end keeps them: the settings file and progress file, the
// browser's storage, or nowhere at all (vokta-play).
class ShellStore {
public:
    virtual ~ShellStore() = default;
    // The value kept, or nothing when there is none.
    virtual std::optional<std::string> read(Stored what) = 0;
    // Keeps value; a store that cannot says why itself, and the game goes on.
    virtual void write(Stored what, std::string_view value) = 0;
    // Where a value is kept, as a message names it: "vokta.ini [OPTIONS] Colours".
    virtual std::string describe(Stored what) const = 0;
    // Moves a value that cannot be used out of the way, beside where it was,
    // keeping it whole; where it went, as describe names it, or an empty
    // string when it could not be moved.
    virtual std::string setAside(Stored what) = 0;
};

// The two options that change only how the scene looks.
struct DisplayOptions {
    bool distinctColours = false;
    bool pieceNumbers = false;

    bool operator==(const DisplayOptions&) const = default;
};

// The longest language name kept: a longer one is cut.
inline constexpr std::size_t kLongestLanguageName = 79;

// The options as stored. The language is kept by its name exactly as it
// stands: "Russian" gives Russian, any other name English (and stays stored
// as it is). The display options are on for "Distinct" and "On" exactly;
// anything else, or nothing, is off, and is written back as "Original" and
// "Off" when they are next stored.
struct Options {
    std::string languageName = "English";
    DisplayOptions display;

    Language language() const;
};

// Reads the options from store; each value that names no option adds a line
// to problems, naming where it is kept and what is wrong with it.
Options readOptions(ShellStore& store, std::vector<std::string>& problems);
// Writes the display options, both of them.
void writeDisplayOptions(ShellStore& store, DisplayOptions options);

}  // namespace vokta
