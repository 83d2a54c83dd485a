#include "puzzle/piece.h"

#include <cmath>

#include "puzzle/game.h"

namespace vokta {

namespace {

constexpr float kFallPerTick = 2.0f;
// A piece found with a cube below the floor is lifted to this height and falls again.
constexpr float kRecoveryHeight = 100.0f;

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

    SceneObject loader(game_.scene);
    loader.loadByName(kModelFileName, "x3ds_cubes");
    const std::shared_ptr<MeshBuilder> cube = loader.findVisual("cubes");
    auto mesh = std::make_shared<MeshBuilder>();
    Vec3 previous{};
    for (int k = 0; k < kCubesPerPiece; ++k) {
        const Vec3 offset = kPieceShapes[static_cast<std::size_t>(index)][static_cast<std::size_t>(k)];
        if (cube) {
            cube->translate(offset - previous);
            mesh->addMeshBuilder(*cube);
        }
        offsets[static_cast<std::size_t>(k)] = offset;
        previous = offset;
    }
    frame()->addVisual(mesh);
    bindAppData();
}

void Piece::step(float)
{
    if (!falling)
        return;
    bool belowFloor = false;
    for (const Vec3& offset : offsets) {
        const float height = offset.z + position().z;
        if (height == 0.0f)
            falling = false;
        else if (height < 0.0f)
            belowFloor = true;
    }
    if (belowFloor) {
        const Vec3 p = position();
        setPosition(p.x, p.y, kRecoveryHeight);
    }
    if (!falling)
        return;
    const Vec3 before = position();
    setPosition(before.x, before.y, before.z - kFallPerTick);
    if (!isPlaceable()) {
        setPosition(before);
        falling = false;
    }
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

bool Piece::isPlaceable() const
{
    bool placeable = true;
    for (int i = 0; i < kCubesPerPiece && placeable; ++i) {
        if (cube(i).z < 0.0f)
            placeable = false;
    }
    for (const Piece* other : game_.piecesInPlay()) {
        if (!placeable)
            break;
        if (overlaps(*other))
            placeable = false;
    }
    if (!placeable)
        game_.sound.play(Cue::Refusal);
    return placeable;
}

}  // namespace vokta
