#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>

#include "puzzle/piece.h"
#include "puzzle/selection.h"
#include "puzzle/task_figure.h"
#include "render/mesh_builder.h"

namespace vokta {

class Game;

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

// Everything a step can change: the pieces, the selection, the task figure
// and the task's flags. The camera is not part of it.
struct GameSnapshot {
    struct PieceState {
        Vec3 position;
        CubeOffsets offsets{};
        // The frame's turn; the piece's mesh stays as built.
        Matrix4 transform;
        bool falling = false;
    };
    std::array<PieceState, kPieceTotal> pieces{};
    int selected = -1;  // piece index, or -1 for none
    SelectionMode selectionMode{};
    std::array<Vec3, kMaxCells> cells{};
    Vec3 figurePosition;
    // The figure's mesh, shared with the scene; null while the figure is hidden (New).
    std::shared_ptr<MeshBuilder> figureMesh;
    int pieceCount = 0;
    int cellCount = 0;
    bool taskCompleted = false;
    TaskRun run;
};

GameSnapshot takeSnapshot(const Game& game);
// Puts the game back exactly as the snapshot holds it: pieces falling then
// fall on from where they were; the scene, shadows, markers and menus follow.
void restoreSnapshot(Game& game, const GameSnapshot& snapshot);

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
// during it was a step, and where the dragged piece stood after the press.
struct Gesture {
    GameSnapshot before;
    bool stepped = false;
    int piece = -1;
    Vec3 piecePosition;
    CubeOffsets pieceOffsets{};
};

// Called by the routing after each input message it handled, with the game
// as it was before the message: records a step when the input changed the
// pieces (a move, a turn, a release, New, Retry or Load). A drag, from the
// press to the release of the left button, is one step however many cells it
// went.
void noteInput(Game& game, const GameSnapshot& before);

// Undo and redo as the menu commands and keys do them; false when there was nothing to undo or redo.
bool undoStep(Game& game);
bool redoStep(Game& game);

// Starts an attempt at the task identified by key (see taskKey): at the
// game's start, New (key 0: a free build), Retry and Load.
void startTaskRun(Game& game, std::uint64_t key);

}  // namespace vokta
