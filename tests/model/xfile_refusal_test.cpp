// Malformed files are refused with "FILE:LINE: problem" and no document, fast
// and without allocating in proportion to the counts they claim.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "render/model/xfile.h"

namespace vokta::xfile {
namespace {

// Parses the header line plus `body` (whose first line is line 2) and returns
// the error, checking that no document came with it.
std::string errorOf(const std::string& body, const std::string& header = "xof 0302txt 0032\n")
{
    const ParseResult result = parse(header + body, "t.x");
    EXPECT_FALSE(result.document.has_value()) << body;
    return result.error;
}

using ::testing::StartsWith;

// A valid square mesh to be broken in small ways; `children` go inside it.
std::string square(const std::string& children)
{
    return "Mesh sq {\n4; 0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;;\n1; 4; 0,1,2,3;;\n" + children + "}\n";
}

TEST(XFileRefusal, HeadersOtherThanTextAreRefusedByName)
{
    EXPECT_EQ(errorOf("", ""), "t.x:1: not a DirectX model file: it does not start with the 'xof' header");
    EXPECT_THAT(errorOf("", "hello world, this is not it"), StartsWith("t.x:1: not a DirectX model file"));
    EXPECT_THAT(errorOf("", "xof 0302"), StartsWith("t.x:1: not a DirectX model file"));
    EXPECT_THAT(errorOf("Frame f {}", "xof 0302bin 0032"), StartsWith("t.x:1: binary .x files are not supported"));
    EXPECT_THAT(errorOf("", "xof 0303tzip0032"), StartsWith("t.x:1: compressed .x files are not supported"));
    EXPECT_THAT(errorOf("", "xof 0303bzip0064"), StartsWith("t.x:1: compressed .x files are not supported"));
    EXPECT_THAT(errorOf("", "xof 0302TXT 0032"), StartsWith("t.x:1: unknown .x format 'TXT '"));
    EXPECT_THAT(errorOf("", "xof 0201txt 0032"), StartsWith("t.x:1: unsupported .x version '0201'"));
    EXPECT_THAT(errorOf("", "xof 0302txt 0016"), StartsWith("t.x:1: unsupported float size '0016'"));
}

TEST(XFileRefusal, TruncatedAndGarbledTextNamesTheLine)
{
    EXPECT_EQ(errorOf("Frame a {\n  Mesh m {\n 1;\n 0; 0;"),
              "t.x:5: mesh 'm': expected a vertex coordinate, found end of file");
    EXPECT_EQ(errorOf("Frame a {\n Frame b {\n }\n"),
              "t.x:5: frame 'a': file ends inside the Frame block opened on line 2");
    EXPECT_EQ(errorOf("Wrapper {\n { \n"), "t.x:4: file ends inside the Wrapper block opened on line 2");
    EXPECT_EQ(errorOf("Frame a {\n @ }"), "t.x:3: frame 'a': unexpected character '@'");
    EXPECT_EQ(errorOf("Frame a \n\x01"), "t.x:3: unexpected byte 0x01");
    EXPECT_EQ(errorOf("\n12;"), "t.x:3: expected an object, found number '12'");
    EXPECT_EQ(errorOf("Frame a { }\n}"), "t.x:3: expected an object, found '}'");
    EXPECT_EQ(errorOf("Frame a b c { }"), "t.x:2: expected '{' after Frame name, found name 'b'");
    EXPECT_EQ(errorOf("Frame a { Mesh {\n3; 0;0;0; 1;0;0; 0;1.2.3;0;"),
              "t.x:3: unnamed mesh: expected a vertex coordinate, found malformed number '1.2.3'");
    EXPECT_EQ(errorOf("Mesh m { 3.5;"),
              "t.x:2: mesh 'm': expected the vertex count (a whole number), found number '3.5'");
    EXPECT_EQ(errorOf("Mesh m { -3;"),
              "t.x:2: mesh 'm': expected the vertex count (a whole number), found number '-3'");
    EXPECT_EQ(errorOf("Material m {\n 1;1;1;1;; 0; 0;0;0;; 0;0;0;; \"open"),
              "t.x:3: material 'm': unterminated string");
}

TEST(XFileRefusal, CountsBeyondWhatTheFileCanHoldFailBeforeAllocating)
{
    EXPECT_EQ(errorOf("Mesh m { 4000000000; 0;0;0; }"),
              "t.x:2: mesh 'm': the vertex count 4000000000 is more than the rest of the file can hold");
    EXPECT_EQ(errorOf("Mesh m { 99999999999; }"),
              "t.x:2: mesh 'm': the vertex count number '99999999999' is too large");
    EXPECT_EQ(errorOf("Mesh m { 3; 0;0;0;, 1;0;0;, 0;1;0;;\n 4294967295; 3;0,1,2;; }"),
              "t.x:3: mesh 'm': the face count 4294967295 is more than the rest of the file can hold");
    EXPECT_EQ(errorOf(square("MeshNormals {\n 2000000000; 0;0;1;; }")),
              "t.x:6: mesh 'sq': the normal count 2000000000 is more than the rest of the file can hold");
    EXPECT_EQ(errorOf(square("MeshVertexColors {\n 1000000; 0; 1;1;1;1;; }")),
              "t.x:6: mesh 'sq': the vertex colour count 1000000 is more than the rest of the file can hold");
    EXPECT_EQ(errorOf(square("MeshMaterialList {\n 3000000000; 1; 0;; }")),
              "t.x:6: mesh 'sq': the material count 3000000000 is more than the rest of the file can hold");
}

TEST(XFileRefusal, IndicesAndShapesOutsideTheMeshAreRefused)
{
    EXPECT_EQ(errorOf("Mesh m {\n 3; 0;0;0;, 1;0;0;, 0;1;0;;\n 2; 3;0,1,2;,\n 3;0,1,12;; }"),
              "t.x:5: mesh 'm': face 1 uses vertex 12 but the mesh has 3 vertices");
    EXPECT_EQ(errorOf("Mesh m {\n 3; 0;0;0;, 1;0;0;, 0;1;0;;\n 1; 2;0,1;; }"),
              "t.x:4: mesh 'm': face 0 has 2 corners; a face needs at least 3");
    EXPECT_EQ(errorOf("Mesh m {\n 3; 0;0;0;, 1;0;0;, 0;1;0;;\n 1; 4;0,1,2,0;; }"),
              "t.x:4: mesh 'm': face 0 has 4 corners but the mesh has only 3 vertices");
    EXPECT_EQ(errorOf(square("MeshNormals { 1; 0;0;1;;\n 2; 4;0,0,0,0;, 4;0,0,0,0;; }")),
              "t.x:6: mesh 'sq': MeshNormals lists 2 faces but the mesh has 1");
    EXPECT_EQ(errorOf(square("MeshNormals { 1; 0;0;1;; 1;\n 3;0,0,0;; }")),
              "t.x:6: mesh 'sq': face 0 has 4 corners but MeshNormals gives it 3 normals");
    EXPECT_EQ(errorOf(square("MeshNormals { 1; 0;0;1;; 1; 4;0,0,\n1,0;; }")),
              "t.x:6: mesh 'sq': face 0 uses normal 1 but MeshNormals has 1 normals");
    EXPECT_EQ(errorOf(square("MeshMaterialList { 1; 1;\n 1;; }")),
              "t.x:6: mesh 'sq': face 0 uses material 1 but MeshMaterialList has 1 materials");
    EXPECT_EQ(errorOf(square("MeshMaterialList { 1; 2;")),
              "t.x:5: mesh 'sq': MeshMaterialList gives 2 face materials but the mesh has 1 faces");
    EXPECT_EQ(errorOf(square("MeshMaterialList { 2; 1; 0;;\n Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; }\n}")),
              "t.x:7: mesh 'sq': MeshMaterialList declares 2 materials but holds 1");
    EXPECT_EQ(errorOf(square("MeshVertexColors { 1;\n 4; 1;1;1;1;; }")),
              "t.x:6: mesh 'sq': vertex colour 0 names vertex 4 but the mesh has 4 vertices");
    EXPECT_EQ(errorOf(square("MeshNormals { 1; 0;0;1;; 1; 4;0,0,0,0;; }\n MeshNormals {")),
              "t.x:6: mesh 'sq': second MeshNormals in one mesh");
    EXPECT_EQ(errorOf("Mesh m {\n 3; 0;0;0;, 1;0;0;, 0;1;0;;\n 0;\n 7; }"),
              "t.x:5: mesh 'm': more numbers than the vertex and face counts call for");
    EXPECT_EQ(errorOf("Frame f { FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1, 5;; } }"),
              "t.x:2: frame 'f': FrameTransformMatrix holds more numbers than its counts call for");
}

TEST(XFileRefusal, NonFiniteAndOverflowingNumbersAreRefused)
{
    EXPECT_EQ(errorOf("Mesh m { 1;\n 1e999; 0; 0;; 0; }"), "t.x:3: mesh 'm': number '1e999' is out of range");
    EXPECT_EQ(errorOf("Mesh m { 1; 1e39; 0; 0;; 0; }"), "t.x:2: mesh 'm': number '1e39' is out of range");
    EXPECT_EQ(errorOf("Mesh m { 1; 1.#INF; 0; 0;; 0; }"), "t.x:2: mesh 'm': non-finite number '1.'#...");
    EXPECT_EQ(errorOf("Mesh m { 1; -1.#IND; 0; 0;; 0; }"), "t.x:2: mesh 'm': non-finite number '-1.'#...");
    EXPECT_EQ(errorOf("Mesh m { 1; nan; 0; 0;; 0; }"),
              "t.x:2: mesh 'm': expected a vertex coordinate, found name 'nan'");
    EXPECT_EQ(errorOf("Mesh m { 1; 0; -inf; 0;; 0; }"), "t.x:2: mesh 'm': unexpected character '-'");
    EXPECT_EQ(errorOf("Mesh m { 1; 0; 0; 12abc;; 0; }"), "t.x:2: mesh 'm': malformed number '12abc'");
}

TEST(XFileRefusal, ReferencesMustNameEarlierTopLevelObjects)
{
    EXPECT_EQ(errorOf("Frame f {\n { later } }\nMesh later { 0; 0; }"),
              "t.x:3: frame 'f': reference to 'later' names no mesh defined earlier in the file");
    EXPECT_EQ(errorOf(square("MeshMaterialList { 1; 1; 0;;\n { nowhere } }")),
              "t.x:6: mesh 'sq': reference to 'nowhere' names no material defined earlier in the file");
    EXPECT_EQ(errorOf("Frame f { Frame inner { Mesh m { 0; 0; } } { m } }"),
              "t.x:2: frame 'f': reference to 'm' names no mesh defined earlier in the file");
    EXPECT_EQ(errorOf("{ m }"), "t.x:2: a reference must stand inside an object");
    EXPECT_EQ(errorOf("Frame f { { <01234567-89AB-CDEF-0123-456789ABCDEF> } }"),
              "t.x:2: frame 'f': references by GUID alone are not supported; name the object");
}

TEST(XFileRefusal, ReferencesCannotMultiplyAMeshBeyondTheLimits)
{
    // 300 vertices, copied by 400 references of 6 bytes each: 120,000 in all.
    std::string text = "Mesh big { 300;";
    for (int i = 0; i < 300; ++i)
        text += " 1;2;3;";
    text += " 0; }\nFrame f {\n";
    for (int i = 0; i < 400; ++i)
        text += " {big}";
    text += "}";
    EXPECT_THAT(errorOf(text), StartsWith("t.x:4: frame 'f': the file holds more than 100000 vertices in all"));
}

TEST(XFileRefusal, DeepNestingIsRefusedWithoutExhaustingTheStack)
{
    std::string text;
    for (int i = 0; i < 100000; ++i)
        text += "Frame {\n";
    // Line 2 holds depth 1, so the frame one past the limit stands on line 66.
    EXPECT_EQ(errorOf(text), "t.x:66: unnamed frame: frames nested more than 64 deep");
    std::string skipped = "Unknown {";
    for (int i = 0; i < 100000; ++i)
        skipped += "{";
    EXPECT_EQ(errorOf(skipped), "t.x:2: file ends inside the Unknown block opened on line 2");
    std::string limit;
    for (int i = 0; i < kMaxFrameDepth; ++i)
        limit += "Frame {";
    limit += std::string(kMaxFrameDepth, '}');
    EXPECT_TRUE(parse("xof 0302txt 0032\n" + limit, "t.x").document.has_value());
}

TEST(XFileLoad, FilesThatCannotBeReadAreRefusedByPath)
{
    const ParseResult missing = loadFile("/nonexistent/vokta.x");
    EXPECT_FALSE(missing.document);
    EXPECT_THAT(missing.error, StartsWith("/nonexistent/vokta.x: cannot open: "));
#ifndef _WIN32
    // An endless stream stops at the size cap instead of filling memory.
    const ParseResult endless = loadFile("/dev/zero");
    EXPECT_FALSE(endless.document);
    EXPECT_EQ(endless.error, "/dev/zero: larger than 8 MiB, too large for a model file");
#endif
}

}  // namespace
}  // namespace vokta::xfile
