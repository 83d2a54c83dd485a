#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "render/matrix.h"
#include "render/mesh_builder.h"
#include "render/viewport.h"

namespace vokta {
namespace {

TEST(Vectors, RotateFollowsTheCrossProductAndGivesAUnitVector)
{
    const Vec3 r = rotate({3, 4, 0}, {0, 0, 1}, 2.0f * std::numbers::pi_v<float> / 3.0f);
    const float root3 = std::sqrt(3.0f);
    EXPECT_NEAR(r.x, -0.3f - 0.4f * root3, 1e-6f);
    EXPECT_NEAR(r.y, 0.3f * root3 - 0.4f, 1e-6f);
    EXPECT_NEAR(r.z, 0.0f, 1e-6f);
    EXPECT_NEAR(modulus(r), 1.0f, 1e-6f);
    EXPECT_FLOAT_EQ(modulus({3, 4, 12}), 13.0f);
}

TEST(Matrices, QuarterTurnsAreExactAndAgreeWithRotate)
{
    const Matrix4 m = Matrix4::rotation({0, 0, 1}, -1.5707964f);
    for (float value : m.m)
        EXPECT_EQ(value, std::round(value));
    EXPECT_EQ(transformPoint(m, {10, 0, 0}), (Vec3{0, -10, 0}));
    const Vec3 viaRotate = rotate({1, 0, 0}, {0, 0, 1}, -1.5707964f);
    EXPECT_NEAR(viaRotate.y, -1.0f, 1e-6f);
}

TEST(Matrices, AffineInverseUndoesATransform)
{
    Matrix4 m = Matrix4::rotation({1, 2, 3}, 0.7f) * Matrix4::translation({5, -7, 11});
    const Vec3 p{1.5f, -2.0f, 8.0f};
    const Vec3 back = transformPoint(affineInverse(m), transformPoint(m, p));
    EXPECT_NEAR(back.x, p.x, 1e-4f);
    EXPECT_NEAR(back.y, p.y, 1e-4f);
    EXPECT_NEAR(back.z, p.z, 1e-4f);
}

// The view is left-handed: from (100, 100, 100) looking at the origin with z
// up, world (1, -1, 0) points to the right of the screen and z points up.
TEST(CoordinateSystem, HomeViewSeesXMinusYToTheRight)
{
    auto camera = Frame::create();
    camera->setPosition(nullptr, {100, 100, 100});
    camera->setOrientation(nullptr, {-1, -1, -1}, {0, 0, 1});
    const Viewport viewport(*camera, 800, 600);
    const auto screen = [&](Vec3 p) {
        const Viewport::ScreenPoint s = viewport.transform(p);
        return std::pair{s.x / s.w, s.y / s.w};
    };
    const auto [ox, oy] = screen({0, 0, 0});
    EXPECT_NEAR(ox, 400.0f, 1e-3f);
    EXPECT_NEAR(oy, 300.0f, 1e-3f);
    const auto [rx, ry] = screen({10, -10, 0});
    EXPECT_GT(rx, ox + 10.0f);
    EXPECT_NEAR(ry, oy, 1e-3f);
    const auto [ux, uy] = screen({0, 0, 10});
    EXPECT_NEAR(ux, ox, 1e-3f);
    EXPECT_LT(uy, oy - 10.0f);
}

TEST(MeshBuilders, NumberEverythingInCallOrder)
{
    MeshBuilder mesh;
    EXPECT_EQ(mesh.addVertex({0, 0, 0}), 0);
    EXPECT_EQ(mesh.addVertex({1, 0, 0}), 1);
    EXPECT_EQ(mesh.addNormal({0, 0, 1}), 0);
    EXPECT_EQ(mesh.createFace(), 0);
    EXPECT_EQ(mesh.createFace(), 1);
    mesh.addVertexAndNormalIndexed(1, 1, 0);
    EXPECT_TRUE(mesh.faces()[0].corners.empty());
    ASSERT_EQ(mesh.faces()[1].corners.size(), 1u);
    EXPECT_EQ(mesh.faces()[1].corners[0].vertex, 1);
}

TEST(MeshBuilders, TranslationsAddUpAndCopiesKeepTheirPlace)
{
    MeshBuilder cube;
    cube.addVertex({0, 0, 0});
    cube.addNormal({0, 0, 1});
    const int f = cube.createFace();
    cube.addVertexAndNormalIndexed(f, 0, 0);

    MeshBuilder piece;
    cube.translate({10, 0, 0});
    piece.addMeshBuilder(cube);
    cube.translate({-10, 0, 10});
    piece.addMeshBuilder(cube);
    cube.translate({5, 5, 5});
    ASSERT_EQ(piece.vertices().size(), 2u);
    EXPECT_EQ(piece.vertices()[0], (Vec3{10, 0, 0}));
    EXPECT_EQ(piece.vertices()[1], (Vec3{0, 0, 10}));
    EXPECT_EQ(piece.faces()[1].corners[0].vertex, 1);
    EXPECT_EQ(piece.faces()[1].corners[0].normal, 1);

    piece.addMeshBuilder(piece);
    EXPECT_EQ(piece.vertices().size(), 4u);
    EXPECT_EQ(piece.faces()[3].corners[0].vertex, 3);
}

TEST(MeshBuilders, ColourChangesLeaveTheShapeRevisionAlone)
{
    MeshBuilder mesh;
    mesh.addVertex({1, 2, 3});
    mesh.createFace();
    const auto shape = mesh.shapeRevision();
    const auto any = mesh.revision();
    mesh.setColour(0xFF102030);
    mesh.setFaceColour(0, colourFromRgb(0.5f, 0.5f, 0.0f));
    EXPECT_EQ(mesh.shapeRevision(), shape);
    EXPECT_GT(mesh.revision(), any);
    EXPECT_EQ(mesh.faces()[0].colour, 0xFF808000u);
    mesh.translate({1, 0, 0});
    EXPECT_GT(mesh.shapeRevision(), shape);
    EXPECT_EQ(mesh.boundsMin(), (Vec3{2, 2, 3}));
}

}  // namespace
}  // namespace vokta
