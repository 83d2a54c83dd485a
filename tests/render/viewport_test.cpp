#include <gtest/gtest.h>

#include <cmath>

#include "render/scene_object.h"
#include "render/viewport.h"

namespace vokta {
namespace {

// A unit square of edge 10 facing +z, centred on the frame's origin.
std::shared_ptr<MeshBuilder> square()
{
    auto mesh = std::make_shared<MeshBuilder>();
    mesh->addVertex({-5, -5, 0});
    mesh->addVertex({5, -5, 0});
    mesh->addVertex({5, 5, 0});
    mesh->addVertex({-5, 5, 0});
    const int face = mesh->createFace();
    for (int v = 0; v < 4; ++v)
        mesh->addVertexAndNormalIndexed(face, v, -1);
    return mesh;
}

class Picking : public ::testing::Test {
protected:
    Picking()
    {
        scene.cameraFrame()->setPosition(nullptr, {0, 0, 100});
        scene.cameraFrame()->setOrientation(nullptr, {0, 0, -1}, {0, 1, 0});
    }

    SceneObject& add(const char* name, float height, bool withAppData = true)
    {
        auto& object = objects.emplace_back(std::make_unique<SceneObject>(scene));
        object->setName(name);
        object->frame()->addVisual(square());
        object->setPosition(0, 0, height);
        if (withAppData)
            object->bindAppData();
        return *object;
    }

    SceneObject* pickCentre(std::string_view prefix) const
    {
        const Viewport viewport(*scene.cameraFrame(), 640, 480);
        return pickObject(viewport, *scene.sceneFrame(), 320, 240, prefix);
    }

    Scene scene{""};
    std::vector<std::unique_ptr<SceneObject>> objects;
};

TEST_F(Picking, HitsComeNearestFirst)
{
    add("low", 0);
    add("high", 50);
    const Viewport viewport(*scene.cameraFrame(), 640, 480);
    const auto hits = viewport.pick(*scene.sceneFrame(), 320, 240);
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_FLOAT_EQ(hits[0].depth, 50.0f);
    EXPECT_FLOAT_EQ(hits[1].depth, 100.0f);
    EXPECT_EQ(hits[0].path.front(), scene.sceneFrame().get());
    EXPECT_EQ(hits[0].path.back(), objects[1]->frame().get());
}

TEST_F(Picking, SkipsFramesWithoutAnObjectAndObjectsOfOtherNames)
{
    add("floor", 60, false);
    add("roller3", 40);
    SceneObject& piece = add("x3ds_vokta5", 20);
    EXPECT_EQ(pickCentre("x3ds_vokta"), &piece);
    EXPECT_EQ(pickCentre("roller"), objects[1].get());
    EXPECT_EQ(pickCentre(""), objects[1].get()) << "an empty prefix matches the nearest object";
    EXPECT_EQ(pickCentre("x3ds_vokta55"), nullptr);
}

TEST_F(Picking, OnlyTheFloorUnderThePointerPicksNothing)
{
    add("floor", 0, false);
    EXPECT_EQ(pickCentre(""), nullptr);
}

TEST_F(Picking, MissesBesideAnObjectAndBeyondTheBackPlane)
{
    add("x3ds_vokta1", 0);
    const Viewport viewport(*scene.cameraFrame(), 640, 480);
    // The square spans +-5 units at depth 100: +-24 pixels at a scale of 480.
    EXPECT_NE(pickObject(viewport, *scene.sceneFrame(), 320 + 23, 240, "x3ds"), nullptr);
    EXPECT_EQ(pickObject(viewport, *scene.sceneFrame(), 320 + 25, 240, "x3ds"), nullptr);
    objects[0]->setPosition(0, 0, -1950);
    EXPECT_EQ(pickCentre("x3ds"), nullptr);
}

TEST_F(Picking, PicksWhatTheProjectionShows)
{
    scene.cameraFrame()->setPosition(nullptr, {100, 100, 100});
    scene.cameraFrame()->setOrientation(nullptr, {-1, -1, -1}, {0, 0, 1});
    SceneObject& object = add("x3ds_vokta2", 0);
    object.setPosition(-40, 30, 20);
    const Viewport viewport(*scene.cameraFrame(), 1280, 800);
    const Viewport::ScreenPoint s = viewport.transform({-40, 30, 20});
    EXPECT_EQ(pickObject(viewport, *scene.sceneFrame(), s.x / s.w, s.y / s.w, "x3ds"), &object);
}

TEST(Projection, ScalesByTheHeightOrThreeQuartersOfANarrowWidth)
{
    auto camera = Frame::create();
    // The field spans the height of a view 4:3 or wider, and three quarters
    // of the width of a narrower one, a phone upright among them.
    const struct {
        int width, height;
        float spanned;
    } table[] = {{1024, 768, 768}, {1280, 800, 800}, {160, 120, 120},
                 {800, 700, 600},  {360, 640, 270},  {500, 500, 375}};
    for (const auto& row : table)
        EXPECT_EQ(Viewport(*camera, row.width, row.height).pixelScale(), row.spanned) << row.width << "x" << row.height;
    const Viewport wide(*camera, 1000, 400);
    EXPECT_FLOAT_EQ(wide.pixelScale(), 400.0f);
    // A point at depth 100, 12.5 units right and up: 50 pixels at that scale.
    const Viewport::ScreenPoint s = wide.transform({12.5f, 12.5f, 100});
    EXPECT_FLOAT_EQ(s.w, 100.0f);
    EXPECT_FLOAT_EQ(s.x / s.w, 550.0f);
    EXPECT_FLOAT_EQ(s.y / s.w, 150.0f);
    EXPECT_NEAR(wide.transform({0, 0, 1}).z, 0.0f, 1e-6f);
    EXPECT_NEAR(wide.transform({0, 0, 2000}).z / 2000.0f, 1.0f, 1e-6f);
}

}  // namespace
}  // namespace vokta
