#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace vokta {

// File names travel through the game as UTF-8 text. Windows takes them as
// UTF-16, and there std::filesystem::path and std::fopen read narrow text in
// the system's code page, which loses every character outside it; these
// convert and open through UTF-8 on every system.
std::filesystem::path pathFromUtf8(std::string_view text);
std::string utf8FromPath(const std::filesystem::path& path);

// std::fopen for a UTF-8 name, with "x" (create a new file, never open an
// existing one) understood on every system. Null, with errno set, on failure.
std::FILE* openFile(const std::string& utf8Path, const char* mode);

}  // namespace vokta
