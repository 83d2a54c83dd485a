#pragma once

#include <algorithm>
#include <array>
#include <concepts>

#include "puzzle/rules/cell.h"
#include "puzzle/rules/random.h"
#include "puzzle/rules/sound_output.h"

namespace vokta {

inline constexpr int kPieceTotal = 7;

// The cubes piece index really has: the three-cube piece's fourth slot
// repeats its first cube and is no cube of its own.
constexpr int cubeCount(std::integral auto piece)
{
    return piece == 0 ? kCubesPerPiece - 1 : kCubesPerPiece;
}

// The cube offsets of each piece as built, in units; index 0 is the
// three-cube piece, whose fourth cube repeats its first so that every piece
// has four entries and all loops run over four.
inline constexpr std::array<CubeOffsets, kPieceTotal> kPieceShapes{{
    {{{0, 0, 0}, {10, 0, 0}, {0, 0, 10}, {0, 0, 0}}},
    {{{0, 0, 0}, {10, 0, 0}, {0, 0, 10}, {0, 10, 0}}},
    {{{0, 0, 0}, {10, 0, 0}, {-10, 0, 0}, {-10, 0, 10}}},
    {{{0, 0, 0}, {10, 0, 0}, {0, 0, 10}, {-10, 0, 0}}},
    {{{0, 0, 0}, {10, 0, 0}, {0, 0, 10}, {10, 10, 0}}},
    {{{0, 0, 0}, {10, 0, 0}, {0, 0, 10}, {10, -10, 0}}},
    {{{0, 0, 0}, {10, 0, 0}, {0, 0, 10}, {-10, 0, 10}}},
}};

inline constexpr int kMaxCells = 27;

// The built-in task, the 3 x 3 x 3 cube, x varying fastest, then y, then z.
// The figure stands at (0, 0, 10), so its cells fill z = 0, 10 and 20.
inline constexpr std::array<Vec3, kMaxCells> kBuiltInTask{{
    {-10, -10, -10}, {0, -10, -10}, {10, -10, -10}, {-10, 0, -10}, {0, 0, -10},    {10, 0, -10}, {-10, 10, -10},
    {0, 10, -10},    {10, 10, -10}, {-10, -10, 0},  {0, -10, 0},   {10, -10, 0},   {-10, 0, 0},  {0, 0, 0},
    {10, 0, 0},      {-10, 10, 0},  {0, 10, 0},     {10, 10, 0},   {-10, -10, 10}, {0, -10, 10}, {10, -10, 10},
    {-10, 0, 10},    {0, 0, 10},    {10, 0, 10},    {-10, 10, 10}, {0, 10, 10},    {10, 10, 10},
}};
inline constexpr Vec3 kBuiltInTaskPosition{0.0f, 0.0f, 10.0f};

// Piece index selected by each of the digit keys '1' to '7'.
inline constexpr std::array<int, 7> kDigitKeyPieces{0, 2, 3, 6, 4, 5, 1};

// The digit whose key selects piece index, or 0 for none.
constexpr int digitKeyOf(int piece)
{
    for (std::size_t k = 0; k < kDigitKeyPieces.size(); ++k) {
        if (kDigitKeyPieces[k] == piece)
            return static_cast<int>(k) + 1;
    }
    return 0;
}

// What a selected piece does with the left button held on it.
enum class SelectionMode { None = 0, Move = 1, Turn = 2 };

// A puzzle piece: four cube offsets around its position, and the turn that
// took its shape to those offsets. It falls 2 units a tick while released
// until a cube rests on the floor or on another piece.
struct PieceState {
    Cell position;
    CubeOffsets offsets{};
    Rotation turn;
    bool falling = false;

    // World cell of cube i.
    Cell cube(int i) const { return position + offsets[static_cast<std::size_t>(i)]; }

    friend bool operator==(const PieceState&, const PieceState&) = default;
};

// The target shape of the current task: up to 27 cells relative to the
// figure's position. Task files may put cells anywhere, so these are floats;
// only cells on the grid can ever be filled.
struct TaskFigureState {
    std::array<Vec3, kMaxCells> cells{};
    Vec3 position;
    // Hidden while the player builds freely after New.
    bool shown = false;

    friend bool operator==(const TaskFigureState&, const TaskFigureState&) = default;
};

// Everything the rules read and write, as one value: copied for undo,
// compared by tests, driven by every front end.
struct GameState {
    std::array<PieceState, kPieceTotal> pieces{};
    // The first pieceCount pieces take part; the others stay where they are, untouched.
    int pieceCount = 0;
    int cellCount = 0;
    int selected = -1;                                  // the selected piece's index, or -1
    SelectionMode selectionMode = SelectionMode::None;  // None exactly while nothing is selected
    TaskFigureState figure;
    // The task has been reported complete, or a free shape is being built: no completion test runs.
    bool taskCompleted = false;
    // Draws the scatter.
    GameRandom random;

    // How many pieces take part, 0 to 7.
    int inPlay() const { return std::clamp(pieceCount, 0, kPieceTotal); }
    PieceState& piece(int index) { return pieces[static_cast<std::size_t>(index)]; }
    const PieceState& piece(int index) const { return pieces[static_cast<std::size_t>(index)]; }

    friend bool operator==(const GameState&, const GameState&) = default;
};

// Where a piece stands, as the placement test sees it.
enum class Placement {
    Fits,
    BelowFloor,        // a cube is below z = 0
    Blocked,           // a cube overlaps a piece in play that is not falling
    BlockedByFalling,  // a cube overlaps pieces in play, every one of them still falling
};

// What one falling step did.
enum class FallStep {
    None,     // the piece was not falling
    Fell,     // it went down 2 units
    Landed,   // it stopped: on the floor, or on a piece at rest
    Waiting,  // a piece below it is still falling; it tries again next tick
};

// True when two cubes centred at a and b share space: closer than one edge on
// every axis. Exactly one edge apart is touching, not overlapping.
bool cubesOverlap(Cell a, Cell b);

// A coordinate on the grid: truncated to tens, toward zero.
constexpr int snapCoordinate(int value)
{
    return value / 10 * 10;
}
void snapToGrid(PieceState& piece);

// Gives the piece shape index (0 to 6) unturned.
void build(PieceState& piece, int index);

// True when a cube of a shares space with a cube of b.
bool overlaps(const PieceState& a, const PieceState& b);

// The placement test of piece index at position, without a sound.
Placement placementAt(const GameState& state, int index, Cell position);
// The same where the piece stands.
Placement placement(const GameState& state, int index);
// What keeps piece index from standing at position with offsets (a move or
// a turn as tried): a cube below the floor, or the first piece in play one
// would overlap, falling or not; nothing when it fits there.
struct Obstruction {
    enum class Kind { None, Floor, Piece };
    Kind kind = Kind::None;
    int piece = -1;  // the piece in the way, for Piece

    friend bool operator==(const Obstruction&, const Obstruction&) = default;
};
Obstruction obstructionAt(const GameState& state, int index, Cell position, const CubeOffsets& offsets);
// The placement test: no cube below the floor, no overlap with a piece in
// play. A refusal plays the refusal sound; the caller undoes its change.
bool isPlaceable(const GameState& state, int index, SoundOutput& sound);
// True when a falling step would not move the piece: a cube stands on the
// floor, or a step down would put one below it or into a piece in play that
// is not falling.
bool isSupported(const GameState& state, int index);

// The falling step of piece index, once a tick.
FallStep step(GameState& state, int index, SoundOutput& sound);
// A piece left with nothing under it (the piece below was carried or turned
// away, or falls on) falls again, and so does what rests on it. The
// selected piece is held.
void startFallingWhereUnsupported(GameState& state);

// True when as many piece cubes stand exactly in the figure's cells as the task has cells.
bool isCompleted(const GameState& state);

// Moves piece index to target, snapped to the grid, if it fits there;
// otherwise it stays exactly where it was and the refusal sound plays.
// Returns whether it moved.
bool tryMoveTo(GameState& state, int index, Cell target, SoundOutput& sound);
// Turns piece index about its own position by a quarter turn; one that does
// not fit is refused with the refusal sound and changes nothing. Returns
// whether it turned.
bool turnPiece(GameState& state, int index, const Rotation& quarter, SoundOutput& sound);

// Makes piece index the selected one, in move mode; it stops falling. A
// piece selected before is let go first. Selecting the selected piece again
// changes nothing.
void selectPiece(GameState& state, int index);
// Ends the selection: the piece falls from where it is.
void releaseSelection(GameState& state);

// Makes the built-in 3 x 3 x 3 cube the current task, shown.
void buildDefault(GameState& state);

// Lets go of the selection and drops the pieces in play from random cells 10
// to 50 units up. A piece is drawn again while it would start inside one
// placed before it, so no two pieces begin entangled.
void scatterPieces(GameState& state);

}  // namespace vokta
