#include <gtest/gtest.h>

#include "render/frame.h"

namespace vokta {
namespace {

std::shared_ptr<Frame> named(const std::shared_ptr<Frame>& parent, const char* name)
{
    auto frame = Frame::create(parent);
    frame->setName(name);
    return frame;
}

TEST(FrameSearch, GoesDepthFirstParentsBeforeChildren)
{
    auto root = Frame::create();
    auto first = named(root, "first");
    auto nestedEarly = named(first, "target");
    auto second = named(root, "target");
    EXPECT_EQ(findFrame(*root, "target"), nestedEarly);
    EXPECT_EQ(findFrame(*root, "first"), first);
    EXPECT_EQ(findFrame(*second, "target"), nullptr) << "the root itself is never compared";
    EXPECT_EQ(findFrame(*root, "targe"), nullptr);
}

TEST(FrameSearch, NamesThatDoNotFitTheNameBufferNeverMatch)
{
    auto root = Frame::create();
    const std::string fits(79, 'n');
    const std::string tooLong(80, 'n');
    auto longer = Frame::create(root);
    longer->setName(tooLong);
    auto fitting = Frame::create(root);
    fitting->setName(fits);
    EXPECT_EQ(findFrame(*root, tooLong), nullptr);
    EXPECT_EQ(findFrame(*root, fits), fitting);
}

TEST(FrameSearch, FindsAFrameSeveralLevelsDown)
{
    auto root = Frame::create();
    auto a = named(root, "a");
    auto b = named(a, "b");
    auto c = named(b, "c");
    auto deep = named(c, "x3ds_cubes");
    EXPECT_EQ(findFrame(*root, "x3ds_cubes"), deep);
}

TEST(Frames, ReparentingKeepsTheFrameAndItsTransform)
{
    auto root = Frame::create();
    auto a = Frame::create(root);
    auto b = Frame::create(root);
    auto child = Frame::create(a);
    child->setPosition(a.get(), {1, 2, 3});
    b->addChild(child);
    EXPECT_TRUE(a->children().empty());
    ASSERT_EQ(b->children().size(), 1u);
    EXPECT_EQ(child->parent(), b.get());
    EXPECT_EQ(child->position(), (Vec3{1, 2, 3}));
    b->deleteChild(child.get());
    EXPECT_EQ(child->parent(), nullptr);
}

TEST(Frames, PositionAndOrientationAreIndependentAndRelativeToTheReference)
{
    auto root = Frame::create();
    auto parent = Frame::create(root);
    parent->setPosition(root.get(), {100, 0, 0});
    auto frame = Frame::create(parent);
    frame->setPosition(nullptr, {10, 20, 30});
    EXPECT_EQ(frame->position(), (Vec3{-90, 20, 30})) << "given in root coordinates";
    EXPECT_EQ(transformPoint(frame->worldTransform(), {}), (Vec3{10, 20, 30}));

    frame->setOrientation(nullptr, {1, 0, 0}, {0, 0, 1});
    EXPECT_EQ(frame->position(), (Vec3{-90, 20, 30}));
    EXPECT_EQ(frame->transform().row(2), (Vec3{1, 0, 0}));
    EXPECT_EQ(frame->transform().row(1), (Vec3{0, 0, 1}));
    frame->setPosition(parent.get(), {0, 0, 0});
    EXPECT_EQ(frame->transform().row(2), (Vec3{1, 0, 0}));
}

TEST(Frames, AddRotationTurnsAboutTheParentsOrigin)
{
    auto root = Frame::create();
    auto frame = Frame::create(root);
    frame->setPosition(nullptr, {10, 0, 0});
    frame->addRotation({0, 0, 1}, -1.5707964f);
    EXPECT_EQ(frame->position(), (Vec3{0, -10, 0})) << "the position swings around the origin";
    EXPECT_EQ(transformPoint(frame->transform(), {10, 0, 0}), (Vec3{0, -20, 0}));
}

TEST(Frames, VisualsKeepInsertionOrder)
{
    auto frame = Frame::create();
    auto a = std::make_shared<MeshBuilder>();
    auto b = std::make_shared<MeshBuilder>();
    frame->addVisual(a);
    frame->addVisual(b);
    EXPECT_EQ(frame->visuals().front(), a);
    frame->deleteVisual(a.get());
    ASSERT_EQ(frame->visuals().size(), 1u);
    EXPECT_EQ(frame->visuals().front(), b);
}

}  // namespace
}  // namespace vokta
