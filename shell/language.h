#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace vokta {

// The languages of the interface.
enum class Language { English = 0, Russian = 1 };

// Every word the player reads comes from resources/translations/vokta_ru.ts,
// the file the window's Qt translations are built from too: english as
// language has it, its translation under context there, or english itself
// where that file has none.
std::string_view translate(Language language, std::string_view context, std::string_view english);

// text with "%1", "%2", ... replaced by arguments in one pass, as Qt's arg()
// does: an argument holding "%2" stays as it is.
std::string withArguments(std::string_view text, std::initializer_list<std::string_view> arguments);

}  // namespace vokta
