// What the reader makes of well-formed text: structure, values, references,
// skipped objects and the separator styles of different exporters.

#include <gtest/gtest.h>

#include <string>

#include "render/model/xfile.h"

namespace vokta::xfile {
namespace {

Document parseOk(const std::string& body, const std::string& header = "xof 0302txt 0032\n")
{
    ParseResult result = parse(header + body, "t.x");
    EXPECT_TRUE(result.document.has_value()) << result.error;
    EXPECT_EQ(result.error, "");
    return result.document.value_or(Document{});
}

// A triangle and a quad over five vertices, with normals, materials and colours.
const std::string kFullMesh = R"(
Mesh shape {
  5;
  0.0; 0.0; 0.0;,
  1.5; 0.0; 0.0;,
  0.0; 2.0; 0.0;,
  1.0; 1.0; -3.25;,
  -1e1; 2.5E-1; +4;;
  2;
  3; 0, 1, 2;,
  4; 1, 3, 4, 2;;
  MeshNormals {
    2;
    0.0; 0.0; 1.0;,
    0.0; 1.0; 0.0;;
    2;
    3; 0, 0, 0;,
    4; 1, 1, 0, 1;;
  }
  MeshMaterialList {
    2;
    2;
    1, 0;;
    Material red { 1.0; 0.0; 0.0; 1.0;; 8.0; 0.5; 0.5; 0.5;; 0.0; 0.0; 0.1;; }
    Material { 0.0; 0.0; 1.0; 0.5;; 0.0; 0.0; 0.0; 0.0;; 0.0; 0.0; 0.0;;
      TextureFilename { "skin{1}.png"; }
    }
  }
  MeshVertexColors {
    2;
    4; 0.25; 0.5; 0.75; 1.0;,
    0; 1.0; 1.0; 1.0; 0.0;;
  }
}
)";

TEST(XFileStructure, FramesNestInFileOrderWithNamesAndTransforms)
{
    const Document doc = parseOk(R"(
Frame outer {
  FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 10,-20,30.5,1;; }
  Frame first { }
  Frame {
    Frame deep { }
  }
  Frame last { }
}
Frame second { }
)");
    ASSERT_EQ(doc.frames.size(), 2u);
    const Frame& outer = doc.frames[0];
    EXPECT_EQ(outer.name, "outer");
    EXPECT_EQ(outer.transform[12], 10.0f);
    EXPECT_EQ(outer.transform[13], -20.0f);
    EXPECT_EQ(outer.transform[14], 30.5f);
    EXPECT_EQ(outer.transform[15], 1.0f);
    ASSERT_EQ(outer.children.size(), 3u);
    EXPECT_EQ(outer.children[0].name, "first");
    EXPECT_EQ(outer.children[1].name, "");
    EXPECT_EQ(outer.children[2].name, "last");
    EXPECT_EQ(outer.children[1].children.at(0).name, "deep");
    EXPECT_EQ(outer.children[0].transform, kIdentityTransform);
    EXPECT_EQ(doc.frames[1].name, "second");
}

TEST(XFileStructure, FindFrameSearchesDepthFirstAndFindMeshOnlyTheFrameItself)
{
    const Document doc = parseOk(R"(
Frame a { Frame b { Frame target { Mesh early { 0; 0; } } } Frame { Mesh inner { 0; 0; } } }
Frame target { }
)");
    const Frame* found = findFrame(doc, "target");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found, &doc.frames[0].children[0].children[0]);  // the earlier one in pre-order wins
    EXPECT_NE(findMesh(*found, "early"), nullptr);
    EXPECT_EQ(findMesh(doc.frames[0], "inner"), nullptr);  // lives in a child frame
    EXPECT_EQ(findFrame(doc, "missing"), nullptr);
}

TEST(XFileMesh, ReadsGeometryNormalsMaterialsAndColours)
{
    const Document doc = parseOk(kFullMesh);
    ASSERT_EQ(doc.meshes.size(), 1u);
    const Mesh& mesh = doc.meshes[0];
    EXPECT_EQ(mesh.name, "shape");
    ASSERT_EQ(mesh.vertices.size(), 5u);
    EXPECT_EQ(mesh.vertices[3].z, -3.25f);
    EXPECT_EQ(mesh.vertices[4].x, -10.0f);
    EXPECT_EQ(mesh.vertices[4].y, 0.25f);
    EXPECT_EQ(mesh.vertices[4].z, 4.0f);
    EXPECT_EQ(mesh.faces, (std::vector<std::vector<uint32_t>>{{0, 1, 2}, {1, 3, 4, 2}}));
    ASSERT_EQ(mesh.normals.size(), 2u);
    EXPECT_EQ(mesh.normals[1].y, 1.0f);
    EXPECT_EQ(mesh.faceNormals, (std::vector<std::vector<uint32_t>>{{0, 0, 0}, {1, 1, 0, 1}}));
    EXPECT_EQ(mesh.faceMaterials, (std::vector<uint32_t>{1, 0}));
    ASSERT_EQ(mesh.materials.size(), 2u);
    const Material& red = mesh.materials[0];
    EXPECT_EQ(red.name, "red");
    EXPECT_EQ(red.faceColor.r, 1.0f);
    EXPECT_EQ(red.faceColor.g, 0.0f);
    EXPECT_EQ(red.power, 8.0f);
    EXPECT_EQ(red.specular.y, 0.5f);
    EXPECT_EQ(red.emissive.z, 0.1f);
    EXPECT_EQ(mesh.materials[1].name, "");
    EXPECT_EQ(mesh.materials[1].faceColor.a, 0.5f);
    ASSERT_EQ(mesh.vertexColors.size(), 2u);
    EXPECT_EQ(mesh.vertexColors[0].first, 4u);
    EXPECT_EQ(mesh.vertexColors[0].second.g, 0.5f);
    EXPECT_EQ(mesh.vertexColors[1].second.a, 0.0f);
}

TEST(XFileMesh, ShortMaterialListRepeatsItsLastIndex)
{
    const Document doc = parseOk(R"(
Mesh m { 3; 0;0;0;, 1;0;0;, 0;1;0;; 3; 3;0,1,2;, 3;0,2,1;, 3;1,2,0;;
  MeshMaterialList { 2; 2; 0, 1;; Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; } Material { 0;0;0;1;; 0; 0;0;0;; 0;0;0;; } }
}
)");
    EXPECT_EQ(doc.meshes.at(0).faceMaterials, (std::vector<uint32_t>{0, 1, 1}));
}

TEST(XFileReferences, ResolveToCopiesOfEarlierTopLevelObjects)
{
    const Document doc = parseOk(R"(
Material gold { 1.0; 0.8; 0.0; 1.0;; 5.0; 1.0; 1.0; 1.0;; 0.0; 0.0; 0.0;; }
Mesh tri { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3; 0, 1, 2;;
  MeshMaterialList { 1; 1; 0;; { gold } }
}
Frame holder { { tri } Frame { {tri <01234567-89AB-CDEF-0123-456789ABCDEF>} } }
)");
    ASSERT_EQ(doc.meshes.size(), 1u);
    EXPECT_EQ(doc.meshes[0].materials.at(0).name, "gold");
    EXPECT_EQ(doc.meshes[0].materials[0].faceColor.g, 0.8f);
    const Frame& holder = doc.frames.at(0);
    ASSERT_EQ(holder.meshes.size(), 1u);
    EXPECT_EQ(holder.meshes[0].name, "tri");
    EXPECT_EQ(holder.meshes[0].faces, doc.meshes[0].faces);
    EXPECT_EQ(holder.children.at(0).meshes.at(0).materials.at(0).power, 5.0f);
}

TEST(XFileSkipping, TemplatesAndUnknownObjectsAreSkippedWhole)
{
    const Document doc = parseOk(R"(
template Vector {
  <3D82AB5E-62DA-11cf-AB39-0020AF71E433>
  FLOAT x; FLOAT y; FLOAT z;
}
template Frame { <3D82AB46-62DA-11cf-AB39-0020AF71E433> [...] }
Header { 1; 0; 1; }
AnimationSet walk { Animation { { body } AnimationKey { 0; 1; 0; 4; 1.0; 0.0; 0.0; 0.0;;; } } }
Frame body {
  <3D82AB46-62DA-11cf-AB39-0020AF71E433>
  SomethingNew name { "a } in a string"; { nested { deeper } } 12; }
  Mesh m { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3; 0, 1, 2;;
    MeshTextureCoords { 3; 0;0;, 1;0;, 0;1;; }
    VertexDuplicationIndices { 3; 3; 0, 1, 2; }
  }
}
)");
    ASSERT_EQ(doc.frames.size(), 1u);
    EXPECT_EQ(doc.frames[0].name, "body");
    EXPECT_EQ(doc.frames[0].meshes.at(0).faces.size(), 1u);
    EXPECT_TRUE(doc.frames[0].children.empty());
}

TEST(XFileSeparators, ExporterStylesAllReadTheSame)
{
    const char* const styles[] = {
        // Separators as the format describes them.
        "Mesh m { 4; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 1.0;1.0;0.0;, 0.0;1.0;0.0;; 1; 4; 0,1,2,3;; }",
        // Commas between coordinates, ";," and ";;" mixed, comments of both kinds.
        "Mesh m { // the square\n 4; 0,0,0;, 1,0,0;; 1,1,0; # third\n 0,1,0;;\n 1;\n 4;0,1,2,3;,\n }",
        // Semicolons everywhere, Windows line ends.
        "Mesh m {\r\n4;\r\n0;0;0;\r\n1;0;0;\r\n1;1;0;\r\n0;1;0;\r\n1;\r\n4;0;1;2;3;\r\n}\r\n",
        // White space only.
        "Mesh m { 4 0 0 0 1 0 0 1 1 0 0 1 0 1 4 0 1 2 3 }",
    };
    for (const char* style : styles) {
        const Document doc = parseOk(style);
        ASSERT_EQ(doc.meshes.size(), 1u) << style;
        const Mesh& m = doc.meshes[0];
        ASSERT_EQ(m.vertices.size(), 4u) << style;
        EXPECT_EQ(m.vertices[2].x, 1.0f) << style;
        EXPECT_EQ(m.vertices[2].y, 1.0f) << style;
        EXPECT_EQ(m.vertices[3].y, 1.0f) << style;
        EXPECT_EQ(m.faces, (std::vector<std::vector<uint32_t>>{{0, 1, 2, 3}})) << style;
    }
}

TEST(XFileHeader, AcceptsTextVersionsAndBothFloatSizes)
{
    for (const char* header : {"xof 0302txt 0032\n", "xof 0303txt 0032\n", "xof 0302txt 0064\n", "xof 0303txt 0064"}) {
        const Document doc = parseOk("\nFrame f { }\n", header);
        EXPECT_EQ(doc.frames.size(), 1u) << header;
    }
    EXPECT_TRUE(parseOk("").frames.empty());
}

}  // namespace
}  // namespace vokta::xfile
