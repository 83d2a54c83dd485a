#include "puzzle/task_figure.h"

#include <algorithm>

#include "puzzle/game.h"

namespace vokta {

namespace {

constexpr Colour kBuiltInTaskColour = 0xFFFFFFFF;

}  // namespace

TaskFigure::TaskFigure(Game& game) : SceneObject(game.scene), game_(game) {}

void TaskFigure::buildMesh(std::span<const Vec3> cells)
{
    removeVisuals();
    const std::span<const Vec3> taken = cells.first(std::min(cells.size(), cells_.size()));
    std::copy(taken.begin(), taken.end(), cells_.begin());
    frame()->addVisual(meshAtCells(game_.scene, kModelFileName, "x3ds_cube", "cube", taken));
}

void TaskFigure::restore(const std::array<Vec3, kMaxCells>& cells, Vec3 position, std::shared_ptr<MeshBuilder> mesh)
{
    cells_ = cells;
    setPosition(position);
    const bool shown = frame() && !frame()->visuals().empty();
    if (!shown || frame()->visuals().front() != mesh) {
        removeVisuals();
        if (mesh && frame())
            frame()->addVisual(std::move(mesh));
    }
    setSolid(solid_);
}

void TaskFigure::buildDefault()
{
    buildMesh(kBuiltInTask);
    game_.cellCount = kMaxCells;
    setPosition(kBuiltInTaskPosition);
    setSolid(solid_);
    setColour(kBuiltInTaskColour);
    scene().sceneDirty = true;
}

void TaskFigure::setSolid(bool solid)
{
    solid_ = solid;
    setQuality(solid ? RenderQuality::Flat : RenderQuality::Wireframe);
}

bool TaskFigure::isCompleted() const
{
    const int cellsToTest = std::min(game_.cellCount, kMaxCells);
    std::array<Vec3, kMaxCells> worldCells;
    Vec3 low{}, high{};
    for (int k = 0; k < cellsToTest; ++k) {
        const Vec3 cell = position() + cells_[static_cast<std::size_t>(k)];
        worldCells[static_cast<std::size_t>(k)] = cell;
        low = k == 0 ? cell : Vec3{std::min(low.x, cell.x), std::min(low.y, cell.y), std::min(low.z, cell.z)};
        high = k == 0 ? cell : Vec3{std::max(high.x, cell.x), std::max(high.y, cell.y), std::max(high.z, cell.z)};
    }
    int matched = 0;
    const std::span<Piece* const> pieces = game_.piecesInPlay();
    for (std::size_t p = 0; p < pieces.size(); ++p) {
        for (int c = 0; c < cubeCount(p); ++c) {
            const Vec3 cube = pieces[p]->cube(c);
            // Most cubes stand away from the figure; only those inside its box can match a cell.
            if (cube.x < low.x || cube.y < low.y || cube.z < low.z || cube.x > high.x || cube.y > high.y ||
                cube.z > high.z)
                continue;
            for (int k = 0; k < cellsToTest; ++k) {
                if (worldCells[static_cast<std::size_t>(k)] == cube)
                    ++matched;
            }
        }
    }
    return matched == game_.cellCount;
}

}  // namespace vokta
