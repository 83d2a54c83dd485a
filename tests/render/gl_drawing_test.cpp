#include <gtest/gtest.h>

#include <algorithm>

#include "render/camera.h"
#include "render/gl/draw_list.h"
#include "render/gl/mesh_geometry.h"
#include "render/gl/scene_drawer.h"

namespace vokta {
namespace {

// A unit square in the z = 0 plane, corners counter-clockwise seen from +z,
// so by the winding rule its front side faces +z.
std::shared_ptr<MeshBuilder> square(RenderQuality quality, Colour colour = 0xFFFFFFFF)
{
    auto mesh = std::make_shared<MeshBuilder>();
    mesh->addVertex({0, 0, 0});
    mesh->addVertex({1, 0, 0});
    mesh->addVertex({1, 1, 0});
    mesh->addVertex({0, 1, 0});
    mesh->addNormal({0.5f, 0.5f, 1.0f});
    const int face = mesh->createFace();
    mesh->addVertexAndNormalIndexed(face, 0, 0);
    mesh->addVertexAndNormalIndexed(face, 1, -1);
    mesh->addVertexAndNormalIndexed(face, 2, 0);
    mesh->addVertexAndNormalIndexed(face, 3, -1);
    mesh->setColour(colour);
    mesh->setQuality(quality);
    return mesh;
}

void expectNear(Vec3 actual, Vec3 expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
    EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

TEST(MeshGeometry, WireframesDrawThePolygonOutlineNotTheTriangleDiagonals)
{
    const auto mesh = square(RenderQuality::Wireframe);
    const MeshGeometry geometry = buildMeshGeometry(*mesh);
    const MeshIndices indices = buildMeshIndices(*mesh, geometry);
    EXPECT_TRUE(geometry.lines);
    EXPECT_EQ(indices.opaque, (std::vector<std::uint32_t>{0, 1, 1, 2, 2, 3, 3, 0}));
    EXPECT_TRUE(indices.translucent.empty());
    // Wires are unlit: no normal reaches the shader.
    for (const MeshGeometry::CornerVertex& corner : geometry.corners)
        EXPECT_EQ(corner.normal, Vec3{});
}

TEST(MeshGeometry, PolygonsBecomeTriangleFans)
{
    auto pentagon = std::make_shared<MeshBuilder>();
    MeshBuilder::Face face;
    for (int i = 0; i < 5; ++i) {
        const float angle = 6.2831853f * static_cast<float>(i) / 5.0f;
        face.corners.push_back({pentagon->addVertex({std::cos(angle), std::sin(angle), 0}), -1});
    }
    pentagon->addFace(face);
    pentagon->setQuality(RenderQuality::Flat);
    const MeshGeometry geometry = buildMeshGeometry(*pentagon);
    EXPECT_EQ(buildMeshIndices(*pentagon, geometry).opaque, (std::vector<std::uint32_t>{0, 1, 2, 0, 2, 3, 0, 3, 4}));
}

TEST(MeshGeometry, FlatFacesTakeTheirFrontSideNormalAtEveryCorner)
{
    const auto mesh = square(RenderQuality::Flat);
    const MeshGeometry geometry = buildMeshGeometry(*mesh);
    ASSERT_EQ(geometry.corners.size(), 4u);
    for (const MeshGeometry::CornerVertex& corner : geometry.corners)
        expectNear(corner.normal, {0, 0, 1});

    // The same corners in the other order face the other way.
    auto reversed = std::make_shared<MeshBuilder>();
    for (const Vec3& v : mesh->vertices())
        reversed->addVertex(v);
    reversed->addFace({{{3, -1}, {2, -1}, {1, -1}, {0, -1}}, 0xFFFFFFFF});
    reversed->setQuality(RenderQuality::Flat);
    expectNear(buildMeshGeometry(*reversed).corners[0].normal, {0, 0, -1});
}

TEST(MeshGeometry, GouraudCornersUseTheirOwnNormalsNormalisedElseTheFaceNormal)
{
    // The floor gives its corner normals unnormalised.
    const auto mesh = square(RenderQuality::Gouraud);
    const MeshGeometry geometry = buildMeshGeometry(*mesh);
    ASSERT_EQ(geometry.corners.size(), 4u);
    expectNear(geometry.corners[0].normal, normalize({0.5f, 0.5f, 1.0f}));
    expectNear(geometry.corners[1].normal, {0, 0, 1});
    expectNear(geometry.corners[2].normal, normalize({0.5f, 0.5f, 1.0f}));
    expectNear(geometry.corners[3].normal, {0, 0, 1});
}

TEST(MeshGeometry, HalfTransparentFacesAreDrawnAfterTheOpaqueOnes)
{
    auto mesh = square(RenderQuality::Flat);
    mesh->addMeshBuilder(*mesh);
    mesh->setFaceColour(0, 0x80808080);
    const MeshGeometry geometry = buildMeshGeometry(*mesh);
    const MeshIndices indices = buildMeshIndices(*mesh, geometry);
    EXPECT_EQ(indices.translucent, (std::vector<std::uint32_t>{0, 1, 2, 0, 2, 3}));
    EXPECT_EQ(indices.opaque, (std::vector<std::uint32_t>{4, 5, 6, 4, 6, 7}));
}

TEST(MeshGeometry, ColoursAreGivenPerCornerAsRedGreenBlueAlpha)
{
    const auto mesh = square(RenderQuality::Flat, 0x80C86432);
    const std::vector<std::uint8_t> colours = cornerColours(*mesh, buildMeshGeometry(*mesh));
    ASSERT_EQ(colours.size(), 16u);
    for (std::size_t corner = 0; corner < 4; ++corner) {
        EXPECT_EQ(colours[4 * corner], 0xC8);
        EXPECT_EQ(colours[4 * corner + 1], 0x64);
        EXPECT_EQ(colours[4 * corner + 2], 0x32);
        EXPECT_EQ(colours[4 * corner + 3], 0x80);
    }
}

TEST(MeshGeometry, FacesThatCannotBeDrawnAreLeftOutWithoutShiftingTheOthers)
{
    auto mesh = square(RenderQuality::Flat);
    mesh->addFace({{{0, -1}, {1, -1}}, 0xFFFFFFFF});            // a segment: no triangle
    mesh->addFace({{{0, -1}, {1, -1}, {99, -1}}, 0xFFFFFFFF});  // names a vertex that is not there
    mesh->addFace({{{2, -1}, {3, -1}, {0, 42}}, 0xFF00FF00});   // a normal that is not there is no harm
    const MeshGeometry geometry = buildMeshGeometry(*mesh);
    ASSERT_EQ(geometry.faces.size(), 2u);
    EXPECT_EQ(geometry.faces[1].face, 3);
    EXPECT_EQ(geometry.faces[1].firstCorner, 4u);
    const std::vector<std::uint8_t> colours = cornerColours(*mesh, geometry);
    EXPECT_EQ(colours[4 * 4], 0x00);  // red of the green face's first corner

    mesh->setQuality(RenderQuality::Wireframe);
    const MeshGeometry wires = buildMeshGeometry(*mesh);
    EXPECT_EQ(wires.faces.size(), 3u);  // the segment is drawn as one line
    EXPECT_EQ(buildMeshIndices(*mesh, wires).opaque.size(), 8u + 2u + 6u);
}

// The picture and the CPU picking must use one projection: every point the
// viewport maps to a client pixel lands on that pixel in the picture.
TEST(Projection, PutsEveryPointOnThePixelTheViewportGivesIt)
{
    for (const auto& [width, height] : {std::pair{1024, 768}, std::pair{500, 900}, std::pair{1, 1}}) {
        Scene scene("");
        Camera camera(scene, scene.cameraFrame());
        camera.setPosition(100, 100, 100);
        camera.setDirection(-1, -1, -1);
        camera.setUp(0, 0, 1);
        const Viewport viewport(*scene.cameraFrame(), width, height);
        const Matrix4 projection = viewProjection(viewport);
        for (const Vec3 world : {Vec3{0, 0, 0}, Vec3{90, -40, 0}, Vec3{-95, 105, -5.2f}, Vec3{30, 30, 50}}) {
            const Viewport::ScreenPoint expected = viewport.transform(world);
            const Vec3 clip = transformPoint(projection, world);
            const float w = world.x * projection.at(0, 3) + world.y * projection.at(1, 3) +
                world.z * projection.at(2, 3) + projection.at(3, 3);
            const float pixelX = (clip.x / w + 1.0f) * 0.5f * static_cast<float>(width);
            const float pixelY = (1.0f - clip.y / w) * 0.5f * static_cast<float>(height);
            EXPECT_NEAR(pixelX, expected.x / expected.w, 1e-2f) << width << " x " << height;
            EXPECT_NEAR(pixelY, expected.y / expected.w, 1e-2f) << width << " x " << height;
            EXPECT_NEAR(w, expected.w, 1e-3f);
        }
    }
}

TEST(Projection, DepthRunsFromTheFrontPlaneToTheBackPlane)
{
    Scene scene("");
    const Viewport viewport(*scene.cameraFrame(), 640, 480);  // at the origin, looking along z
    const Matrix4 projection = viewProjection(viewport);
    const auto depth = [&projection](float z) { return transformPoint(projection, {0, 0, z}).z / z; };
    EXPECT_NEAR(depth(Viewport::kFrontPlane), -1.0f, 1e-5f);
    EXPECT_NEAR(depth(Viewport::kBackPlane), 1.0f, 1e-5f);
    EXPECT_GT(depth(Viewport::kBackPlane * 1.01f), 1.0f);
}

TEST(DrawList, LightsShineAlongTheirFramesZAxisAndAmbientLightsAddUp)
{
    Scene scene("");
    const auto lightFrame = Frame::create(scene.sceneFrame());
    lightFrame->setOrientation(nullptr, {-0.5f, -0.5f, -0.5f}, {-1, -1, 1});
    lightFrame->addLight({Light::Type::Directional, 1.0f, 0.5f, 0.25f});
    scene.sceneFrame()->addLight({Light::Type::Ambient, 0.2f, 0.2f, 0.2f});
    scene.worldFrame()->addLight({Light::Type::Ambient, 0.1f, 0.0f, 0.3f});

    DrawList list;
    collectDrawList(*scene.sceneFrame(), list);
    ASSERT_EQ(list.lighting.directional.size(), 1u);
    expectNear(list.lighting.directional[0].direction, normalize({-1, -1, -1}));
    expectNear(list.lighting.directional[0].colour, {1.0f, 0.5f, 0.25f});
    expectNear(list.lighting.ambient, {0.3f, 0.2f, 0.5f});

    // Collecting again starts afresh.
    collectDrawList(*scene.sceneFrame(), list);
    EXPECT_EQ(list.lighting.directional.size(), 1u);
    expectNear(list.lighting.ambient, {0.3f, 0.2f, 0.5f});
}

TEST(DrawList, VisualsCarryTheirFramesWorldTransformInSceneOrder)
{
    Scene scene("");
    const auto parent = Frame::create(scene.worldFrame());
    parent->setPosition(nullptr, {10, 0, 0});
    const auto child = Frame::create(parent);
    child->setPosition(parent.get(), {0, 5, 0});
    const auto first = square(RenderQuality::Flat);
    const auto second = square(RenderQuality::Flat);
    parent->addVisual(first);
    child->addVisual(second);

    DrawList list;
    collectDrawList(*scene.sceneFrame(), list);
    ASSERT_EQ(list.items.size(), 2u);
    EXPECT_EQ(list.items[0].mesh, first);
    EXPECT_EQ(list.items[1].mesh, second);
    EXPECT_EQ(transformPoint(list.items[1].toWorld, {1, 1, 1}), (Vec3{11, 6, 1}));
}

}  // namespace
}  // namespace vokta
