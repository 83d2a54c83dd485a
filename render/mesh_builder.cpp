#include "render/mesh_builder.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vokta {

Colour colourFromRgb(float red, float green, float blue)
{
    const auto channel = [](float value) {
        return static_cast<Colour>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
    };
    return 0xFF000000u | channel(red) << 16 | channel(green) << 8 | channel(blue);
}

int MeshBuilder::addVertex(Vec3 position)
{
    vertices_.push_back(position);
    touchShape();
    return static_cast<int>(vertices_.size()) - 1;
}

int MeshBuilder::addNormal(Vec3 normal)
{
    normals_.push_back(normal);
    touchShape();
    return static_cast<int>(normals_.size()) - 1;
}

int MeshBuilder::createFace()
{
    faces_.emplace_back();
    touchShape();
    return static_cast<int>(faces_.size()) - 1;
}

void MeshBuilder::addVertexAndNormalIndexed(int face, int vertex, int normal)
{
    faces_.at(static_cast<std::size_t>(face)).corners.push_back({vertex, normal});
    touchShape();
}

int MeshBuilder::addFace(Face face)
{
    faces_.push_back(std::move(face));
    touchShape();
    return static_cast<int>(faces_.size()) - 1;
}

void MeshBuilder::setColour(Colour colour)
{
    for (Face& face : faces_)
        face.colour = colour;
    ++revision_;
}

void MeshBuilder::setFaceColour(int face, Colour colour)
{
    faces_.at(static_cast<std::size_t>(face)).colour = colour;
    ++revision_;
}

void MeshBuilder::setQuality(RenderQuality quality)
{
    quality_ = quality;
    ++revision_;
}

void MeshBuilder::translate(Vec3 offset)
{
    for (Vec3& vertex : vertices_)
        vertex = vertex + offset;
    touchShape();
}

void MeshBuilder::addMeshBuilder(const MeshBuilder& other)
{
    const int vertexBase = static_cast<int>(vertices_.size());
    const int normalBase = static_cast<int>(normals_.size());
    // Copy first: other may be this mesh.
    const std::vector<Vec3> otherVertices = other.vertices_;
    const std::vector<Vec3> otherNormals = other.normals_;
    const std::vector<Face> otherFaces = other.faces_;
    vertices_.insert(vertices_.end(), otherVertices.begin(), otherVertices.end());
    normals_.insert(normals_.end(), otherNormals.begin(), otherNormals.end());
    for (Face face : otherFaces) {
        for (Corner& corner : face.corners) {
            corner.vertex += vertexBase;
            if (corner.normal >= 0)
                corner.normal += normalBase;
        }
        faces_.push_back(std::move(face));
    }
    touchShape();
}

Vec3 MeshBuilder::boundsMin() const
{
    updateBounds();
    return boundsMin_;
}

Vec3 MeshBuilder::boundsMax() const
{
    updateBounds();
    return boundsMax_;
}

void MeshBuilder::touchShape()
{
    ++revision_;
    ++shapeRevision_;
}

void MeshBuilder::updateBounds() const
{
    if (boundsRevision_ == shapeRevision_)
        return;
    const float inf = std::numeric_limits<float>::infinity();
    boundsMin_ = {inf, inf, inf};
    boundsMax_ = {-inf, -inf, -inf};
    for (const Vec3& v : vertices_) {
        boundsMin_ = {std::min(boundsMin_.x, v.x), std::min(boundsMin_.y, v.y), std::min(boundsMin_.z, v.z)};
        boundsMax_ = {std::max(boundsMax_.x, v.x), std::max(boundsMax_.y, v.y), std::max(boundsMax_.z, v.z)};
    }
    boundsRevision_ = shapeRevision_;
}

}  // namespace vokta
