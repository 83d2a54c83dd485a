#include "shell/options.h"

namespace vokta {

namespace {

constexpr std::string_view kRussian = "Russian";
constexpr std::string_view kEnglish = "English";
constexpr std::string_view kDistinctColours = "Distinct";
constexpr std::string_view kOriginalColours = "Original";
constexpr std::string_view kNumbersOn = "On";
constexpr std::string_view kNumbersOff = "Off";

std::string problem(const ShellStore& store, Stored what, std::string_view value, std::string_view why)
{
    return store.describe(what) + ": \"" + std::string(value) + "\" is " + std::string(why);
}

}  // namespace

const StoredName& storedName(Stored what)
{
    for (const StoredName& name : kStoredNames) {
        if (name.what == what)
            return name;
    }
    return kStoredNames[0];
}

Language Options::language() const
{
    return languageName == kRussian ? Language::Russian : Language::English;
}

Options readOptions(ShellStore& store, std::vector<std::string>& problems)
{
    Options options;
    if (std::optional<std::string> language = store.read(Stored::Language)) {
        options.languageName = language->substr(0, kLongestLanguageName);
        if (options.languageName != kRussian && options.languageName != kEnglish)
            problems.push_back(problem(store, Stored::Language, options.languageName,
                                       "no language of the game (English or Russian); English is used"));
    }
    if (const std::optional<std::string> colours = store.read(Stored::Colours)) {
        options.display.distinctColours = *colours == kDistinctColours;
        if (*colours != kDistinctColours && *colours != kOriginalColours)
            problems.push_back(problem(store, Stored::Colours, *colours,
                                       "neither Distinct nor Original; the game's own colours are used"));
    }
    if (const std::optional<std::string> numbers = store.read(Stored::Numbers)) {
        options.display.pieceNumbers = *numbers == kNumbersOn;
        if (*numbers != kNumbersOn && *numbers != kNumbersOff)
            problems.push_back(
                problem(store, Stored::Numbers, *numbers, "neither On nor Off; the pieces show no numbers"));
    }
    return options;
}

void writeDisplayOptions(ShellStore& store, DisplayOptions options)
{
    store.write(Stored::Colours, options.distinctColours ? kDistinctColours : kOriginalColours);
    store.write(Stored::Numbers, options.pieceNumbers ? kNumbersOn : kNumbersOff);
}

}  // namespace vokta
