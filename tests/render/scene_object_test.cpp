#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "render/scene_object.h"

namespace vokta {
namespace {

// A small model file: an earlier frame nests a "target" frame before the
// top-level one of that name; "moved" sits under a translated parent.
constexpr const char* kModel = R"(xof 0302txt 0032
Frame holder {
  FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 50,60,70,1;; }
  Frame target {
    Mesh first { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }
    Mesh second { 3; 0;0;0;, 1;0;0;, 0;0;1;; 1; 3;0,1,2;; }
  }
  Frame moved {
    FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 5,0,0,1;; }
    Frame { Mesh inner { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; } }
  }
}
Frame target {
  Mesh late { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }
}
)";

class SceneObjects : public ::testing::Test {
protected:
    void SetUp() override
    {
        directory_ = std::filesystem::temp_directory_path() /
            ("vokta-scene-object-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(directory_);
        std::ofstream(directory_ / "model.x") << kModel;
        scene_ = std::make_unique<Scene>(directory_.string());
    }
    void TearDown() override
    {
        scene_.reset();
        std::filesystem::remove_all(directory_);
    }

    std::filesystem::path directory_;
    std::unique_ptr<Scene> scene_;
};

TEST_F(SceneObjects, LoadByNameBindsTheFirstMatchInPreOrderUnderTheWorldFrame)
{
    SceneObject object(*scene_);
    object.loadByName("model.x", "target");
    EXPECT_EQ(object.name(), "target");
    ASSERT_NE(object.findVisual("first"), nullptr) << "the nested frame comes first";
    EXPECT_EQ(object.findVisual("late"), nullptr);
    EXPECT_EQ(object.frame()->parent(), scene_->worldFrame().get());
    EXPECT_EQ(object.frame()->appData(), &object);
    EXPECT_EQ(scene_->worldFrame()->children().size(), 1u) << "the object's own empty frame is gone";
}

TEST_F(SceneObjects, PositionsAreSceneCoordinatesWhateverTheFileHadAbove)
{
    SceneObject object(*scene_);
    object.loadByName("model.x", "moved");
    object.setPosition(10, 0, 0);
    EXPECT_EQ(transformPoint(object.frame()->worldTransform(), {}), (Vec3{10, 0, 0}));
    EXPECT_EQ(object.findVisual("inner"), nullptr) << "only the frame's own visuals are searched";
}

TEST_F(SceneObjects, SetColourColoursOnlyTheFirstVisual)
{
    SceneObject object(*scene_);
    object.loadByName("model.x", "target");
    const Colour before = object.findVisual("second")->faces()[0].colour;
    object.setColour(0xFF123456);
    EXPECT_EQ(object.colour(), 0xFF123456u);
    EXPECT_EQ(object.findVisual("first")->faces()[0].colour, 0xFF123456u);
    EXPECT_EQ(object.findVisual("second")->faces()[0].colour, before);
}

TEST_F(SceneObjects, AMissingFileOrFrameLeavesAnEmptyFrameAndName)
{
    SceneObject missingFile(*scene_);
    missingFile.loadByName("absent.x", "target");
    EXPECT_EQ(missingFile.name(), "");
    EXPECT_TRUE(missingFile.frame()->visuals().empty());
    EXPECT_EQ(missingFile.findVisual("first"), nullptr);

    SceneObject missingFrame(*scene_);
    missingFrame.loadByName("model.x", "nowhere");
    EXPECT_EQ(missingFrame.name(), "");
    EXPECT_EQ(missingFrame.frame()->parent(), scene_->worldFrame().get());
}

TEST_F(SceneObjects, LoadFirstTakesTheFirstTopLevelFrame)
{
    SceneObject object(*scene_);
    object.setName("holder");
    object.loadFirst("model.x");
    EXPECT_EQ(object.name(), "holder");
    EXPECT_EQ(object.frame()->children().size(), 2u);
}

TEST_F(SceneObjects, EveryMutatorMarksTheSceneDirtyEvenWithoutChange)
{
    SceneObject object(*scene_);
    object.loadByName("model.x", "target");
    const auto expectDirty = [&](const char* what, auto&& mutate) {
        scene_->sceneDirty = false;
        mutate();
        EXPECT_TRUE(scene_->sceneDirty) << what;
    };
    expectDirty("setPosition", [&] { object.setPosition(object.position()); });
    expectDirty("setOrientation", [&] { object.setOrientation({0, 0, 1}, {0, 1, 0}); });
    expectDirty("setColour", [&] { object.setColour(object.colour()); });
    expectDirty("setQuality", [&] { object.setQuality(RenderQuality::Flat); });
    expectDirty("removeVisuals", [&] { object.removeVisuals(); });
    EXPECT_TRUE(object.frame()->visuals().empty());
}

TEST_F(SceneObjects, VisualNamesThatDoNotFitTheNameBufferNeverMatch)
{
    SceneObject object(*scene_);
    for (const std::size_t length : {80u, 79u}) {
        auto mesh = std::make_shared<MeshBuilder>();
        mesh->name = std::string(length, 'm');
        object.frame()->addVisual(mesh);
    }
    EXPECT_EQ(object.findVisual(std::string(80, 'm')), nullptr);
    EXPECT_EQ(object.findVisual(std::string(79, 'm')), object.frame()->visuals()[1]);
}

TEST_F(SceneObjects, ADestroyedObjectLeavesNoFrameBehind)
{
    {
        SceneObject loader(*scene_);
        loader.loadByName("model.x", "target");
        SceneObject plain(*scene_);
        EXPECT_EQ(scene_->worldFrame()->children().size(), 2u);
    }
    EXPECT_TRUE(scene_->worldFrame()->children().empty());
}

}  // namespace
}  // namespace vokta
