#pragma once

#include <array>
#include <concepts>
#include <string>

#include "render/matrix.h"
#include "render/scene_object.h"

namespace vokta {

class Game;

inline constexpr int kPieceTotal = 7;
inline constexpr int kCubesPerPiece = 4;

using CubeOffsets = std::array<Vec3, kCubesPerPiece>;

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

// Prefix of every piece's name; picking finds pieces by it.
inline constexpr std::string_view kPieceNamePrefix = "x3ds_vokta";

// True when two cubes centred at a and b share space: closer than one edge on
// every axis. Exactly one edge apart is touching, not overlapping.
bool cubesOverlap(Vec3 a, Vec3 b);

// A coordinate on the grid: truncated to whole units, then to tens, both toward zero.
float snapCoordinate(float value);

// destination = (source, 1) * matrix, divided by the fourth component. When
// that component is nearly 0 the destination is left alone and the result is false.
bool transformPoint(Vec3& destination, Vec3 source, const Matrix4& matrix);

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

// A puzzle piece: four cube offsets around its position. It falls 2 units a
// tick while released until a cube rests on the floor or on another piece.
class Piece : public SceneObject {
public:
    explicit Piece(Game& game);

    // Builds shape index (0 to 6) from the shape table: name, offsets and a mesh of one cube per offset.
    void build(int index);
    // Gives the piece these cube offsets and a new mesh of one cube at each,
    // unturned; colour and quality are the caller's to set again. A number
    // shown stays, on the new cubes.
    void buildMesh(const CubeOffsets& cubeOffsets);
    // Shows digit (1 to 9) in ink on every outer face of the piece's cubes, a
    // second visual of its frame, so that it moves and turns with the piece
    // and picking it picks the piece; 0 shows none.
    void showNumber(int digit, Colour ink);
    int number() const { return number_; }
    // The falling step; dt is ignored: the piece always falls 2 units a tick.
    // What it did is kept for lastFallStep().
    void step(float dt) override;
    FallStep lastFallStep() const { return lastFallStep_; }
    // Ends the fall where the piece hangs, with the refusal sound: for pieces
    // that wait on each other, each below a cube of the other.
    void stopWaiting();

    void snapToGrid();
    // True when a cube of this piece shares space with a cube of other; never with itself.
    bool overlaps(const Piece& other) const;
    // The placement test without a sound.
    Placement placement() const { return placementAt(position()); }
    // The same, with the piece at position instead.
    Placement placementAt(Vec3 position) const;
    // True when a falling step would not move the piece: a cube stands on
    // the floor, or a step down would put one below it or into a piece in
    // play that is not falling.
    bool isSupported() const;
    // The placement test: no cube below the floor, no overlap with a piece in
    // play. A refusal plays the refusal sound; the caller undoes its change.
    bool isPlaceable() const;

    // World position of cube i.
    Vec3 cube(int i) const { return position() + offsets[static_cast<std::size_t>(i)]; }

    bool falling = false;
    CubeOffsets offsets{};

private:
    FallStep fall();

    Game& game_;
    FallStep lastFallStep_ = FallStep::None;
    // The offsets the mesh was built with: where the cubes are in the frame's own axes.
    CubeOffsets builtOffsets_{};
    int number_ = 0;
    Colour numberInk_ = 0;
    std::shared_ptr<MeshBuilder> numberMesh_;
};

}  // namespace vokta
