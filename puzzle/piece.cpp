#include "puzzle/piece.h"

#include <algorithm>
#include <cmath>

#include "puzzle/game.h"
#include "render/coordinates.h"
#include "render/seven_segment.h"

namespace vokta {

namespace {

constexpr float kFallPerTick = 2.0f;
// A piece found with a cube below the floor is lifted to this height and falls again.
constexpr float kRecoveryHeight = 100.0f;

// A number's height on a cube face, and how far it stands off the face: far
// enough for the depth test to keep it in front from any distance the camera
// goes to, close enough to look painted on.
constexpr float kNumberHeight = 6.5f;
constexpr float kNumberLift = 0.1f;

// A cube face's outward normal and the way a number on it reads upwards: on
// the sides, up; on top and below, away from the start-up camera, which
// looks along (-1, -1, -1), so that the number stands upright in that view.
struct NumberedFace {
    Vec3 normal;
    Vec3 up;
};
const Vec3 kAwayFromStartView = normalize({-1.0f, -1.0f, 0.0f});
const NumberedFace kNumberedFaces[] = {
    {{1, 0, 0}, {0, 0, 1}},            // +x
    {{-1, 0, 0}, {0, 0, 1}},           // -x
    {{0, 1, 0}, {0, 0, 1}},            // +y
    {{0, -1, 0}, {0, 0, 1}},           // -y
    {{0, 0, 1}, kAwayFromStartView},   // top
    {{0, 0, -1}, kAwayFromStartView},  // bottom
};

// The digit on every face of the cubes at offsets that no other of them covers.
std::shared_ptr<MeshBuilder> numberMesh(const CubeOffsets& offsets, int digit, Colour ink)
{
    auto mesh = std::make_shared<MeshBuilder>();
    for (auto cube = offsets.begin(); cube != offsets.end(); ++cube) {
        // The three-cube piece repeats a cube; it gets its numbers once.
        if (std::find(offsets.begin(), cube, *cube) != cube)
            continue;
        for (const NumberedFace& face : kNumberedFaces) {
            const Vec3 beside = *cube + face.normal * kCubeEdge;
            if (std::any_of(offsets.begin(), offsets.end(), [&](Vec3 other) { return cubesOverlap(beside, other); }))
                continue;
            addSevenSegmentDigit(*mesh, digit, *cube + face.normal * (kCubeEdge / 2 + kNumberLift),
                                 cross(face.normal, face.up), face.up, kNumberHeight, ink);
        }
    }
    mesh->setQuality(RenderQuality::Flat);
    return mesh;
}

}  // namespace

bool cubesOverlap(Vec3 a, Vec3 b)
{
    return std::abs(a.x - b.x) < 10.0f && std::abs(a.y - b.y) < 10.0f && std::abs(a.z - b.z) < 10.0f;
}

float snapCoordinate(float value)
{
    // Beyond the range of an int nothing is on a finer grid than tens anyway.
    if (!(std::abs(value) < 2.0e9f))
        return value;
    return static_cast<float>(static_cast<int>(value) / 10 * 10);
}

bool transformPoint(Vec3& destination, Vec3 source, const Matrix4& m)
{
    const float w = source.x * m.at(0, 3) + source.y * m.at(1, 3) + source.z * m.at(2, 3) + m.at(3, 3);
    if (std::abs(w) < 0.00001f)
        return false;
    const Vec3 p = transformPoint(m, source);
    destination = {p.x / w, p.y / w, p.z / w};
    return true;
}

Piece::Piece(Game& game) : SceneObject(game.scene), game_(game) {}

void Piece::build(int index)
{
    std::string name(kPieceNamePrefix);
    name += static_cast<char>('1' + index);
    setName(name);
    buildMesh(kPieceShapes[static_cast<std::size_t>(index)]);
    bindAppData();
}

void Piece::buildMesh(const CubeOffsets& cubeOffsets)
{
    removeVisuals();
    setOrientation({0.0f, 0.0f, 1.0f}, {0.0f, 1.0f, 0.0f});
    offsets = cubeOffsets;
    // The three-cube piece's repeated cube is drawn twice, in the same place.
    frame()->addVisual(meshAtCells(game_.scene, kModelFileName, "x3ds_cubes", "cubes", cubeOffsets));
    builtOffsets_ = cubeOffsets;
    showNumber(number_, numberInk_);
}

void Piece::showNumber(int digit, Colour ink)
{
    number_ = digit;
    numberInk_ = ink;
    if (numberMesh_)
        frame()->deleteVisual(numberMesh_.get());
    numberMesh_.reset();
    if (digit > 0) {
        numberMesh_ = numberMesh(builtOffsets_, digit, ink);
        frame()->addVisual(numberMesh_);
    }
    game_.scene.sceneDirty = true;
}

void Piece::step(float)
{
    lastFallStep_ = fall();
}

FallStep Piece::fall()
{
    if (!falling)
        return FallStep::None;
    // A cube found below the floor lifts the piece at once, so the cubes
    // examined after it see the new height.
    for (const Vec3& offset : offsets) {
        const float height = offset.z + position().z;
        if (height == 0.0f) {
            falling = false;
        } else if (height < 0.0f) {
            const Vec3 p = position();
            setPosition(p.x, p.y, kRecoveryHeight);
        }
    }
    if (!falling)
        return FallStep::Landed;
    const Vec3 before = position();
    setPosition(before.x, before.y, before.z - kFallPerTick);
    switch (placement()) {
    case Placement::Fits: return FallStep::Fell;
    case Placement::BlockedByFalling:
        // The piece below moves on this tick or the next; landing on it now
        // would leave this one hanging in the air once it has gone.
        setPosition(before);
        return FallStep::Waiting;
    default:
        setPosition(before);
        falling = false;
        game_.sound.play(Cue::Refusal);
        return FallStep::Landed;
    }
}

void Piece::stopWaiting()
{
    falling = false;
    lastFallStep_ = FallStep::Landed;
    game_.sound.play(Cue::Refusal);
}

void Piece::snapToGrid()
{
    const Vec3 p = position();
    setPosition(snapCoordinate(p.x), snapCoordinate(p.y), snapCoordinate(p.z));
}

bool Piece::overlaps(const Piece& other) const
{
    if (&other == this)
        return false;
    for (int i = 0; i < kCubesPerPiece; ++i) {
        for (int j = 0; j < kCubesPerPiece; ++j) {
            if (cubesOverlap(cube(i), other.cube(j)))
                return true;
        }
    }
    return false;
}

Placement Piece::placementAt(Vec3 at) const
{
    for (const Vec3& offset : offsets) {
        if (at.z + offset.z < 0.0f)
            return Placement::BelowFloor;
    }
    bool overlapsFalling = false;
    for (const Piece* other : game_.piecesInPlay()) {
        if (other == this)
            continue;
        bool overlap = false;
        for (int i = 0; i < kCubesPerPiece && !overlap; ++i) {
            for (int j = 0; j < kCubesPerPiece && !overlap; ++j)
                overlap = cubesOverlap(at + offsets[static_cast<std::size_t>(i)], other->cube(j));
        }
        if (overlap) {
            if (!other->falling)
                return Placement::Blocked;
            overlapsFalling = true;
        }
    }
    return overlapsFalling ? Placement::BlockedByFalling : Placement::Fits;
}

bool Piece::isSupported() const
{
    for (const Vec3& offset : offsets) {
        if (offset.z + position().z == 0.0f)
            return true;
    }
    const Vec3 p = position();
    const Placement below = placementAt({p.x, p.y, p.z - kFallPerTick});
    return below == Placement::BelowFloor || below == Placement::Blocked;
}

bool Piece::isPlaceable() const
{
    if (placement() == Placement::Fits)
        return true;
    game_.sound.play(Cue::Refusal);
    return false;
}

}  // namespace vokta
