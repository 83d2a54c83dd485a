#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "puzzle/selection.h"
#include "test_game.h"

namespace vokta {
namespace {

using testing::GameFixture;

class SceneSetup : public GameFixture {};

TEST_F(SceneSetup, BuildsSevenNamedColouredPiecesFallingFromTheirScatterCells)
{
    EXPECT_EQ(game.pieceCount, 7);
    for (int i = 0; i < kPieceTotal; ++i) {
        const Piece& p = piece(i);
        EXPECT_EQ(p.name(), "x3ds_vokta" + std::to_string(i + 1));
        EXPECT_EQ(p.colour(), kPieceColours[static_cast<std::size_t>(i)]);
        EXPECT_EQ(p.offsets, kPieceShapes[static_cast<std::size_t>(i)]);
        EXPECT_TRUE(p.falling);
        EXPECT_EQ(p.frame()->appData(), &p);
        ASSERT_EQ(p.frame()->visuals().size(), 1u);
        EXPECT_EQ(p.frame()->visuals()[0]->quality(), RenderQuality::Flat);
        EXPECT_EQ(p.frame()->visuals()[0]->faces().size(), 24u) << "four cubes of six faces";
        const Vec3 at = p.position();
        EXPECT_EQ(std::fmod(at.x, 10.0f), 0.0f);
        EXPECT_GE(at.x, -100.0f);
        EXPECT_LE(at.x, 90.0f);
        EXPECT_GE(at.y, -100.0f);
        EXPECT_LE(at.y, 90.0f);
        EXPECT_GE(at.z, 10.0f);
        EXPECT_LE(at.z, 50.0f);
    }
}

TEST_F(SceneSetup, AGivenSeedGivesTheSameScatter)
{
    std::array<Vec3, kPieceTotal> first{};
    for (int i = 0; i < kPieceTotal; ++i)
        first[static_cast<std::size_t>(i)] = piece(i).position();

    testing::RecordingSound otherSound;
    testing::RecordingShell otherShell;
    Game other(VOKTA_RESOURCE_DIR, otherSound, otherShell);
    setUpScene(other, 1);
    for (int i = 0; i < kPieceTotal; ++i)
        EXPECT_EQ(other.pieces[static_cast<std::size_t>(i)]->position(), first[static_cast<std::size_t>(i)]);

    // The draw order: three numbers per piece, z from the first, y the second, x the third.
    std::srand(1);
    const int r1 = std::rand(), r2 = std::rand(), r3 = std::rand();
    EXPECT_EQ(first[0],
              (Vec3{static_cast<float>((r3 % 20 - 10) * 10), static_cast<float>((r2 % 20 - 10) * 10),
                    static_cast<float>((r1 % 5 + 1) * 10)}));
}

TEST_F(SceneSetup, NoTwoPiecesStartInsideEachOther)
{
    for (unsigned seed = 0; seed < 300; ++seed) {
        std::srand(seed);
        scatterPieces(game);
        for (int a = 0; a < kPieceTotal; ++a) {
            for (int b = a + 1; b < kPieceTotal; ++b)
                ASSERT_FALSE(piece(a).overlaps(piece(b))) << "seed " << seed << ": pieces " << a << ", " << b;
        }
    }
}

TEST_F(SceneSetup, LightsCameraBackgroundAndFloor)
{
    const Frame& root = *game.scene.sceneFrame();
    ASSERT_EQ(root.lights().size(), 1u);
    EXPECT_EQ(root.lights()[0].type, Light::Type::Ambient);
    int directional = 0;
    for (const auto& child : root.children()) {
        for (const Light& light : child->lights()) {
            EXPECT_EQ(light.type, Light::Type::Directional);
            ++directional;
        }
    }
    EXPECT_EQ(directional, 2);
    EXPECT_EQ(game.camera.position(), (Vec3{100, 100, 100}));
    EXPECT_EQ(game.camera.up(), (Vec3{0, 0, 1}));
    EXPECT_EQ(game.scene.background(), 0xFF008000u);
    EXPECT_EQ(game.floorGrid->mesh()->quality(), RenderQuality::Gouraud);
    EXPECT_EQ(game.floorGrid->frame()->appData(), nullptr) << "the floor is never picked";
}

TEST_F(SceneSetup, MarkersAreLoadedNamedAndParked)
{
    EXPECT_EQ(game.directionMarker->name(), "x3ds_dir");
    EXPECT_FALSE(game.directionMarker->frame()->visuals().empty() && game.directionMarker->frame()->children().empty());
    EXPECT_EQ(game.directionMarker->position(), kParkingPosition);
    for (int i = 0; i < kRollerCount; ++i) {
        const Roller& roller = *game.rollers[static_cast<std::size_t>(i)];
        EXPECT_EQ(roller.name(), "roller" + std::to_string(i));
        EXPECT_EQ(roller.frame()->appData(), &roller);
        EXPECT_EQ(roller.position(), kParkingPosition);
        EXPECT_FALSE(roller.frame()->visuals().empty());
    }
    EXPECT_EQ(game.rollers[0]->frame()->visuals().size(), 2u) << "roller 0 keeps its loaded mesh besides the copy";
}

TEST_F(SceneSetup, NewTaskHidesTheFigureButKeepsItsCells)
{
    newTask(game);
    EXPECT_TRUE(game.taskFigure->frame()->visuals().empty());
    EXPECT_EQ(game.cellCount, 27);
    EXPECT_EQ(game.taskFigure->cells()[13], (Vec3{0, 0, 0}));
}

TEST_F(SceneSetup, ScatteringReleasesTheSelection)
{
    selectPieceByIndex(game, 2);
    ASSERT_EQ(game.selectedPiece, &piece(2));
    scatterPieces(game);
    EXPECT_EQ(game.selectedPiece, nullptr);
    EXPECT_EQ(game.selectionMode, SelectionMode::None);
    EXPECT_EQ(piece(2).colour(), kPieceColours[2]);
}

TEST_F(SceneSetup, SevenDroppedPiecesComeToRest)
{
    // Six pieces apart, one dropped onto another.
    const std::array<Vec3, kPieceTotal> starts{
        {{-60, -60, 40}, {0, 0, 10}, {0, 0, 50}, {60, -60, 20}, {-60, 60, 30}, {60, 60, 50}, {-60, 0, 50}}};
    for (int i = 0; i < kPieceTotal; ++i) {
        piece(i).setPosition(starts[static_cast<std::size_t>(i)]);
        piece(i).falling = true;
    }
    updateShadows(game);
    int ticks = 0;
    while (ticks < 200 &&
           std::any_of(game.pieces.begin(), game.pieces.end(), [](const auto& p) { return p->falling; })) {
        tick();
        ++ticks;
    }
    const std::array<float, kPieceTotal> rests{0, 0, 20, 0, 0, 0, 0};
    for (int i = 0; i < kPieceTotal; ++i)
        EXPECT_EQ(piece(i).position().z, rests[static_cast<std::size_t>(i)]) << "piece " << i;
    EXPECT_EQ(ticks, 26) << "the highest pieces fall 50 units in 25 ticks and stop on the next";
    EXPECT_EQ(sound.count(Cue::Refusal), 1) << "only the piece landing on another sounds";
    EXPECT_EQ(game.floorGrid->mesh()->faces()[189].colour, 0xFF808000u) << "shadow under the stack";
}

TEST(ModelFile, TheGamesModelFileHoldsEverythingTheGameLooksUp)
{
    EXPECT_EQ(verifyModelFile(std::string(VOKTA_RESOURCE_DIR) + "/vokta.x"), "");
}

TEST(ModelFile, AMissingOrIncompleteFileIsNamedWithWhatIsMissing)
{
    const auto directory = std::filesystem::temp_directory_path() / "vokta-model-check";
    std::filesystem::create_directories(directory);
    const std::string missing = (directory / "absent.x").string();
    EXPECT_NE(verifyModelFile(missing).find(missing), std::string::npos);

    const std::string partial = (directory / "partial.x").string();
    std::ofstream(partial)
        << "xof 0302txt 0032\nFrame x3ds_cubes { Mesh cubes { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; } }\n"
           "Frame x3ds_roller { Mesh other { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; } }\n";
    const std::string message = verifyModelFile(partial);
    EXPECT_NE(message.find(partial), std::string::npos);
    EXPECT_NE(message.find("frame \"x3ds_cube\""), std::string::npos);
    EXPECT_NE(message.find("frame \"x3ds_dir\""), std::string::npos);
    EXPECT_NE(message.find("mesh \"roller\""), std::string::npos);
    EXPECT_EQ(message.find("x3ds_cubes\""), std::string::npos);
    std::filesystem::remove_all(directory);
}

}  // namespace
}  // namespace vokta
