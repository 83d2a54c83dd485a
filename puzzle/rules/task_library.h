#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vokta {

// A task library is a folder of task files and its index.txt: one line a
// task, tab-separated, with these fields; '#' starts a comment line.
enum class IndexField { File, Solutions, Difficulty, English, Russian };
inline constexpr std::size_t kIndexFields = 5;

struct IndexLine {
    int number = 0;  // from 1, counting every line of the file
    std::vector<std::string> fields;

    // A field, or an empty string when the line is too short to have it.
    const std::string& field(IndexField which) const;
};

// The lines of an index.txt that are neither empty nor comments, as they
// stand (a line may have too few fields or too many; the caller decides).
std::vector<IndexLine> parseLibraryIndex(std::string_view text);

// How hard a task is, by how many ways there are to fill it: "easy" with 300
// or more, "medium" with 20 or more, "hard" with fewer.
inline constexpr std::uint64_t kEasySolutions = 300;
inline constexpr std::uint64_t kMediumSolutions = 20;
const char* difficultyOf(std::uint64_t solutions);

}  // namespace vokta
