#include <gtest/gtest.h>

#include <vector>

#include "render/floor_grid.h"

namespace vokta {
namespace {

constexpr Colour kFloor = 0xFFCCCC00;
constexpr Colour kShadow = 0xFF808000;

class FloorGridTest : public ::testing::Test {
protected:
    Scene scene{""};
    FloorGrid floor{scene, {kFloor, kShadow}};
    const MeshBuilder& mesh() const { return *floor.mesh(); }
};

TEST_F(FloorGridTest, VerticesLieOnTheLatticeBetweenCellCentres)
{
    ASSERT_EQ(mesh().vertices().size(), 441u);
    EXPECT_EQ(mesh().vertices()[0], (Vec3{-95, -95, -5.2f}));
    EXPECT_EQ(mesh().vertices()[440], (Vec3{105, 105, -5.2f}));
    EXPECT_EQ(mesh().vertices()[21], (Vec3{-85, -95, -5.2f}));
    EXPECT_EQ(mesh().vertices()[1], (Vec3{-95, -85, -5.2f}));
    ASSERT_EQ(mesh().normals().size(), 4u);
    EXPECT_EQ(mesh().normals()[1], (Vec3{0.5f, -0.5f, 1.0f}));
}

TEST_F(FloorGridTest, FaceNumbersFollowColumnThenRow)
{
    ASSERT_EQ(mesh().faces().size(), 400u);
    const auto corners = [&](int face) {
        std::vector<int> result;
        for (const auto& corner : mesh().faces()[static_cast<std::size_t>(face)].corners)
            result.push_back(corner.vertex);
        return result;
    };
    EXPECT_EQ(corners(0), (std::vector<int>{0, 21, 22, 1}));
    EXPECT_EQ(corners(20 * 7 + 3), (std::vector<int>{21 * 7 + 3, 21 * 7 + 24, 21 * 7 + 25, 21 * 7 + 4}));
    for (int n = 0; n < 4; ++n)
        EXPECT_EQ(mesh().faces()[5].corners[static_cast<std::size_t>(n)].normal, n);
    // Face 399 covers 95..105 on both axes.
    const auto& last = mesh().faces()[399].corners;
    EXPECT_EQ(mesh().vertices()[static_cast<std::size_t>(last[0].vertex)], (Vec3{95, 95, -5.2f}));
    EXPECT_EQ(mesh().vertices()[static_cast<std::size_t>(last[2].vertex)], (Vec3{105, 105, -5.2f}));
}

TEST_F(FloorGridTest, EveryFaceIsSeenFromAbove)
{
    for (const auto& face : mesh().faces()) {
        const Vec3 a = mesh().vertices()[static_cast<std::size_t>(face.corners[0].vertex)];
        const Vec3 b = mesh().vertices()[static_cast<std::size_t>(face.corners[1].vertex)];
        const Vec3 c = mesh().vertices()[static_cast<std::size_t>(face.corners[2].vertex)];
        ASSERT_GT(cross(b - a, c - a).z, 0.0f);
    }
}

TEST_F(FloorGridTest, CubesFindTheFaceBelowThem)
{
    EXPECT_EQ(FloorGrid::faceUnder(-90, -90), 0);
    EXPECT_EQ(FloorGrid::faceUnder(100, 100), 399);
    EXPECT_EQ(FloorGrid::faceUnder(0, 0), 189);
    EXPECT_EQ(FloorGrid::faceUnder(10, -20), 207);
    EXPECT_EQ(FloorGrid::faceUnder(100, 0), 389);
    EXPECT_EQ(FloorGrid::faceUnder(-90, 0), 9);
    EXPECT_EQ(FloorGrid::faceUnder(110, 0), -1) << "column 20";
    EXPECT_EQ(FloorGrid::faceUnder(-100, 0), -1) << "column -1";
    EXPECT_EQ(FloorGrid::faceUnder(0, 1e30f), -1);
}

TEST_F(FloorGridTest, ShadowsDarkenOnlyTheFacesUnderCubes)
{
    const std::vector<Vec3> cubes{{0, 0, 0}, {0, 0, 10}, {0, 0, 40}, {10, -20, 30}, {110, 0, 0}};
    scene.sceneDirty = false;
    floor.updateShadows(cubes);
    EXPECT_TRUE(scene.sceneDirty);
    int shadowed = 0;
    for (std::size_t f = 0; f < 400; ++f) {
        const Colour colour = mesh().faces()[f].colour;
        if (f == 189 || f == 207) {
            EXPECT_EQ(colour, kShadow) << f;
            ++shadowed;
        } else {
            EXPECT_EQ(colour, kFloor) << f;
        }
    }
    EXPECT_EQ(shadowed, 2);

    floor.updateShadows(std::vector<Vec3>{{-90, -90, 0}});
    EXPECT_EQ(mesh().faces()[189].colour, kFloor);
    EXPECT_EQ(mesh().faces()[0].colour, kShadow);
}

}  // namespace
}  // namespace vokta
