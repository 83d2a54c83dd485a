#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace vokta {

// The player's best at one task: completed at least once, in the fewest
// moves and the shortest time (in milliseconds from the task's start), each
// the best of any completion, not necessarily of the same one.
struct TaskRecord {
    int fewestMoves = 0;
    std::int64_t shortestMs = 0;

    bool operator==(const TaskRecord&) const = default;
};

// The records of every task the player has completed, by task key (see
// taskKey). Kept as a small text file: a first line naming the format, then
// one line per task: the key in hex, the fewest moves and the shortest time.
class Progress {
public:
    // Reads the text of a progress file. Lines that cannot be read are left
    // out, so a damaged file loses only what is damaged.
    static Progress parse(std::string_view text);
    std::string text() const;

    std::optional<TaskRecord> find(std::uint64_t key) const;
    // Counts a completion; true when it improved or added the record.
    bool recordCompletion(std::uint64_t key, int moves, std::int64_t ms);

    bool operator==(const Progress&) const = default;

private:
    std::map<std::uint64_t, TaskRecord> records_;
};

}  // namespace vokta
