#pragma once

#include <memory>
#include <span>

#include "render/scene_object.h"

namespace vokta {

// The floor: 20 x 20 square faces, one under each grid cell from x, y = -90 to
// 100, just below the lowest cubes. Vertex 21a + b lies at
// (10a - 95, 10b - 95, -5.2); face 20c + r covers the cell centred on
// (10(c - 9), 10(r - 9)). The numbering lets the shadow update find the face
// under a cube by arithmetic.
class FloorGrid : public SceneObject {
public:
    static constexpr int kCells = 20;

    // The floor's colour, and the darker one of a face under a cube.
    struct Colours {
        Colour floor;
        Colour shadow;
    };

    FloorGrid(Scene& scene, Colours colours);

    // The colours the next updateShadows paints with.
    void setColours(Colours colours) { colours_ = colours; }
    // Recolours the floor, darkening the face under each of the given cube
    // centres (world positions); cubes off the floor darken nothing.
    void updateShadows(std::span<const Vec3> cubes);

    // The face under a cube centred at (x, y), or -1 when it is off the floor.
    static int faceUnder(float x, float y);

    const std::shared_ptr<MeshBuilder>& mesh() const { return mesh_; }

private:
    std::shared_ptr<MeshBuilder> mesh_;
    Colours colours_;
};

}  // namespace vokta
