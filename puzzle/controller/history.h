#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

#include "puzzle/rules/game_state.h"

namespace vokta {

// The current task's attempt: which task it is (see taskKey), when it
// started and how many steps the player has taken in it.
struct TaskRun {
    std::uint64_t key = 0;
    // Counts the starts (game start, New, Retry, Load), so a step can tell
    // whether it started the task afresh.
    int number = 0;
    std::int64_t startTick = 0;
    int moves = 0;

    bool operator==(const TaskRun&) const = default;
};

// Everything a step can change: the game state and the attempt. The camera
// is not part of it.
struct GameSnapshot {
    GameState state;
    TaskRun run;

    bool operator==(const GameSnapshot&) const = default;
};

// The steps the player can undo and redo: each is the game just before and
// just after one step. A new step drops the steps that could be redone; the
// oldest steps go beyond kLimit.
class History {
public:
    static constexpr std::size_t kLimit = 1000;

    void record(GameSnapshot before, GameSnapshot after);
    bool canUndo() const { return next_ > 0; }
    bool canRedo() const { return next_ < steps_.size(); }
    std::size_t undoable() const { return next_; }
    // The game as it was before the step to undo, or after the step to redo;
    // null when there is none.
    const GameSnapshot* undo();
    const GameSnapshot* redo();
    void clear();

    // Every step kept, oldest first, as (before, after).
    std::vector<std::pair<GameSnapshot, GameSnapshot>> steps() const;
    // The steps of a kept game, undoable of them done (at most kLimit, the
    // newest kept).
    void resume(const std::vector<std::pair<GameSnapshot, GameSnapshot>>& steps, std::size_t undoable);

private:
    struct Step {
        GameSnapshot before;
        GameSnapshot after;
    };
    std::deque<Step> steps_;
    std::size_t next_ = 0;  // steps_[0, next_) can be undone, the rest redone
};

// A drag under way, from the press of the left button on a piece ready to be
// dragged to its release: the game before the press, whether an input
// during it was a step, and how the dragged piece stood after the press.
struct Gesture {
    GameSnapshot before;
    bool stepped = false;
    int piece = -1;
    PieceState pieceAfterPress;
};

// Whether one input changed the pieces: moved or turned one, let one go
// (a piece that starts to fall), or set up the task afresh. Selecting a piece
// stops its fall, which is no step.
bool changedPieces(const GameSnapshot& before, const GameSnapshot& after);

}  // namespace vokta
