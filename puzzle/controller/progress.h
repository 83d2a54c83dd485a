#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "puzzle/rules/calendar.h"

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
// taskKey), and the days whose task of the day was completed. Kept as a
// small text file: a first line naming the format, then one line per task:
// the key in hex, the fewest moves and the shortest time; then one line per
// day: "day" and the date, YYYY-MM-DD. (A reader from before the days
// leaves their lines out, as it leaves out any line it cannot read.)
class Progress {
public:
    // Reads the text of a progress file. Lines that cannot be read are left
    // out, so a damaged file loses only what is damaged.
    static Progress parse(std::string_view text);
    std::string text() const;

    std::optional<TaskRecord> find(std::uint64_t key) const;
    // Counts a completion; true when it improved or added the record.
    bool recordCompletion(std::uint64_t key, int moves, std::int64_t ms);

    // Counts the task of a day as completed; true when it was not yet.
    bool recordDay(Date day);
    bool solvedOn(Date day) const;
    // How many days in a row have their task completed, counted back from
    // today, or from yesterday while today's is still to be done.
    int daysInARow(Date today) const;

    bool operator==(const Progress&) const = default;

private:
    std::map<std::uint64_t, TaskRecord> records_;
    std::set<int> days_;  // day numbers (see dayNumber)
};

}  // namespace vokta
