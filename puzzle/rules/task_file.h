#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "puzzle/rules/game_state.h"

namespace vokta {

// Task files ("*.tsk") are little-endian binary:
//   byte 0      major version (signed); the writer stores 1
//   byte 1      minor version; the writer stores 5; not read
//   byte 2      piece count p (signed): the task uses the first p pieces
//   byte 3      cell count n (signed): cell records that follow
//   4 + 12 k    cell k: x, y, z as 32-bit IEEE floats, in world units
// Bytes after the last cell are ignored. A file whose first byte is 0 is of
// version 0: it has no header and holds 27 cells for 7 pieces from its start.
// A negative count means none: no cells are read.
inline constexpr int kTaskFileMajorVersion = 1;
inline constexpr int kTaskFileMinorVersion = 5;
inline constexpr std::size_t kTaskHeaderBytes = 4;
inline constexpr std::size_t kTaskCellBytes = 12;
// No cell lies farther from the middle than this on any axis: far beyond any
// place a piece can be carried to.
inline constexpr float kFarthestCell = 1.0e6f;

// A task as a file describes it.
struct Task {
    int pieceCount = 0;
    int cellCount = 0;        // as stored: negative for none
    std::vector<Vec3> cells;  // max(cellCount, 0) of them
};

// Why a task file was refused or could not be written.
struct TaskFileError {
    enum class Kind {
        NewerVersion,  // made by a newer game
        Unreadable,    // cannot be opened or read
        Damaged,       // its contents break the format
        NotSaved,      // writing failed; an old file is left as it was
    };
    // What exactly, with the numbers it names.
    enum class Problem {
        Version,         // number: the version found
        System,          // the system's reason, in systemMessage
        Folder,          // a folder, not a file
        Empty,           // no bytes at all
        HeaderCut,       // it ends within its header
        CellsCut,        // number: bytes there are; limit: bytes the cells need; count: cells
        TooManyPieces,   // number: pieces asked for; limit: pieces there are
        TooManyCells,    // number: cells; limit: most cells a task has
        NotANumber,      // number: the cell (counted from 1) with a coordinate that is no number
        FarAway,         // number: the cell (counted from 1); limit: the largest coordinate a cell may have
        ReadOnly,        // the old file is read-only
        FolderInTheWay,  // a folder has the target's name
    };
    Kind kind;
    Problem problem;
    std::string path;
    std::string systemMessage = {};
    long number = 0;
    long limit = 0;
    long count = 0;
};

struct TaskFileRead {
    std::optional<Task> task;
    TaskFileError error;  // when there is no task
};

// Reads and checks the whole file; a refused file yields no task at all.
TaskFileRead readTaskFile(const std::string& path);
// The same for a file's bytes, path only naming it in errors.
TaskFileRead decodeTask(std::span<const unsigned char> bytes, const std::string& path);
// A task as a current file's bytes.
std::vector<unsigned char> encodeTask(const Task& task);

// Makes task the current one: its cells become the figure, shown at the
// origin, and its counts the game's. (Cells beyond the task's keep what they held.)
void applyTask(GameState& state, const Task& task);

// The current arrangement of the pieces in play as a task: every real cube,
// shifted across the floor so that the shape stands near the middle.
Task taskFromPieces(const GameState& state);

// The built-in 3 x 3 x 3 cube as a task, its cells where they stand.
Task builtInTask();
// Identifies a task by what it holds, wherever its file lies and in whatever
// order and layout it lists the cells: a hash of the encoding (see
// encodeTask) of its cells in sorted order; never 0 (0 stands for a free build).
std::uint64_t taskKey(const Task& task);
// That task as a file's bytes.
std::vector<unsigned char> taskFileBytes(const GameState& state);

// Writes taskFileBytes to path through a temporary file in the same folder,
// so a failed save leaves any old file exactly as it was. A read-only old
// file is not replaced.
std::optional<TaskFileError> writeTaskFile(const GameState& state, const std::string& path);
// The same for a task as it stands.
std::optional<TaskFileError> writeTaskFile(const Task& task, const std::string& path);

}  // namespace vokta
