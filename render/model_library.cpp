#include "render/model_library.h"

#include <cmath>

namespace vokta {

namespace {

Colour colourFromFile(const xfile::Rgba& c)
{
    const auto channel = [](float value) {
        return static_cast<Colour>(std::lround(std::fmin(std::fmax(value, 0.0f), 1.0f) * 255.0f));
    };
    return channel(c.a) << 24 | channel(c.r) << 16 | channel(c.g) << 8 | channel(c.b);
}

}  // namespace

std::shared_ptr<MeshBuilder> meshFromFile(const xfile::Mesh& mesh)
{
    auto builder = std::make_shared<MeshBuilder>();
    builder->name = mesh.name;
    for (const xfile::Vector& v : mesh.vertices)
        builder->addVertex({v.x, v.y, v.z});
    for (const xfile::Vector& n : mesh.normals)
        builder->addNormal({n.x, n.y, n.z});

    // Without materials, a face takes the colour given to its first vertex, if any.
    std::vector<std::optional<Colour>> vertexColours(mesh.vertices.size());
    for (const auto& [index, colour] : mesh.vertexColors)
        vertexColours[index] = colourFromFile(colour);

    for (std::size_t f = 0; f < mesh.faces.size(); ++f) {
        MeshBuilder::Face face;
        const std::vector<std::uint32_t>& indices = mesh.faces[f];
        for (std::size_t c = 0; c < indices.size(); ++c) {
            const int normal = f < mesh.faceNormals.size() ? static_cast<int>(mesh.faceNormals[f][c]) : -1;
            face.corners.push_back({static_cast<int>(indices[c]), normal});
        }
        if (f < mesh.faceMaterials.size())
            face.colour = colourFromFile(mesh.materials[mesh.faceMaterials[f]].faceColor);
        else if (!indices.empty() && vertexColours[indices[0]])
            face.colour = *vertexColours[indices[0]];
        builder->addFace(std::move(face));
    }
    return builder;
}

std::shared_ptr<Frame> frameFromFile(const xfile::Frame& source)
{
    std::shared_ptr<Frame> frame = Frame::create();
    frame->setName(source.name);
    Matrix4 transform;
    transform.m = source.transform;
    frame->setTransform(transform);
    for (const xfile::Mesh& mesh : source.meshes)
        frame->addVisual(meshFromFile(mesh));
    for (const xfile::Frame& child : source.children)
        frame->addChild(frameFromFile(child));
    return frame;
}

const ModelLibrary::Entry& ModelLibrary::entry(const std::string& path)
{
    auto found = files_.find(path);
    if (found == files_.end()) {
        xfile::ParseResult result = xfile::loadFile(path);
        found = files_.emplace(path, Entry{std::move(result.document), std::move(result.error)}).first;
    }
    return found->second;
}

const xfile::Document* ModelLibrary::document(const std::string& path)
{
    const Entry& e = entry(path);
    return e.document ? &*e.document : nullptr;
}

std::string ModelLibrary::error(const std::string& path)
{
    return entry(path).error;
}

std::shared_ptr<Frame> ModelLibrary::loadFrame(const std::string& path, std::string_view frameName)
{
    const xfile::Document* file = document(path);
    if (!file)
        return nullptr;
    const xfile::Frame* found = xfile::findFrame(*file, frameName);
    return found ? frameFromFile(*found) : nullptr;
}

std::shared_ptr<Frame> ModelLibrary::loadFirstFrame(const std::string& path)
{
    const xfile::Document* file = document(path);
    if (!file || file->frames.empty())
        return nullptr;
    return frameFromFile(file->frames.front());
}

}  // namespace vokta
