#pragma once

// The shell's own lookup of its words: every text it shows, found in
// vokta_ru.ts while compiling, so that a text without its translation stops
// the build where it is used. Only the shell's sources include this.

#include <cstddef>
#include <iterator>
#include <string_view>

#include "shell/language.h"

namespace vokta {

struct Translation {
    std::string_view context;
    std::string_view english;
    std::string_view russian;
};

// Every translation of vokta_ru.ts, as the build reads it from that file.
inline constexpr Translation kRussian[] = {
#include "vokta_ru.inc"
};

inline constexpr std::size_t kNoTranslation = std::size(kRussian);

// The row of english under context, or kNoTranslation. (An index, not a
// pointer: compilers that check pointers for undefined behaviour cannot
// compare one to null while compiling.)
constexpr std::size_t findTranslation(std::string_view context, std::string_view english)
{
    for (std::size_t row = 0; row < std::size(kRussian); ++row) {
        if (kRussian[row].context == context && kRussian[row].english == english)
            return row;
    }
    return kNoTranslation;
}

// Not constexpr: called while compiling, it stops the build with its name.
inline void wordsWithoutTranslationInVoktaRuTs() {}

// The context vokta_ru.ts keeps the game's messages under: the window's
// class name, as Qt files the texts of a class.
inline constexpr std::string_view kMessageContext = "vokta::MainWindow";

// One text of the interface under its context in vokta_ru.ts, looked up while compiling.
class Words {
public:
    consteval Words(std::string_view context, std::string_view english) : row_(findTranslation(context, english))
    {
        if (row_ == kNoTranslation)
            wordsWithoutTranslationInVoktaRuTs();
    }
    // One of the game's messages.
    consteval Words(const char* message) : Words(kMessageContext, message) {}

    std::string_view in(Language language) const
    {
        return language == Language::Russian ? kRussian[row_].russian : kRussian[row_].english;
    }

private:
    std::size_t row_;
};

// What the game says for the player's screen reader.
consteval Words spoken(std::string_view english)
{
    return Words("Spoken", english);
}

}  // namespace vokta
