// What a model file may hold: the largest file the limits allow is accepted,
// and one step beyond any limit is refused with the line and the limit.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "../model/largest_model_file.h"
#include "puzzle/controller/scene_setup.h"
#include "puzzle/scene/model_check.h"
#include "render/model/xfile.h"

namespace vokta {
namespace {

const std::string kHeader = "xof 0302txt 0032\n";

std::string repeat(const std::string& item, std::size_t count, const std::string& last)
{
    std::string text;
    for (std::size_t i = 0; i + 1 < count; ++i)
        text += item;
    return text + last;
}

std::string verified(const std::string& text)
{
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "vokta-limits.x";
    std::ofstream(file) << text;
    const std::string message = verifyModelFile(file.string());
    std::filesystem::remove(file);
    return message;
}

TEST(ModelLimits, TheLargestFileTheLimitsAllowIsAccepted)
{
    const std::string text = testing::largestModelFile();
    EXPECT_LE(text.size(), xfile::kMaxFileBytes);
    EXPECT_EQ(verified(text), "");
}

TEST(ModelLimits, OneStepBeyondAnyLimitIsRefusedWithItsLineAndTheLimit)
{
    const std::size_t v = xfile::kMaxVertices + 1;
    const std::string triangle = "Mesh t { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }\n";
    const struct {
        const char* kind;
        std::string body;
        std::string message;
    } table[] = {
        {"vertices", "Mesh m {\n" + std::to_string(v) + ";\n" + repeat("0;0;0;,", v, "0;0;0;;") + "\n0;\n}\n",
         "t.x:3: mesh 'm': the file holds more than 100000 vertices in all"},
        {"normals",
         triangle + "Mesh m { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;\nMeshNormals {\n" + std::to_string(v) + ";\n" +
             repeat("0;0;1;,", v, "0;0;1;;") + "1; 3;0,0,0;; } }\n",
         "t.x:5: mesh 'm': the file holds more than 100000 normals in all"},
        {"faces",
         "Mesh m {\n3; 0;0;0;, 1;0;0;, 0;1;0;;\n" + std::to_string(xfile::kMaxFaces + 1) + ";\n" +
             repeat("3;0,1,2;,", xfile::kMaxFaces + 1, "3;0,1,2;;") + "}\n",
         "t.x:4: mesh 'm': the file holds more than 100000 faces in all"},
        {"corners",
         "Mesh m {\n4; 0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;;\n100001;\n" + repeat("4;0,1,2,3;,", 100000, "4;0,1,2,3;;") +
             "}\n",
         "t.x:4: mesh 'm': the file holds more than 100000 faces in all"},
        {"materials",
         repeat("Material{1;1;1;1;;1;0;0;0;;0;0;0;;}\n", xfile::kMaxMaterials + 1,
                "Material x {1;1;1;1;;1;0;0;0;;0;0;0;;}\n"),
         "t.x:4098: material 'x': the file holds more than 4096 materials in all"},
        {"frames", repeat("Frame{}\n", xfile::kMaxFrames + 1, "Frame last {}\n"),
         "t.x:4098: frame 'last': the file holds more than 4096 frames in all"},
        {"copies by reference",
         "Mesh big {\n3; 0;0;0;, 1;0;0;, 0;1;0;;\n50000;\n" + repeat("3;0,1,2;,", 50000, "3;0,1,2;;") +
             "}\nFrame f { {big} {big} }\n",
         "t.x:6: frame 'f': the file holds more than 100000 faces in all"},
        {"references", triangle + "Frame f {\n" + repeat("{t}", xfile::kMaxCopies + 1, "{t}\n") + "}\n",
         "t.x:4: frame 'f': the file holds more than 4096 copies by reference in all"},
    };
    for (const auto& row : table) {
        const xfile::ParseResult result = xfile::parse(kHeader + row.body, "t.x");
        EXPECT_FALSE(result.document) << row.kind;
        EXPECT_EQ(result.error.substr(0, row.message.size()), row.message) << row.kind;
    }
    // At exactly the limit, the copies are accepted.
    const std::string atLimit = "Mesh big {\n3; 0;0;0;, 1;0;0;, 0;1;0;;\n50000;\n" +
        repeat("3;0,1,2;,", 50000, "3;0,1,2;;") + "}\nFrame f { {big} }\n";
    EXPECT_TRUE(xfile::parse(kHeader + atLimit, "t.x").document);
}

TEST(ModelLimits, APartTooLargeToCopyIsRefusedWithItsLine)
{
    std::string text = "xof 0302txt 0032\n";
    text += "Frame x3ds_cubes {\n" + testing::gridMesh("cubes", 8, 3, false) + "}\n";
    text += "Frame x3ds_cube {\n" + testing::gridMesh("cube", 8, 3, false) + "}\n";
    text += "Frame x3ds_dir {\n" + testing::gridMesh("arrow", 8, 3, false) + "}\n";
    EXPECT_EQ(verified(text + "Frame x3ds_roller {\n" + testing::gridMesh("roller", 8, 3, false) + "}\n"), "");
    const std::string tooMany =
        verified(text + "Frame x3ds_roller {\n" +
                 testing::gridMesh("roller", kMaxPartVertices, kMaxPartFaces + 1, false) + "}\n");
    // Each small part takes 17 lines; the roller's mesh opens on line 54.
    EXPECT_NE(tooMany.find(":54: mesh \"roller\" has 513 faces; a part may have at most 512"), std::string::npos)
        << tooMany;
    const std::string wide =
        verified(text + "Frame x3ds_roller {\n" + testing::gridMesh("roller", kMaxPartVertices + 1, 3, false) + "}\n");
    EXPECT_NE(wide.find("has 2049 vertices; a part may have at most 2048"), std::string::npos) << wide;
}

}  // namespace
}  // namespace vokta
