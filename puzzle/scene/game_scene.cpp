#include "puzzle/scene/game_scene.h"

#include <algorithm>

#include "geometry/coordinates.h"
#include "render/seven_segment.h"

namespace vokta {

namespace {

constexpr Colour kFigureColour = 0xFFFFFFFF;
// The ghost's see-through: half the piece's own colour.
constexpr Colour kGhostAlpha = 0x80000000;

// A number's height on a cube face, and how far it stands off the face: far
// enough for the depth test to keep it in front from any distance the camera
// goes to, close enough to look painted on.
constexpr float kNumberHeight = 6.5f;
constexpr float kNumberLift = 0.1f;

// A cube face's outward normal and the way a number on it reads upwards: on
// the sides, up; on top and below, away from the start-up camera, which
// looks along (-1, -1, -1), so that the number stands upright in that view.
struct NumberedFace {
    Cell normal;
    Vec3 up;
};
const Vec3 kAwayFromStartView = normalize({-1.0f, -1.0f, 0.0f});
const NumberedFace kNumberedFaces[] = {
    {{1, 0, 0}, {0, 0, 1}},            // +x
    {{-1, 0, 0}, {0, 0, 1}},           // -x
    {{0, 1, 0}, {0, 0, 1}},            // +y
    {{0, -1, 0}, {0, 0, 1}},           // -y
    {{0, 0, 1}, kAwayFromStartView},   // top
    {{0, 0, -1}, kAwayFromStartView},  // bottom
};

// The digit on every face of the cubes at offsets that no other of them covers.
std::shared_ptr<MeshBuilder> numberMesh(const CubeOffsets& offsets, int digit, Colour ink)
{
    auto mesh = std::make_shared<MeshBuilder>();
    for (auto cube = offsets.begin(); cube != offsets.end(); ++cube) {
        // The three-cube piece repeats a cube; it gets its numbers once.
        if (std::find(offsets.begin(), cube, *cube) != cube)
            continue;
        for (const NumberedFace& face : kNumberedFaces) {
            const Cell beside = *cube + Cell{face.normal.x * 10, face.normal.y * 10, face.normal.z * 10};
            if (std::any_of(offsets.begin(), offsets.end(), [&](Cell other) { return cubesOverlap(beside, other); }))
                continue;
            const Vec3 normal = toVec3(face.normal);
            addSevenSegmentDigit(*mesh, digit, toVec3(*cube) + normal * (kCubeEdge / 2 + kNumberLift),
                                 cross(normal, face.up), face.up, kNumberHeight, ink);
        }
    }
    mesh->setQuality(RenderQuality::Flat);
    return mesh;
}

Matrix4 rotationMatrix(const Rotation& turn)
{
    Matrix4 m = Matrix4::identity();
    for (int row = 0; row < 3; ++row)
        m.setRow(row, toVec3(turn.rows[static_cast<std::size_t>(row)]));
    return m;
}

void addLight(Scene& scene, Light light, Vec3 position, Vec3 direction, Vec3 up)
{
    const std::shared_ptr<Frame> frame = Frame::create(scene.sceneFrame());
    frame->setPosition(scene.sceneFrame().get(), position);
    frame->setOrientation(scene.sceneFrame().get(), direction, up);
    frame->addLight(light);
}

// Shadows fall straight down: only a move across the floor or a turn moves them.
bool sameShadow(const PieceState& a, const PieceState& b)
{
    return a.position.x == b.position.x && a.position.y == b.position.y && a.offsets == b.offsets;
}

}  // namespace

void addSceneLights(Scene& scene)
{
    addLight(scene, {Light::Type::Directional, 1.0f, 1.0f, 1.0f}, {0, 100, 100}, {-0.5f, -0.5f, -0.5f}, {-1, -1, 1});
    addLight(scene, {Light::Type::Directional, 0.5f, 0.5f, 0.5f}, {0, -100, 100}, {0.5f, 0.5f, -0.5f}, {1, 1, 1});
    scene.sceneFrame()->addLight({Light::Type::Ambient, 0.3f, 0.3f, 0.3f});
}

void Piece::build(int index)
{
    std::string name(kPieceNamePrefix);
    name += static_cast<char>('1' + index);
    setName(name);
    shape_ = kPieceShapes[static_cast<std::size_t>(index)];
    buildMesh(shape_);
    bindAppData();
}

void Piece::buildMesh(const CubeOffsets& cubeOffsets)
{
    removeVisuals();
    setOrientation({0.0f, 0.0f, 1.0f}, {0.0f, 1.0f, 0.0f});
    std::array<Vec3, kCubesPerPiece> cells;
    std::transform(cubeOffsets.begin(), cubeOffsets.end(), cells.begin(), toVec3);
    // The three-cube piece's repeated cube is drawn twice, in the same place.
    frame()->addVisual(meshAtCells(scene(), kModelFileName, "x3ds_cubes", "cubes", cells));
    builtOffsets_ = cubeOffsets;
    showNumber(number_, numberInk_);
}

void Piece::showNumber(int digit, Colour ink)
{
    number_ = digit;
    numberInk_ = ink;
    if (numberMesh_)
        frame()->deleteVisual(numberMesh_.get());
    numberMesh_.reset();
    if (digit > 0) {
        numberMesh_ = numberMesh(builtOffsets_, digit, ink);
        frame()->addVisual(numberMesh_);
    }
    scene().sceneDirty = true;
}

void Piece::show(const PieceState& piece)
{
    CubeOffsets turned;
    std::transform(shape_.begin(), shape_.end(), turned.begin(), [&](Cell o) { return rotate(o, piece.turn); });
    const bool turnOfShape = turned == piece.offsets;
    const CubeOffsets& meshOffsets = turnOfShape ? shape_ : piece.offsets;
    if (meshOffsets != builtOffsets_) {
        buildMesh(meshOffsets);
        setColour(colour());
        setQuality(RenderQuality::Flat);
    }
    // The mesh stays as built; the frame carries the turn, about the piece position.
    frame()->setTransform(turnOfShape ? rotationMatrix(piece.turn) : Matrix4::identity());
    setPosition(toVec3(piece.position));
}

void TaskFigure::buildMesh(std::span<const Vec3> cells)
{
    removeVisuals();
    frame()->addVisual(meshAtCells(scene(), kModelFileName, "x3ds_cube", "cube", cells));
    setSolid(solid_);
    setColour(kFigureColour);
}

void TaskFigure::setSolid(bool solid)
{
    solid_ = solid;
    setQuality(solid ? RenderQuality::Flat : RenderQuality::Wireframe);
}

GameScene::GameScene(std::string modelDirectory) : scene(std::move(modelDirectory)), camera(scene, scene.cameraFrame())
{
}

// The scene objects go before the scene they hang in; members are destroyed
// in reverse order, which does just that.
GameScene::~GameScene() = default;

void GameScene::build()
{
    addSceneLights(scene);
    floorGrid = std::make_unique<FloorGrid>(scene, FloorGrid::Colours{palette().floor, palette().shadow});
    floorGrid->setQuality(RenderQuality::Gouraud);
    taskFigure = std::make_unique<TaskFigure>(scene);
    for (int i = 0; i < kPieceTotal; ++i) {
        auto piece = std::make_unique<Piece>(scene);
        piece->build(i);
        piece->setQuality(RenderQuality::Flat);
        pieces[static_cast<std::size_t>(i)] = std::move(piece);
    }

    directionMarker = std::make_unique<SceneObject>(scene);
    directionMarker->loadByName(kModelFileName, "x3ds_dir");
    directionMarker->setPosition(kParkingPosition);
    std::shared_ptr<MeshBuilder> rollerMesh;
    for (int i = 0; i < kRollerCount; ++i) {
        auto roller = std::make_unique<Roller>(scene);
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
        roller->setPosition(kParkingPosition);
        rollers[static_cast<std::size_t>(i)] = std::move(roller);
    }
    hintGhost = std::make_unique<Piece>(scene);
    hintGhost->setPosition(kParkingPosition);
}

void GameScene::show(const GameState& state, const std::optional<Ghost>& ghost)
{
    if (!taskFigure)
        return;
    bool cubesMoved = !shown_ || shown_->inPlay() != state.inPlay();
    for (int i = 0; i < kPieceTotal; ++i) {
        const PieceState& piece = state.piece(i);
        if (!shown_ || !sameShadow(shown_->piece(i), piece))
            cubesMoved = true;
        showPiece(state, i);
    }
    showFigure(state);
    const bool moving = state.selected >= 0 && state.selectionMode == SelectionMode::Move;
    const Vec3 marker = moving ? toVec3(state.piece(state.selected).position) : kParkingPosition;
    if (directionMarker->position() != marker)
        directionMarker->setPosition(marker);
    if (cubesMoved)
        updateShadows(state);
    shown_ = state;
    showGhost(ghost);
}

void GameScene::showPiece(const GameState& state, int index)
{
    Piece& view = *pieces[static_cast<std::size_t>(index)];
    const PieceState& piece = state.piece(index);
    const PieceState* before = shown_ ? &shown_->piece(index) : nullptr;
    if (!before || before->turn != piece.turn || before->offsets != piece.offsets)
        view.show(piece);
    else if (before->position != piece.position)
        view.setPosition(toVec3(piece.position));
    const Colour colour =
        index == state.selected ? palette().selection : palette().pieces[static_cast<std::size_t>(index)].colour;
    if (view.colour() != colour)
        view.setColour(colour);
}

void GameScene::showFigure(const GameState& state)
{
    const TaskFigureState& figure = state.figure;
    const bool rebuild = !shown_ || shown_->figure.cells != figure.cells || shown_->figure.shown != figure.shown ||
        shown_->cellCount != state.cellCount;
    if (rebuild) {
        if (figure.shown) {
            const std::size_t cells = static_cast<std::size_t>(std::clamp(state.cellCount, 0, kMaxCells));
            taskFigure->buildMesh(std::span(figure.cells).first(cells));
        } else {
            taskFigure->removeVisuals();
        }
    }
    if (taskFigure->position() != figure.position)
        taskFigure->setPosition(figure.position);
}

void GameScene::showGhost(const std::optional<Ghost>& ghost)
{
    if (ghost == shownGhost_)
        return;
    shownGhost_ = ghost;
    if (!ghost) {
        hintGhost->setPosition(kParkingPosition);
        return;
    }
    hintGhost->buildMesh(ghost->offsets);
    hintGhost->setQuality(RenderQuality::Flat);
    hintGhost->setPosition(toVec3(ghost->position));
    const Colour colour = palette().pieces[static_cast<std::size_t>(ghost->piece)].colour;
    hintGhost->setColour((colour & 0x00FFFFFF) | kGhostAlpha);
    hintGhost->showNumber(options_.pieceNumbers ? digitKeyOf(ghost->piece) : 0, numberInk(colour));
}

void GameScene::setViewOptions(ViewOptions options)
{
    options_ = options;
    if (!taskFigure)
        return;
    for (int i = 0; i < kPieceTotal; ++i) {
        const Colour colour = palette().pieces[static_cast<std::size_t>(i)].colour;
        pieces[static_cast<std::size_t>(i)]->showNumber(options_.pieceNumbers ? digitKeyOf(i) : 0, numberInk(colour));
    }
    scene.setBackground(palette().background);
    floorGrid->setColours({palette().floor, palette().shadow});
    const std::optional<Ghost> ghost = shownGhost_;
    shownGhost_.reset();
    if (shown_) {
        const GameState state = *shown_;
        shown_.reset();
        show(state, ghost);
    }
}

int GameScene::pieceIndex(const SceneObject* object) const
{
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (object && pieces[i].get() == object)
            return static_cast<int>(i);
    }
    return -1;
}

void GameScene::updateShadows(const GameState& state)
{
    std::array<Vec3, kPieceTotal * kCubesPerPiece> cubes;
    std::size_t count = 0;
    for (int p = 0; p < state.inPlay(); ++p) {
        for (int c = 0; c < kCubesPerPiece; ++c)
            cubes[count++] = toVec3(state.piece(p).cube(c));
    }
    floorGrid->updateShadows(std::span(cubes.data(), count));
}

}  // namespace vokta
