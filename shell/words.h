#pragma once

// The shell's own lookup of its words: every text it shows, found in
// vokta_ru.ts while compiling, so that a text without its translation stops
// the build where it is used. Only the shell's sources include this.

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

constexpr const Translation* findTranslation(std::string_view context, std::string_view english)
{
    for (const Translation& row : kRussian) {
        if (row.context == context && row.english == english)
            return &row;
    }
    return nullptr;
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
        if (row_ == nullptr)
            wordsWithoutTranslationInVoktaRuTs();
    }
    // One of the game's messages.
    consteval Words(const char* message) : Words(kMessageContext, message) {}

    std::string_view in(Language language) const
    {
        return language == Language::Russian ? row_->russian : row_->english;
    }

private:
    const Translation* row_;
};

}  // namespace vokta
