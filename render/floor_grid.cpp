#include "render/floor_grid.h"

#include "geometry/coordinates.h"

namespace vokta {

namespace {

// Column or row of the cell holding a cube centre coordinate: truncated to
// whole units, then to tens, both toward zero. Far-off values (and NaN) give
// an index off the floor without overflowing the conversion.
int cellIndex(float coordinate)
{
    if (!(coordinate > -1e6f && coordinate < 1e6f))
        return -1;
    return static_cast<int>(coordinate) / 10 + 9;
}

}  // namespace

FloorGrid::FloorGrid(Scene& scene, Colours colours)
    : SceneObject(scene), mesh_(std::make_shared<MeshBuilder>()), colours_(colours)
{
    // The call order fixes the vertex, normal and face numbers.
    for (int i = -10; i <= 10; ++i) {
        for (int j = -10; j <= 10; ++j)
            mesh_->addVertex({10.0f * i + 5.0f, 10.0f * j + 5.0f, kFloorHeight});
    }
    mesh_->addNormal({0.5f, 0.5f, 1.0f});
    mesh_->addNormal({0.5f, -0.5f, 1.0f});
    mesh_->addNormal({-0.5f, -0.5f, 1.0f});
    mesh_->addNormal({-0.5f, 0.5f, 1.0f});
    for (int c = 0; c < kCells; ++c) {
        for (int r = 0; r < kCells; ++r) {
            const int face = mesh_->createFace();
            mesh_->addVertexAndNormalIndexed(face, 21 * c + r, 0);
            mesh_->addVertexAndNormalIndexed(face, 21 * (c + 1) + r, 1);
            mesh_->addVertexAndNormalIndexed(face, 21 * (c + 1) + r + 1, 2);
            mesh_->addVertexAndNormalIndexed(face, 21 * c + r + 1, 3);
        }
    }
    frame()->addVisual(mesh_);
}

int FloorGrid::faceUnder(float x, float y)
{
    const int column = cellIndex(x);
    const int row = cellIndex(y);
    if (column < 0 || column >= kCells || row < 0 || row >= kCells)
        return -1;
    return column * kCells + row;
}

void FloorGrid::updateShadows(std::span<const Vec3> cubes)
{
    mesh_->setColour(colours_.floor);
    for (const Vec3& cube : cubes) {
        const int face = faceUnder(cube.x, cube.y);
        if (face >= 0)
            mesh_->setFaceColour(face, colours_.shadow);
    }
    scene().sceneDirty = true;
}

}  // namespace vokta
