#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "geometry/colour.h"
#include "geometry/vector.h"

namespace vokta {

// Colour from components 0 to 1, opaque.
Colour colourFromRgb(float red, float green, float blue);

// How a mesh is drawn. The values are the ones the game's settings and files
// have always used.
enum class RenderQuality : std::uint32_t {
    Wireframe = 64,  // unlit polygon edges
    Flat = 136,      // lit, one normal per face
    Gouraud = 137,   // lit, normals interpolated across each face
};

// Editable polygon geometry: vertices, normals and faces numbered in the order
// they were added, a colour per face, one render quality for the whole mesh.
class MeshBuilder {
public:
    struct Corner {
        int vertex;
        int normal;  // -1: none given, the face normal is used
    };
    struct Face {
        std::vector<Corner> corners;
        Colour colour = 0xFFFFFFFF;
    };

    std::string name;

    // Each returns the number of what it added.
    int addVertex(Vec3 position);
    int addNormal(Vec3 normal);
    int createFace();
    void addVertexAndNormalIndexed(int face, int vertex, int normal);
    // Appends a face; the corners must name existing vertices and normals.
    int addFace(Face face);

    void setColour(Colour colour);
    void setFaceColour(int face, Colour colour);
    void setQuality(RenderQuality quality);
    // Moves every vertex by offset; calls add up.
    void translate(Vec3 offset);
    // Appends a copy of other's vertices, normals and faces as they stand now.
    void addMeshBuilder(const MeshBuilder& other);

    const std::vector<Vec3>& vertices() const { return vertices_; }
    const std::vector<Vec3>& normals() const { return normals_; }
    const std::vector<Face>& faces() const { return faces_; }
    RenderQuality quality() const { return quality_; }

    // Grows by one on every change, so a renderer can tell when to upload again.
    std::uint64_t revision() const { return revision_; }
    // Geometry revision: grows only when vertices, normals or faces change, not colours.
    std::uint64_t shapeRevision() const { return shapeRevision_; }

    // Axis-aligned box around every vertex; empty meshes give min > max.
    Vec3 boundsMin() const;
    Vec3 boundsMax() const;

private:
    void touchShape();
    void updateBounds() const;

    std::vector<Vec3> vertices_;
    std::vector<Vec3> normals_;
    std::vector<Face> faces_;
    RenderQuality quality_ = RenderQuality::Gouraud;
    std::uint64_t revision_ = 0;
    std::uint64_t shapeRevision_ = 0;
    mutable std::uint64_t boundsRevision_ = ~std::uint64_t{0};
    mutable Vec3 boundsMin_;
    mutable Vec3 boundsMax_;
};

}  // namespace vokta
