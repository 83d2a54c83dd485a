#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "puzzle/rules/task_file.h"

namespace vokta {

// A task figure as a short text that a link or a chat message carries: its
// cells and its piece count, nothing of the pieces' arrangement. Codes are
// durable: every later game opens a code of this version as the same task.
//
// Letters: 0-9 A-Z a-z - _ (URL-safe), worth 0 to 63, six bits each, the
// first bit the highest. The first letter is the version: "1". The bits that
// follow, in cell units (a world coordinate divided by 10):
//   3 bits      piece count p, 1 to 7
//   1 bit       layout: 0 a mask over the box, 1 a list of cells
//   3 numbers   the box's lowest corner x, y, z (signed: 2v for v >= 0, -2v - 1 below)
//   3 numbers   the box's width, depth and height, less one
// then, for a mask, one bit for each cell of the box (1: in the figure),
// x varying fastest, then y, then z; for a list, the number of cells less
// one and each cell's x, y, z from the corner in as many bits as the box's
// largest offset on that axis needs, in increasing order of z, then y, then
// x. A number is an order-0 Exp-Golomb code: as many 0 bits as the binary
// form of v + 1 has after its leading 1, then that form. Zero bits fill the
// last letter. The encoder writes whichever layout is shorter (the mask on
// a tie), so a compact figure costs a bit a cell of its box, and a sparse
// one a few bits a cell.
inline constexpr int kTaskCodeVersion = 1;
// A task's link for an installed game: the scheme, then the code.
inline constexpr std::string_view kTaskLinkScheme = "vokta:";
// No task has a longer code: 27 cells as far apart as task files allow.
inline constexpr std::size_t kLongestTaskCode = 282;

// Why a task has no code or a code opens no task.
struct TaskCodeError {
    enum class Problem {
        Empty,              // no characters at all
        ForeignCharacter,   // number: the character's place (from 1); text: the character
        TooLong,            // number: characters; limit: kLongestTaskCode
        LongerThanItsTask,  // number: characters; limit: characters its task takes
        UnknownVersion,     // number: the version its first letter gives (0, which none has)
        LaterVersion,       // number: the version; limit: the latest this game reads
        Truncated,          // it ends before its task does
        PieceCount,         // number: pieces it asks for
        NoCells,            // the figure has no cells
        TooManyCells,       // number: cells; limit: cells the pieces fill; count: pieces
        FarAway,            // limit: the largest coordinate a cell may have; number: the task's cell (from 1)
        ListDamaged,   // a listed cell lies outside its box, repeats or breaks the order, or the list has no length
        OffGrid,       // number: the task's cell (from 1) that lies between grid places
        RepeatedCell,  // number: the task's cell (from 1) that repeats an earlier one
    };
    Problem problem = Problem::Empty;
    long number = 0;
    long limit = 0;
    long count = 0;
    std::string text = {};
};

struct TaskCodeRead {
    std::optional<Task> task;
    TaskCodeError error;  // when there is no task
};

struct TaskCodeWrite {
    std::optional<std::string> code;
    TaskCodeError error;  // when there is no code
};

// The code of a task whose cells lie on the grid, no two the same, and
// that its pieces can fill (PieceCount, NoCells, TooManyCells, FarAway,
// OffGrid or RepeatedCell otherwise).
TaskCodeWrite encodeTaskCode(const Task& task);
// The task a code stands for, its cells in the mask's order; a refused code
// yields no task at all.
TaskCodeRead decodeTaskCode(std::string_view code);

// The code within what a player pasted or a link carried: a code alone, a
// page's address with "#task=CODE", or "vokta:CODE"; spaces around it are
// dropped. Anything else comes back as it is, for decodeTaskCode to refuse.
std::string_view taskCodeInLink(std::string_view text);

// The task the game shows: the figure's cells where they stand, and the
// pieces in play. Nothing while the player builds freely.
std::optional<Task> currentTask(const GameState& state);

}  // namespace vokta
