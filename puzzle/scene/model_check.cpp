#include "puzzle/scene/model_check.h"

#include "render/model/xfile.h"

namespace vokta {

namespace {

// The frames the game loads from the model file, and the mesh each must hold
// directly (empty: the frame is used whole).
struct ModelPart {
    const char* frame;
    const char* mesh;
};
constexpr ModelPart kModelParts[] = {
    {"x3ds_cubes", "cubes"},
    {"x3ds_cube", "cube"},
    {"x3ds_dir", ""},
    {"x3ds_roller", "roller"},
};

struct PartSize {
    std::size_t vertices = 0;
    std::size_t faces = 0;
    std::size_t corners = 0;
};

void add(PartSize& size, const xfile::Mesh& mesh)
{
    size.vertices += mesh.vertices.size();
    size.faces += mesh.faces.size();
    for (const auto& face : mesh.faces)
        size.corners += face.size();
}

void add(PartSize& size, const xfile::Frame& frame)
{
    for (const xfile::Mesh& mesh : frame.meshes)
        add(size, mesh);
    for (const xfile::Frame& child : frame.children)
        add(size, child);
}

// Why a part is too large to be copied as often as the game copies it, or nothing.
std::string partTooLarge(const PartSize& size)
{
    if (size.vertices > kMaxPartVertices)
        return std::to_string(size.vertices) + " vertices; a part may have at most " + std::to_string(kMaxPartVertices);
    if (size.faces > kMaxPartFaces)
        return std::to_string(size.faces) + " faces; a part may have at most " + std::to_string(kMaxPartFaces);
    if (size.corners > kMaxPartCorners)
        return std::to_string(size.corners) + " face corners; a part may have at most " +
            std::to_string(kMaxPartCorners);
    return {};
}

}  // namespace

std::string verifyModelFile(const std::string& path)
{
    const xfile::ParseResult result = xfile::loadFile(path);
    if (!result.document)
        return result.error;
    std::string missing;
    for (const ModelPart& part : kModelParts) {
        const xfile::Frame* frame = xfile::findFrame(*result.document, part.frame);
        const xfile::Mesh* mesh = frame && *part.mesh ? xfile::findMesh(*frame, part.mesh) : nullptr;
        if (!frame) {
            missing += "\n  frame \"" + std::string(part.frame) + "\"";
            continue;
        }
        if (*part.mesh && !mesh) {
            missing += "\n  mesh \"" + std::string(part.mesh) + "\" in frame \"" + part.frame + "\"";
            continue;
        }
        PartSize size;
        if (mesh)
            add(size, *mesh);
        else
            add(size, *frame);
        if (const std::string why = partTooLarge(size); !why.empty()) {
            const std::string what =
                mesh ? "mesh \"" + std::string(part.mesh) + "\"" : "frame \"" + std::string(part.frame) + "\"";
            return path + ":" + std::to_string(mesh ? mesh->line : frame->line) + ": " + what + " has " + why;
        }
    }
    if (missing.empty())
        return {};
    return path + ": the model file lacks" + missing;
}

}  // namespace vokta
