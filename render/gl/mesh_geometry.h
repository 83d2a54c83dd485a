#pragma once

#include <cstdint>
#include <vector>

#include "render/mesh_builder.h"

namespace vokta {

// One mesh laid out the way the graphics card wants it: every face corner is
// a vertex of its own (a corner carries its face's colour and, when shaded
// flat, its face's normal), and faces become triangles, or outlines when the
// mesh is drawn as a wireframe. Plain C++: the GL code only uploads it.
struct MeshGeometry {
    struct CornerVertex {
        Vec3 position;
        Vec3 normal;  // unit length; zero for unlit wireframes and degenerate faces
    };
    // Where each face's corners start in corners; faces that cannot be drawn
    // (fewer corners than the primitive needs, or a corner naming no vertex)
    // are left out, so indices here count drawn faces only.
    struct FaceSpan {
        std::uint32_t firstCorner;
        std::uint32_t cornerCount;
        int face;  // number of the face in the mesh
    };

    bool lines = false;  // outlines (GL_LINES) rather than triangles
    std::vector<CornerVertex> corners;
    std::vector<FaceSpan> faces;
};

// The draw order of a mesh's faces as it stands now: opaque faces first, then
// the half-transparent ones, which are drawn after every opaque mesh.
struct MeshIndices {
    std::vector<std::uint32_t> opaque;
    std::vector<std::uint32_t> translucent;
};

// Corners and normals of the mesh for its current render quality: Flat gives
// every corner the face normal, Gouraud the corner's own normal (normalised;
// the face normal where none is given), Wireframe no normal at all.
MeshGeometry buildMeshGeometry(const MeshBuilder& mesh);

// The faces' colours per corner as bytes red, green, blue, alpha.
std::vector<std::uint8_t> cornerColours(const MeshBuilder& mesh, const MeshGeometry& geometry);

// Triangle fans, or closed outlines, of the drawn faces, split by whether a
// face's colour is fully opaque.
MeshIndices buildMeshIndices(const MeshBuilder& mesh, const MeshGeometry& geometry);

// Unit normal of the polygon through the given corners, pointing out of its
// front side (see coordinates.h); zero when the corners span no area.
Vec3 polygonNormal(const std::vector<Vec3>& vertices, const std::vector<MeshBuilder::Corner>& corners);

}  // namespace vokta
