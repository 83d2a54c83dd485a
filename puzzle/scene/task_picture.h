#pragma once

#include <string>

#include "puzzle/rules/task_file.h"
#include "render/scene.h"
#include "render/scene_object.h"

namespace vokta {

// The library's picture of a task, in pixels.
inline constexpr int kTaskPictureWidth = 160;
inline constexpr int kTaskPictureHeight = 120;

// The scene of a task's picture in the library: the figure as solid cubes on
// background, seen from the side the game's camera starts on, from far
// enough to show all of it. The desktop and the page draw it with their own
// renderers.
class TaskPictureScene {
public:
    TaskPictureScene(const std::string& modelDirectory, const Task& task, Colour background);

    TaskPictureScene(const TaskPictureScene&) = delete;
    TaskPictureScene& operator=(const TaskPictureScene&) = delete;

    Scene scene;

private:
    SceneObject figure_;
};

}  // namespace vokta
