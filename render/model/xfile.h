#pragma once

// Reader for the text form of DirectX `.x` model files, as used by the game's
// model file. It produces a plain data tree (frames holding meshes); turning
// that into scene objects is the scene graph's job.
//
// Understood objects: Frame, FrameTransformMatrix, Mesh, MeshNormals,
// MeshMaterialList, Material, MeshVertexColors, and `{ name }` references to
// top-level Mesh and Material objects defined earlier in the file. Templates
// and every other object are skipped whole. Binary and compressed files are
// refused. No exception leaves this library.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vokta::xfile {

struct Vector {
    float x, y, z;
};

struct Rgba {
    float r, g, b, a;
};

struct Material {
    std::string name;  // empty when the block has no name
    Rgba faceColor;
    float power;
    Vector specular;  // r, g, b
    Vector emissive;  // r, g, b
};

struct Mesh {
    std::string name;  // empty when the block has no name
    int line = 0;      // where its block opens, for messages about it
    std::vector<Vector> vertices;
    std::vector<std::vector<uint32_t>> faces;             // vertex indices per face, file order
    std::vector<Vector> normals;                          // MeshNormals; empty when absent
    std::vector<std::vector<uint32_t>> faceNormals;       // normal indices, same shape as faces, or empty
    std::vector<Material> materials;                      // MeshMaterialList, inline or by reference
    std::vector<uint32_t> faceMaterials;                  // material index per face, or empty
    std::vector<std::pair<uint32_t, Rgba>> vertexColors;  // vertex index and its colour
};

struct Frame {
    std::string name;  // empty when the block has no name
    int line = 0;      // where its block opens, for messages about it
    // FrameTransformMatrix, row by row; a point is the row vector (x, y, z, 1)
    // times this matrix, so the translation is in elements 12, 13 and 14.
    std::array<float, 16> transform;
    std::vector<Frame> children;  // file order
    std::vector<Mesh> meshes;     // file order; references are resolved as copies
};

struct Document {
    std::vector<Frame> frames;  // top-level frames, file order
    std::vector<Mesh> meshes;   // top-level meshes that are not inside a frame
};

struct ParseResult {
    std::optional<Document> document;  // absent on failure
    std::string error;                 // "FILE:LINE: problem" on failure, empty on success
};

inline constexpr std::array<float, 16> kIdentityTransform = {
    1, 0, 0, 0,  //
    0, 1, 0, 0,  //
    0, 0, 1, 0,  //
    0, 0, 0, 1,  //
};

// Frames may nest this deep; deeper files are refused rather than risk the stack.
inline constexpr int kMaxFrameDepth = 64;

// Files larger than this are refused unread.
inline constexpr std::size_t kMaxFileBytes = 8u << 20;

// What an accepted file may hold in all, the copies its references make
// included; beyond any of these it is refused, naming the line and the limit.
// The game's own file holds a few dozen of each; these keep any file's
// memory to a few tens of megabytes.
inline constexpr std::size_t kMaxVertices = 100'000;  // and as many normals, and vertex colours
inline constexpr std::size_t kMaxFaces = 100'000;
inline constexpr std::size_t kMaxCorners = 400'000;  // vertex and normal indices of faces, each
inline constexpr std::size_t kMaxMaterials = 4'096;
inline constexpr std::size_t kMaxFrames = 4'096;
inline constexpr std::size_t kMaxCopies = 4'096;  // objects copied by `{ name }` references

// Parses `text`; `fileName` only labels error messages.
ParseResult parse(std::string_view text, std::string_view fileName);

// Reads the file at `path` and parses it; errors are labelled with `path`.
ParseResult loadFile(const std::string& path);

// The first frame named `name` in depth-first pre-order over the document's
// frames (children in file order), or nullptr.
const Frame* findFrame(const Document& document, std::string_view name);

// The frame's own mesh named `name` (child frames are not searched), or nullptr.
const Mesh* findMesh(const Frame& frame, std::string_view name);

}  // namespace vokta::xfile
