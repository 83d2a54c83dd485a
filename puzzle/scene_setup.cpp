#include "puzzle/scene_setup.h"

#include <algorithm>
#include <array>

#include "puzzle/game.h"
#include "puzzle/selection.h"

namespace vokta {

namespace {

// The frames the game loads from the model file, and the mesh each must hold
// directly (empty: the frame is used whole).
struct ModelPart {
    const char* frame;
    const char* mesh;
};
constexpr ModelPart kModelParts[] = {
    {"x3ds_cubes", "cubes"},
    {"x3ds_cube", "cube"},
    {"x3ds_dir", ""},
    {"x3ds_roller", "roller"},
};

// Attempts to find a scatter cell clear of the pieces placed before; after
// that the last draw stands, so a crowded scatter still ends.
constexpr int kScatterAttempts = 100;

void addLight(Scene& scene, Light light, Vec3 position, Vec3 direction, Vec3 up)
{
    const std::shared_ptr<Frame> frame = Frame::create(scene.sceneFrame());
    frame->setPosition(scene.sceneFrame().get(), position);
    frame->setOrientation(scene.sceneFrame().get(), direction, up);
    frame->addLight(light);
}

void drawScatterPosition(Piece& piece, GameRandom& random)
{
    const int r1 = random.next();
    const int r2 = random.next();
    const int r3 = random.next();
    piece.setPosition(static_cast<float>((r3 % 20 - 10) * 10), static_cast<float>((r2 % 20 - 10) * 10),
                      static_cast<float>((r1 % 5 + 1) * 10));
}

void createRollers(Game& game)
{
    std::shared_ptr<MeshBuilder> rollerMesh;
    for (int i = 0; i < kRollerCount; ++i) {
        auto roller = std::make_unique<Roller>(game.scene);
        if (i == 0) {
            roller->loadByName(kModelFileName, "x3ds_roller");
            rollerMesh = roller->findVisual("roller");
        }
        roller->setName("roller" + std::to_string(i));
        auto copy = std::make_shared<MeshBuilder>();
        if (rollerMesh)
            copy->addMeshBuilder(*rollerMesh);
        roller->frame()->addVisual(copy);
        roller->bindAppData();
        game.rollers[static_cast<std::size_t>(i)] = std::move(roller);
    }
}

}  // namespace

void addSceneLights(Scene& scene)
{
    addLight(scene, {Light::Type::Directional, 1.0f, 1.0f, 1.0f}, {0, 100, 100}, {-0.5f, -0.5f, -0.5f}, {-1, -1, 1});
    addLight(scene, {Light::Type::Directional, 0.5f, 0.5f, 0.5f}, {0, -100, 100}, {0.5f, 0.5f, -0.5f}, {1, 1, 1});
    scene.sceneFrame()->addLight({Light::Type::Ambient, 0.3f, 0.3f, 0.3f});
}

void setUpScene(Game& game, unsigned seed)
{
    game.random.reseed(seed);
    Scene& scene = game.scene;

    addSceneLights(scene);

    resetView(game);
    game.floorGrid = std::make_unique<FloorGrid>(scene, FloorGrid::Colours{game.palette->floor, game.palette->shadow});
    game.floorGrid->setQuality(RenderQuality::Gouraud);
    game.taskFigure = std::make_unique<TaskFigure>(game);

    game.pieceCount = kPieceTotal;
    for (int i = 0; i < kPieceTotal; ++i) {
        auto piece = std::make_unique<Piece>(game);
        piece->build(i);
        piece->setQuality(RenderQuality::Flat);
        game.pieces[static_cast<std::size_t>(i)] = std::move(piece);
    }
    newTask(game);
    game.taskFigure->buildDefault();
    startTaskRun(game, taskKey(builtInTask()));

    game.directionMarker = std::make_unique<SceneObject>(scene);
    game.directionMarker->loadByName(kModelFileName, "x3ds_dir");
    createRollers(game);
    game.hintGhost = std::make_unique<Piece>(game);
    game.hintGhost->setPosition(kParkingPosition);
    updateMarkers(game);
    applyDisplayOptions(game);
}

void resetView(Game& game)
{
    Camera& camera = game.camera;
    camera.setPosition(100, 100, 100);
    camera.setDirection(-1, -1, -1);
    camera.setUp(0, 0, 1);
    camera.yawSpeed = 0.0f;
    camera.moveSpeed = 0.0f;
    camera.pitchSpeed = 0.0f;
    game.scene.sceneDirty = true;
}

void newTask(Game& game)
{
    game.taskFigure->removeVisuals();
    scatterPieces(game);
}

void scatterPieces(Game& game)
{
    releaseSelection(game);
    const std::span<Piece* const> pieces = game.piecesInPlay();
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        Piece& piece = *pieces[i];
        piece.setColour(game.palette->pieces[i].colour);
        for (int attempt = 0; attempt < kScatterAttempts; ++attempt) {
            drawScatterPosition(piece, game.random);
            const bool clear = std::none_of(pieces.begin(), pieces.begin() + static_cast<std::ptrdiff_t>(i),
                                            [&piece](const Piece* placed) { return piece.overlaps(*placed); });
            if (clear)
                break;
        }
        piece.falling = true;
    }
    updateShadows(game);
}

void applyDisplayOptions(Game& game)
{
    const Palette& palette = *game.palette;
    for (std::size_t i = 0; i < game.pieces.size(); ++i) {
        Piece& piece = *game.pieces[i];
        const Colour colour = palette.pieces[i].colour;
        if (&piece == game.selectedPiece) {
            game.savedColour = colour;
            piece.setColour(palette.selection);
        } else {
            piece.setColour(colour);
        }
        piece.showNumber(game.pieceNumbers ? digitKeyOf(static_cast<int>(i)) : 0, numberInk(colour));
    }
    dressHintGhost(game);
    game.scene.setBackground(palette.background);
    game.floorGrid->setColours({palette.floor, palette.shadow});
    updateShadows(game);
}

void updateShadows(Game& game)
{
    std::array<Vec3, kPieceTotal * kCubesPerPiece> cubes;
    std::size_t count = 0;
    for (const Piece* piece : game.piecesInPlay()) {
        for (int c = 0; c < kCubesPerPiece; ++c)
            cubes[count++] = piece->cube(c);
    }
    game.floorGrid->updateShadows(std::span(cubes.data(), count));
}

namespace {

struct PartSize {
    std::size_t vertices = 0;
    std::size_t faces = 0;
    std::size_t corners = 0;
};

void add(PartSize& size, const xfile::Mesh& mesh)
{
    size.vertices += mesh.vertices.size();
    size.faces += mesh.faces.size();
    for (const auto& face : mesh.faces)
        size.corners += face.size();
}

void add(PartSize& size, const xfile::Frame& frame)
{
    for (const xfile::Mesh& mesh : frame.meshes)
        add(size, mesh);
    for (const xfile::Frame& child : frame.children)
        add(size, child);
}

// Why a part is too large to be copied as often as the game copies it, or nothing.
std::string partTooLarge(const PartSize& size)
{
    if (size.vertices > kMaxPartVertices)
        return std::to_string(size.vertices) + " vertices; a part may have at most " + std::to_string(kMaxPartVertices);
    if (size.faces > kMaxPartFaces)
        return std::to_string(size.faces) + " faces; a part may have at most " + std::to_string(kMaxPartFaces);
    if (size.corners > kMaxPartCorners)
        return std::to_string(size.corners) + " face corners; a part may have at most " +
            std::to_string(kMaxPartCorners);
    return {};
}

}  // namespace

std::string verifyModelFile(const std::string& path)
{
    const xfile::ParseResult result = xfile::loadFile(path);
    if (!result.document)
        return result.error;
    std::string missing;
    for (const ModelPart& part : kModelParts) {
        const xfile::Frame* frame = xfile::findFrame(*result.document, part.frame);
        const xfile::Mesh* mesh = frame && *part.mesh ? xfile::findMesh(*frame, part.mesh) : nullptr;
        if (!frame) {
            missing += "\n  frame \"" + std::string(part.frame) + "\"";
            continue;
        }
        if (*part.mesh && !mesh) {
            missing += "\n  mesh \"" + std::string(part.mesh) + "\" in frame \"" + part.frame + "\"";
            continue;
        }
        PartSize size;
        if (mesh)
            add(size, *mesh);
        else
            add(size, *frame);
        if (const std::string why = partTooLarge(size); !why.empty()) {
            const std::string what =
                mesh ? "mesh \"" + std::string(part.mesh) + "\"" : "frame \"" + std::string(part.frame) + "\"";
            return path + ":" + std::to_string(mesh ? mesh->line : frame->line) + ": " + what + " has " + why;
        }
    }
    if (missing.empty())
        return {};
    return path + ": the model file lacks" + missing;
}

}  // namespace vokta
