#include "puzzle/rules/game_state.h"

#include <cstdlib>

namespace vokta {

namespace {

constexpr int kFallPerTick = 2;
// A piece found with a cube below the floor is lifted to this height and falls again.
constexpr int kRecoveryHeight = 100;
// Attempts to find a scatter cell clear of the pieces placed before; after
// that the last draw stands, so a crowded scatter still ends.
constexpr int kScatterAttempts = 100;

Cell drawScatterPosition(GameRandom& random)
{
    const int r1 = random.next();
    const int r2 = random.next();
    const int r3 = random.next();
    return {(r3 % 20 - 10) * 10, (r2 % 20 - 10) * 10, (r1 % 5 + 1) * 10};
}

}  // namespace

bool cubesOverlap(Cell a, Cell b)
{
    return std::abs(a.x - b.x) < 10 && std::abs(a.y - b.y) < 10 && std::abs(a.z - b.z) < 10;
}

void snapToGrid(PieceState& piece)
{
    const Cell p = piece.position;
    piece.position = {snapCoordinate(p.x), snapCoordinate(p.y), snapCoordinate(p.z)};
}

void build(PieceState& piece, int index)
{
    piece.offsets = kPieceShapes[static_cast<std::size_t>(index)];
    piece.turn = {};
}

bool overlaps(const PieceState& a, const PieceState& b)
{
    for (int i = 0; i < kCubesPerPiece; ++i) {
        for (int j = 0; j < kCubesPerPiece; ++j) {
            if (cubesOverlap(a.cube(i), b.cube(j)))
                return true;
        }
    }
    return false;
}

Placement placementAt(const GameState& state, int index, Cell at)
{
    const PieceState& piece = state.piece(index);
    for (const Cell& offset : piece.offsets) {
        if (at.z + offset.z < 0)
            return Placement::BelowFloor;
    }
    bool overlapsFalling = false;
    for (int o = 0; o < state.inPlay(); ++o) {
        if (o == index)
            continue;
        const PieceState& other = state.piece(o);
        bool overlap = false;
        for (int i = 0; i < kCubesPerPiece && !overlap; ++i) {
            for (int j = 0; j < kCubesPerPiece && !overlap; ++j)
                overlap = cubesOverlap(at + piece.offsets[static_cast<std::size_t>(i)], other.cube(j));
        }
        if (overlap) {
            if (!other.falling)
                return Placement::Blocked;
            overlapsFalling = true;
        }
    }
    return overlapsFalling ? Placement::BlockedByFalling : Placement::Fits;
}

Obstruction obstructionAt(const GameState& state, int index, Cell position, const CubeOffsets& offsets)
{
    for (const Cell& offset : offsets) {
        if (position.z + offset.z < 0)
            return {Obstruction::Kind::Floor};
    }
    for (int o = 0; o < state.inPlay(); ++o) {
        if (o == index)
            continue;
        for (const Cell& offset : offsets) {
            for (int j = 0; j < kCubesPerPiece; ++j) {
                if (cubesOverlap(position + offset, state.piece(o).cube(j)))
                    return {Obstruction::Kind::Piece, o};
            }
        }
    }
    return {};
}

Placement placement(const GameState& state, int index)
{
    return placementAt(state, index, state.piece(index).position);
}

bool isPlaceable(const GameState& state, int index, SoundOutput& sound)
{
    if (placement(state, index) == Placement::Fits)
        return true;
    sound.play(Cue::Refusal);
    return false;
}

bool isSupported(const GameState& state, int index)
{
    const PieceState& piece = state.piece(index);
    for (const Cell& offset : piece.offsets) {
        if (offset.z + piece.position.z == 0)
            return true;
    }
    const Cell p = piece.position;
    const Placement below = placementAt(state, index, {p.x, p.y, p.z - kFallPerTick});
    return below == Placement::BelowFloor || below == Placement::Blocked;
}

FallStep step(GameState& state, int index, SoundOutput& sound)
{
    PieceState& piece = state.piece(index);
    if (!piece.falling)
        return FallStep::None;
    // A cube found below the floor lifts the piece at once, so the cubes
    // examined after it see the new height.
    for (const Cell& offset : piece.offsets) {
        const int height = offset.z + piece.position.z;
        if (height == 0)
            piece.falling = false;
        else if (height < 0)
            piece.position.z = kRecoveryHeight;
    }
    if (!piece.falling)
        return FallStep::Landed;
    const Cell before = piece.position;
    piece.position.z -= kFallPerTick;
    switch (placement(state, index)) {
    case Placement::Fits: return FallStep::Fell;
    case Placement::BlockedByFalling:
        // The piece below moves on this tick or the next; landing on it now
        // would leave this one hanging in the air once it has gone.
        piece.position = before;
        return FallStep::Waiting;
    default:
        piece.position = before;
        piece.falling = false;
        sound.play(Cue::Refusal);
        return FallStep::Landed;
    }
}

void startFallingWhereUnsupported(GameState& state)
{
    for (bool started = true; started;) {
        started = false;
        for (int i = 0; i < state.inPlay(); ++i) {
            PieceState& piece = state.piece(i);
            if (!piece.falling && i != state.selected && !isSupported(state, i)) {
                piece.falling = true;
                started = true;
            }
        }
    }
}

bool isCompleted(const GameState& state)
{
    const int cellsToTest = std::min(state.cellCount, kMaxCells);
    std::array<Vec3, kMaxCells> worldCells;
    Vec3 low{}, high{};
    for (int k = 0; k < cellsToTest; ++k) {
        const Vec3 cell = state.figure.position + state.figure.cells[static_cast<std::size_t>(k)];
        worldCells[static_cast<std::size_t>(k)] = cell;
        low = k == 0 ? cell : Vec3{std::min(low.x, cell.x), std::min(low.y, cell.y), std::min(low.z, cell.z)};
        high = k == 0 ? cell : Vec3{std::max(high.x, cell.x), std::max(high.y, cell.y), std::max(high.z, cell.z)};
    }
    int matched = 0;
    for (int p = 0; p < state.inPlay(); ++p) {
        for (int c = 0; c < cubeCount(p); ++c) {
            const Vec3 cube = toVec3(state.piece(p).cube(c));
            // Most cubes stand away from the figure; only those inside its box can match a cell.
            if (cube.x < low.x || cube.y < low.y || cube.z < low.z || cube.x > high.x || cube.y > high.y ||
                cube.z > high.z)
                continue;
            for (int k = 0; k < cellsToTest; ++k) {
                if (worldCells[static_cast<std::size_t>(k)] == cube)
                    ++matched;
            }
        }
    }
    return matched == state.cellCount;
}

bool tryMoveTo(GameState& state, int index, Cell target, SoundOutput& sound)
{
    PieceState& piece = state.piece(index);
    const Cell before = piece.position;
    piece.position = target;
    snapToGrid(piece);
    if (isPlaceable(state, index, sound))
        return true;
    // Back exactly where it was: snapping again would drop a piece held
    // mid-fall at an odd height to the cell below, untested.
    piece.position = before;
    return false;
}

bool turnPiece(GameState& state, int index, const Rotation& quarter, SoundOutput& sound)
{
    PieceState& piece = state.piece(index);
    const CubeOffsets saved = piece.offsets;
    for (Cell& offset : piece.offsets)
        offset = rotate(offset, quarter);
    if (!isPlaceable(state, index, sound)) {
        piece.offsets = saved;
        return false;
    }
    piece.turn = piece.turn * quarter;
    return true;
}

void selectPiece(GameState& state, int index)
{
    if (index < 0 || index >= kPieceTotal || state.selected == index)
        return;
    releaseSelection(state);
    state.selected = index;
    state.piece(index).falling = false;
    state.selectionMode = SelectionMode::Move;
}

void releaseSelection(GameState& state)
{
    if (state.selected < 0)
        return;
    state.piece(state.selected).falling = true;
    state.selected = -1;
    state.selectionMode = SelectionMode::None;
}

void buildDefault(GameState& state)
{
    state.figure.cells = kBuiltInTask;
    state.figure.position = kBuiltInTaskPosition;
    state.figure.shown = true;
    state.cellCount = kMaxCells;
}

void scatterPieces(GameState& state)
{
    releaseSelection(state);
    for (int i = 0; i < state.inPlay(); ++i) {
        PieceState& piece = state.piece(i);
        for (int attempt = 0; attempt < kScatterAttempts; ++attempt) {
            piece.position = drawScatterPosition(state.random);
            bool clear = true;
            for (int placed = 0; placed < i && clear; ++placed)
                clear = !overlaps(piece, state.piece(placed));
            if (clear)
                break;
        }
        piece.falling = true;
    }
}

}  // namespace vokta
