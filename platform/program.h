#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vokta {

// The folder of the running program's executable, links resolved: asked of
// the system (the module's own file name on Windows, /proc/self/exe on
// Linux), else taken from argv0 as the program was started.
std::filesystem::path programDirectory(std::string_view argv0);

// Folders that may hold the model file, in the order they are tried: the
// program's own folder (the build tree, an unpacked archive), then the data
// folder of an installed game.
std::vector<std::filesystem::path> modelDirectoryCandidates(const std::filesystem::path& programDirectory);

// The first candidate holding a regular file of that name, or an empty path.
std::filesystem::path findModelDirectory(const std::vector<std::filesystem::path>& candidates,
                                         std::string_view modelFileName);

// The command line in UTF-8. On Windows argv holds the system's code page,
// which cannot name every file, so the arguments are read again as UTF-16.
std::vector<std::string> utf8Arguments(int argc, char* argv[]);

// Standard input and output carry bytes exactly as on Linux: no line ends
// turned into CR LF on Windows, so printed states and piped scripts are the
// same everywhere.
void useBinaryStandardStreams();

}  // namespace vokta
