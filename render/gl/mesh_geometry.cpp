#include "render/gl/mesh_geometry.h"

#include <cstddef>

namespace vokta {

namespace {

bool isTranslucent(Colour colour)
{
    return (colour >> 24) < 0xFF;
}

bool namesVertex(const MeshBuilder& mesh, const MeshBuilder::Corner& corner)
{
    return corner.vertex >= 0 && static_cast<std::size_t>(corner.vertex) < mesh.vertices().size();
}

// A corner's own normal, when it names one that has a direction.
bool cornerNormal(const MeshBuilder& mesh, const MeshBuilder::Corner& corner, Vec3& normal)
{
    if (corner.normal < 0 || static_cast<std::size_t>(corner.normal) >= mesh.normals().size())
        return false;
    normal = normalize(mesh.normals()[static_cast<std::size_t>(corner.normal)]);
    return modulus(normal) > 0.0f;
}

}  // namespace

Vec3 polygonNormal(const std::vector<Vec3>& vertices, const std::vector<MeshBuilder::Corner>& corners)
{
    // Newell's method: sound for any planar polygon, and for a slightly bent
    // one it still gives the average facing.
    Vec3 sum;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const Vec3 a = vertices[static_cast<std::size_t>(corners[i].vertex)];
        const Vec3 b = vertices[static_cast<std::size_t>(corners[(i + 1) % corners.size()].vertex)];
        sum.x += (a.y - b.y) * (a.z + b.z);
        sum.y += (a.z - b.z) * (a.x + b.x);
        sum.z += (a.x - b.x) * (a.y + b.y);
    }
    return normalize(sum);
}

MeshGeometry buildMeshGeometry(const MeshBuilder& mesh)
{
    MeshGeometry geometry;
    geometry.lines = mesh.quality() == RenderQuality::Wireframe;
    const std::size_t minimumCorners = geometry.lines ? 2 : 3;
    const std::vector<MeshBuilder::Face>& faces = mesh.faces();
    for (std::size_t f = 0; f < faces.size(); ++f) {
        const std::vector<MeshBuilder::Corner>& corners = faces[f].corners;
        if (corners.size() < minimumCorners)
            continue;
        bool valid = true;
        for (const MeshBuilder::Corner& corner : corners)
            valid = valid && namesVertex(mesh, corner);
        if (!valid)
            continue;

        const Vec3 faceNormal = geometry.lines ? Vec3{} : polygonNormal(mesh.vertices(), corners);
        geometry.faces.push_back({static_cast<std::uint32_t>(geometry.corners.size()),
                                  static_cast<std::uint32_t>(corners.size()), static_cast<int>(f)});
        for (const MeshBuilder::Corner& corner : corners) {
            Vec3 normal = faceNormal;
            if (mesh.quality() == RenderQuality::Gouraud)
                cornerNormal(mesh, corner, normal);
            geometry.corners.push_back({mesh.vertices()[static_cast<std::size_t>(corner.vertex)], normal});
        }
    }
    return geometry;
}

std::vector<std::uint8_t> cornerColours(const MeshBuilder& mesh, const MeshGeometry& geometry)
{
    std::vector<std::uint8_t> colours;
    colours.reserve(geometry.corners.size() * 4);
    for (const MeshGeometry::FaceSpan& span : geometry.faces) {
        const Colour colour = mesh.faces()[static_cast<std::size_t>(span.face)].colour;
        for (std::uint32_t c = 0; c < span.cornerCount; ++c) {
            colours.push_back(static_cast<std::uint8_t>(colour >> 16));
            colours.push_back(static_cast<std::uint8_t>(colour >> 8));
            colours.push_back(static_cast<std::uint8_t>(colour));
            colours.push_back(static_cast<std::uint8_t>(colour >> 24));
        }
    }
    return colours;
}

MeshIndices buildMeshIndices(const MeshBuilder& mesh, const MeshGeometry& geometry)
{
    MeshIndices indices;
    for (const MeshGeometry::FaceSpan& span : geometry.faces) {
        std::vector<std::uint32_t>& target = isTranslucent(mesh.faces()[static_cast<std::size_t>(span.face)].colour)
            ? indices.translucent
            : indices.opaque;
        const std::uint32_t first = span.firstCorner;
        if (geometry.lines) {
            // The polygon's own edges, not the diagonals of its triangles.
            for (std::uint32_t c = 0; c < span.cornerCount; ++c) {
                target.push_back(first + c);
                target.push_back(first + (c + 1) % span.cornerCount);
            }
            if (span.cornerCount == 2)
                target.resize(target.size() - 2);
        } else {
            for (std::uint32_t c = 1; c + 1 < span.cornerCount; ++c) {
                target.push_back(first);
                target.push_back(first + c);
                target.push_back(first + c + 1);
            }
        }
    }
    return indices;
}

}  // namespace vokta
