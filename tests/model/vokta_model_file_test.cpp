// The game's own model file: the frames and meshes the game looks up by name,
// their geometry, and the winding rule every face must follow.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>

#include "render/model/xfile.h"

namespace vokta::xfile {
namespace {

Vector sub(const Vector& a, const Vector& b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vector cross(const Vector& a, const Vector& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float dot(const Vector& a, const Vector& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

class VoktaModelFile : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        std::ifstream in(VOKTA_MODEL_FILE, std::ios::binary);
        std::ostringstream buffer;
        buffer << in.rdbuf();
        text_ = new std::string(buffer.str());
        ParseResult result = loadFile(VOKTA_MODEL_FILE);
        loadError_ = new std::string(result.error);
        if (result.document)
            document_ = new Document(std::move(*result.document));
    }
    static void TearDownTestSuite()
    {
        delete document_;
        delete loadError_;
        delete text_;
    }
    void SetUp() override { ASSERT_NE(document_, nullptr) << *loadError_; }

    // The frame the game looks up by this name, checked to be there.
    static const Frame& frameNamed(const char* name)
    {
        const Frame* frame = findFrame(*document_, name);
        EXPECT_NE(frame, nullptr) << name;
        static const Frame kEmpty{};
        return frame ? *frame : kEmpty;
    }

    // The mesh the game looks up in the named frame, checked to be there.
    static const Mesh& meshIn(const char* frameName, const char* meshName)
    {
        const Mesh* mesh = findMesh(frameNamed(frameName), meshName);
        EXPECT_NE(mesh, nullptr) << frameName << " / " << meshName;
        static const Mesh kEmpty{};
        return mesh ? *mesh : kEmpty;
    }

    static std::string* text_;
    static std::string* loadError_;
    static Document* document_;
};

std::string* VoktaModelFile::text_ = nullptr;
std::string* VoktaModelFile::loadError_ = nullptr;
Document* VoktaModelFile::document_ = nullptr;

TEST_F(VoktaModelFile, HoldsEveryFrameAndMeshTheGameLooksUp)
{
    EXPECT_EQ(meshIn("x3ds_cubes", "cubes").name, "cubes");
    EXPECT_EQ(meshIn("x3ds_cube", "cube").name, "cube");
    EXPECT_EQ(meshIn("x3ds_roller", "roller").name, "roller");
    EXPECT_FALSE(frameNamed("x3ds_dir").meshes.empty());
    // The game places these frames itself, so none carries a transform.
    for (const char* name : {"x3ds_cubes", "x3ds_cube", "x3ds_dir", "x3ds_roller"})
        EXPECT_EQ(frameNamed(name).transform, kIdentityTransform) << name;
}

TEST_F(VoktaModelFile, CubesAreEdgeTenCentredWithOneOutwardNormalPerFace)
{
    for (const Mesh* cube : {&meshIn("x3ds_cubes", "cubes"), &meshIn("x3ds_cube", "cube")}) {
        EXPECT_EQ(cube->vertices.size(), 8u) << cube->name;
        for (const Vector& v : cube->vertices)
            for (float c : {v.x, v.y, v.z})
                EXPECT_TRUE(c == 5.0f || c == -5.0f) << cube->name;
        ASSERT_EQ(cube->faces.size(), 6u);
        ASSERT_EQ(cube->faceNormals.size(), 6u);
        for (std::size_t f = 0; f < 6; ++f) {
            EXPECT_EQ(cube->faces[f].size(), 4u) << cube->name << " face " << f;
            const auto& normals = cube->faceNormals[f];
            EXPECT_TRUE(std::all_of(normals.begin(), normals.end(), [&](uint32_t n) { return n == normals[0]; }));
            const Vector& n = cube->normals[normals[0]];
            EXPECT_EQ(std::abs(n.x) + std::abs(n.y) + std::abs(n.z), 1.0f);
            // Every corner of the face lies on the side the normal points to.
            for (uint32_t v : cube->faces[f])
                EXPECT_EQ(dot(cube->vertices[v], n), 5.0f);
        }
        ASSERT_EQ(cube->materials.size(), 1u);
        const Rgba white = cube->materials[0].faceColor;
        EXPECT_TRUE(white.r == 1 && white.g == 1 && white.b == 1 && white.a == 1);
    }
}

// For every face, (v1 - v0) x (v2 - v0) agrees with each of the face's normals;
// every mesh is closed (each edge used once in each direction) and encloses a
// positive volume, so the normals and the winding point out of the solid.
TEST_F(VoktaModelFile, EveryFaceIsWoundOutwardOnAClosedSurface)
{
    std::vector<const Mesh*> meshes;
    for (const char* name : {"x3ds_cubes", "x3ds_cube", "x3ds_dir", "x3ds_roller"})
        for (const Mesh& mesh : frameNamed(name).meshes)
            meshes.push_back(&mesh);
    for (const Mesh* mesh : meshes) {
        ASSERT_EQ(mesh->faceNormals.size(), mesh->faces.size()) << mesh->name;
        std::map<std::pair<uint32_t, uint32_t>, int> edges;
        double volume = 0;
        for (std::size_t f = 0; f < mesh->faces.size(); ++f) {
            const auto& face = mesh->faces[f];
            const Vector& v0 = mesh->vertices[face[0]];
            const Vector winding = cross(sub(mesh->vertices[face[1]], v0), sub(mesh->vertices[face[2]], v0));
            for (uint32_t n : mesh->faceNormals[f])
                EXPECT_GT(dot(winding, mesh->normals[n]), 0.0f) << mesh->name << " face " << f;
            for (std::size_t i = 0; i < face.size(); ++i) {
                ++edges[{face[i], face[(i + 1) % face.size()]}];
                if (i >= 1 && i + 1 < face.size())
                    volume += dot(v0, cross(mesh->vertices[face[i]], mesh->vertices[face[i + 1]])) / 6.0;
            }
        }
        for (const auto& [edge, uses] : edges) {
            EXPECT_EQ(uses, 1) << mesh->name << " edge " << edge.first << "-" << edge.second;
            EXPECT_EQ(edges.count({edge.second, edge.first}), 1u) << mesh->name << " open edge " << edge.first;
        }
        EXPECT_GT(volume, 0.0) << mesh->name;
    }
}

TEST_F(VoktaModelFile, ArrowPointsAlongPlusZWellBeyondThePiece)
{
    const Frame& marker = frameNamed("x3ds_dir");
    ASSERT_FALSE(marker.meshes.empty());
    Vector tip{0, 0, -1e9f};
    float lowest = 1e9f;
    for (const Mesh& mesh : marker.meshes)
        for (const Vector& v : mesh.vertices) {
            if (v.z > tip.z)
                tip = v;
            lowest = std::min(lowest, v.z);
            EXPECT_LE(std::hypot(v.x, v.y), 5.0f);  // slim: all length lies along z
        }
    EXPECT_EQ(lowest, 0.0f);  // starts at the piece centre
    EXPECT_GE(tip.z, 25.0f);  // a piece's cubes reach 15 units out
    EXPECT_EQ(tip.x, 0.0f);
    EXPECT_EQ(tip.y, 0.0f);
}

TEST_F(VoktaModelFile, RollerIsACylinderAlongZCentredOnItsOrigin)
{
    const Mesh& roller = meshIn("x3ds_roller", "roller");
    ASSERT_FALSE(roller.vertices.empty());
    const float radius = std::hypot(roller.vertices[0].x, roller.vertices[0].y);
    float low = 0, high = 0;
    for (const Vector& v : roller.vertices) {
        EXPECT_NEAR(std::hypot(v.x, v.y), radius, 1e-3f);
        low = std::min(low, v.z);
        high = std::max(high, v.z);
    }
    EXPECT_EQ(low, -high);
    EXPECT_GT(high - low, 4 * radius);  // clearly longer than wide
    EXPECT_GE(radius, 2.0f);
}

// Every prefix of the real file either parses or is refused with an error
// that names the file and a line inside the prefix.
TEST_F(VoktaModelFile, EveryPrefixParsesOrIsRefusedCleanly)
{
    const std::string& text = *text_;
    ASSERT_FALSE(text.empty());
    for (std::size_t length = 0; length < text.size(); ++length) {
        const std::string_view prefix(text.data(), length);
        const ParseResult result = parse(prefix, "vokta.x");
        if (result.document)
            continue;
        const int lines = 1 + static_cast<int>(std::count(prefix.begin(), prefix.end(), '\n'));
        int line = 0;
        ASSERT_EQ(std::sscanf(result.error.c_str(), "vokta.x:%d: ", &line), 1) << result.error;
        ASSERT_TRUE(line >= 1 && line <= lines) << length << ": " << result.error;
    }
    // The file ends with a newline after the last brace: only that cut still parses.
    EXPECT_TRUE(parse(std::string_view(text).substr(0, text.size() - 1), "vokta.x").document);
    EXPECT_FALSE(parse(std::string_view(text).substr(0, text.rfind('}')), "vokta.x").document);
}

}  // namespace
}  // namespace vokta::xfile
