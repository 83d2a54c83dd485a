#include "puzzle/scene/task_picture.h"

#include <algorithm>
#include <cmath>

#include "puzzle/scene/game_scene.h"
#include "render/viewport.h"

namespace vokta {

namespace {

constexpr Colour kFigureColour = 0xFFB08830;
// Half the diagonal of a cube of edge 10.
constexpr float kCubeHalfDiagonal = 8.67f;

}  // namespace

TaskPictureScene::TaskPictureScene(const std::string& modelDirectory, const Task& task, Colour background)
    : scene(modelDirectory), figure_(scene)
{
    scene.setBackground(background);
    addSceneLights(scene);

    figure_.frame()->addVisual(meshAtCells(scene, kModelFileName, "x3ds_cube", "cube", task.cells));
    Vec3 low{}, high{};
    for (std::size_t k = 0; k < task.cells.size(); ++k) {
        const Vec3 cell = task.cells[k];
        low = k == 0 ? cell : Vec3{std::min(low.x, cell.x), std::min(low.y, cell.y), std::min(low.z, cell.z)};
        high = k == 0 ? cell : Vec3{std::max(high.x, cell.x), std::max(high.y, cell.y), std::max(high.z, cell.z)};
    }
    figure_.setColour(kFigureColour);
    figure_.setQuality(RenderQuality::Flat);

    const Vec3 middle = (low + high) * 0.5f;
    // The sphere round the figure, its cubes' corners included, just fits the
    // picture's height: the view spans Viewport::kField at unit distance.
    const float radius = modulus(high - low) * 0.5f + kCubeHalfDiagonal;
    const float reach = radius * std::sqrt(1.0f + 1.0f / (Viewport::kField * Viewport::kField)) * 1.05f;
    const std::shared_ptr<Frame>& camera = scene.cameraFrame();
    camera->setPosition(scene.sceneFrame().get(), middle + normalize(Vec3{1.0f, 1.2f, 1.0f}) * reach);
    camera->setOrientation(scene.sceneFrame().get(), Vec3{-1.0f, -1.2f, -1.0f}, {0, 0, 1});
}

}  // namespace vokta
