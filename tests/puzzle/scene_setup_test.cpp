#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <vector>

#include "puzzle/controller/commands.h"
#include "puzzle/controller/routing.h"
#include "puzzle/controller/selection.h"
#include "puzzle/rules/hint.h"
#include "puzzle/scene/model_check.h"
#include "test_game.h"

namespace vokta {
namespace {

using testing::GameFixture;

class SceneSetup : public GameFixture {};

TEST_F(SceneSetup, BuildsSevenNamedColouredPiecesFallingFromTheirScatterCells)
{
    EXPECT_EQ(game.state.pieceCount, 7);
    for (int i = 0; i < kPieceTotal; ++i) {
        const PieceState& p = piece(i);
        const Piece& view = *game.view.pieces[static_cast<std::size_t>(i)];
        EXPECT_EQ(view.name(), "x3ds_vokta" + std::to_string(i + 1));
        EXPECT_EQ(view.colour(), kOriginalPalette.pieces[static_cast<std::size_t>(i)].colour);
        EXPECT_EQ(p.offsets, kPieceShapes[static_cast<std::size_t>(i)]);
        EXPECT_TRUE(p.falling);
        EXPECT_EQ(view.frame()->appData(), &view);
        EXPECT_EQ(view.position(), toVec3(p.position)) << "the scene shows the state";
        EXPECT_EQ(view.frame()->visuals().size(), 1u);
        EXPECT_EQ(view.frame()->visuals().front()->quality(), RenderQuality::Flat);
        EXPECT_EQ(view.frame()->visuals().front()->faces().size(), 24u) << "four cubes of six faces";
        const Cell at = p.position;
        EXPECT_EQ(at.x % 10, 0);
        EXPECT_GE(at.x, -100);
        EXPECT_LE(at.x, 90);
        EXPECT_GE(at.y, -100);
        EXPECT_LE(at.y, 90);
        EXPECT_GE(at.z, 10);
        EXPECT_LE(at.z, 50);
    }
}

TEST_F(SceneSetup, AGivenSeedGivesTheSameScatter)
{
    std::array<Cell, kPieceTotal> first{};
    for (int i = 0; i < kPieceTotal; ++i)
        first[static_cast<std::size_t>(i)] = piece(i).position;

    testing::RecordingSound otherSound;
    testing::RecordingShell otherShell;
    GameData other(VOKTA_RESOURCE_DIR, otherSound, otherShell);
    setUpScene(other, 1);
    for (int i = 0; i < kPieceTotal; ++i)
        EXPECT_EQ(other.state.piece(i).position, first[static_cast<std::size_t>(i)]);

    // The draw order: three numbers per piece, z from the first, y the second, x the third.
    GameRandom random(1);
    const int r1 = random.next(), r2 = random.next(), r3 = random.next();
    EXPECT_EQ(first[0], (Cell{(r3 % 20 - 10) * 10, (r2 % 20 - 10) * 10, (r1 % 5 + 1) * 10}));
}

TEST_F(SceneSetup, NoTwoPiecesStartInsideEachOther)
{
    for (unsigned seed = 0; seed < 300; ++seed) {
        game.state.random.reseed(seed);
        scatterPieces(game);
        for (int a = 0; a < kPieceTotal; ++a) {
            for (int b = a + 1; b < kPieceTotal; ++b)
                EXPECT_FALSE(overlaps(piece(a), piece(b))) << "seed " << seed << ": pieces " << a << ", " << b;
        }
    }
}

TEST_F(SceneSetup, LightsCameraBackgroundAndFloor)
{
    const Frame& root = *game.view.scene.sceneFrame();
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
    EXPECT_EQ(game.view.camera.position(), (Vec3{100, 100, 100}));
    EXPECT_EQ(game.view.camera.up(), (Vec3{0, 0, 1}));
    EXPECT_EQ(game.view.scene.background(), 0xFF008000u);
    EXPECT_EQ(game.view.floorGrid->mesh()->quality(), RenderQuality::Gouraud);
    EXPECT_EQ(game.view.floorGrid->frame()->appData(), nullptr) << "the floor is never picked";
}

TEST_F(SceneSetup, MarkersAreLoadedNamedAndParked)
{
    EXPECT_EQ(game.view.directionMarker->name(), "x3ds_dir");
    EXPECT_FALSE(game.view.directionMarker->frame()->visuals().empty() &&
                 game.view.directionMarker->frame()->children().empty());
    EXPECT_EQ(game.view.directionMarker->position(), kParkingPosition);
    for (int i = 0; i < kRollerCount; ++i) {
        const Roller& roller = *game.view.rollers[static_cast<std::size_t>(i)];
        EXPECT_EQ(roller.name(), "roller" + std::to_string(i));
        EXPECT_EQ(roller.frame()->appData(), &roller);
        EXPECT_EQ(roller.position(), kParkingPosition);
        EXPECT_FALSE(roller.frame()->visuals().empty());
    }
    EXPECT_EQ(game.view.rollers[0]->frame()->visuals().size(), 2u) << "roller 0 keeps its loaded mesh besides the copy";
}

TEST_F(SceneSetup, NewTaskHidesTheFigureButKeepsItsCells)
{
    newTask(game);
    EXPECT_TRUE(game.view.taskFigure->frame()->visuals().empty());
    EXPECT_EQ(game.state.cellCount, 27);
    EXPECT_EQ(game.state.figure.cells[13], (Vec3{0, 0, 0}));
}

TEST_F(SceneSetup, ScatteringReleasesTheSelection)
{
    selectPiece(game, 2);
    ASSERT_EQ(game.state.selected, 2);
    scatterPieces(game);
    EXPECT_EQ(game.state.selected, -1);
    EXPECT_EQ(game.state.selectionMode, SelectionMode::None);
    EXPECT_EQ(game.view.pieces[2]->colour(), kOriginalPalette.pieces[2].colour);
}

// Switching the look recolours the whole scene at once, numbers the pieces
// with their digit keys, and leaves every rule's state as it was.
TEST_F(SceneSetup, DisplayOptionsChangeTheLookAndNothingElse)
{
    parkPieces();
    MainWndProc(game, {.kind = WindowMessage::Kind::Command, .command = Command::Hint});
    ASSERT_TRUE(game.hint && game.hint->kind == Hint::Kind::Place);
    const int hinted = game.hint->piece;
    const int selected = hinted == 2 ? 3 : 2;
    selectPiece(game, selected);
    const GameState before = game.state;
    const Vec3 ghost = game.view.hintGhost->position();
    const auto view = [this](int i) -> const Piece& { return *game.view.pieces[static_cast<std::size_t>(i)]; };

    // Exposed faces times the segments of the digit: piece 0 (three cubes,
    // two joins) shows 1, piece 1 (four cubes, three joins) 7, piece 3 (three joins) 3.
    struct Numbered {
        int piece, digit;
        std::size_t bars;
    };
    const Numbered numbered[] = {{0, 1, 14 * 2}, {1, 7, 18 * 3}, {3, 3, 18 * 5}};

    for (const Palette* palette : {&kDistinctPalette, &kOriginalPalette}) {
        for (const bool numbers : {true, false}) {
            game.view.setViewOptions({.palette = palette, .pieceNumbers = numbers});
            EXPECT_EQ(game.state, before);
            EXPECT_EQ(game.view.hintGhost->position(), ghost);
            EXPECT_TRUE(game.hint);
            for (int i = 0; i < kPieceTotal; ++i) {
                const Colour own = palette->pieces[static_cast<std::size_t>(i)].colour;
                EXPECT_EQ(view(i).colour(), i == selected ? palette->selection : own) << i;
                EXPECT_EQ(view(i).frame()->visuals().size(), numbers ? 2u : 1u) << i;
            }
            EXPECT_EQ(game.view.hintGhost->colour(),
                      (palette->pieces[static_cast<std::size_t>(hinted)].colour & 0xFFFFFFu) | 0x80000000u);
            EXPECT_EQ(game.view.hintGhost->frame()->visuals().size(), numbers ? 2u : 1u);
            EXPECT_EQ(game.view.scene.background(), palette->background);
            std::set<Colour> floor;
            for (const MeshBuilder::Face& face : game.view.floorGrid->mesh()->faces())
                floor.insert(face.colour);
            EXPECT_EQ(floor, (std::set<Colour>{palette->floor, palette->shadow}));
            if (!numbers)
                continue;
            for (const Numbered& row : numbered) {
                EXPECT_EQ(view(row.piece).number(), row.digit);
                EXPECT_EQ(view(row.piece).frame()->visuals()[1]->faces().size(), row.bars) << row.piece;
            }
        }
    }

    // A number is part of its piece: picked through its middle bar on top,
    // it picks the piece, and the piece let go takes its palette colour.
    game.view.setViewOptions({.pieceNumbers = true});
    game.view.scene.setViewSize(800, 600);
    const Viewport viewport = game.view.scene.viewport();
    const Viewport::ScreenPoint top = viewport.transform(toVec3(piece(3).position) + Vec3{0, 0, 15});
    const float x = top.x / top.w, y = top.y / top.w;
    const std::vector<Viewport::Hit> hits = viewport.pick(*game.view.scene.sceneFrame(), x, y);
    ASSERT_FALSE(hits.empty());
    EXPECT_EQ(hits.front().visual, view(3).frame()->visuals()[1]) << "the number is in front";
    EXPECT_EQ(pickObject(viewport, *game.view.scene.sceneFrame(), x, y, kPieceNamePrefix), &view(3));
    releaseSelection(game);
    EXPECT_EQ(view(selected).colour(), kOriginalPalette.pieces[static_cast<std::size_t>(selected)].colour);
}

TEST_F(SceneSetup, SevenDroppedPiecesComeToRest)
{
    // Six pieces apart, one dropped onto another.
    const std::array<Cell, kPieceTotal> starts{
        {{-60, -60, 40}, {0, 0, 10}, {0, 0, 50}, {60, -60, 20}, {-60, 60, 30}, {60, 60, 50}, {-60, 0, 50}}};
    for (int i = 0; i < kPieceTotal; ++i) {
        piece(i).position = starts[static_cast<std::size_t>(i)];
        piece(i).falling = true;
    }
    int ticks = 0;
    while (ticks < 200 && std::any_of(game.state.pieces.begin(), game.state.pieces.end(), [](const PieceState& p) {
               return p.falling;
           })) {
        tick();
        ++ticks;
    }
    const std::array<int, kPieceTotal> rests{0, 0, 20, 0, 0, 0, 0};
    for (int i = 0; i < kPieceTotal; ++i)
        EXPECT_EQ(piece(i).position.z, rests[static_cast<std::size_t>(i)]) << "piece " << i;
    EXPECT_EQ(ticks, 26) << "the highest pieces fall 50 units in 25 ticks and stop on the next";
    EXPECT_EQ(sound.count(Cue::Refusal), 1) << "only the piece landing on another sounds";
    EXPECT_EQ(game.view.floorGrid->mesh()->faces()[189].colour, 0xFF808000u) << "shadow under the stack";
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
