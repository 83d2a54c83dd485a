#include "render/scene.h"

#include <algorithm>

namespace vokta {

Scene::Scene(std::string modelDirectory)
    : modelDirectory_(std::move(modelDirectory)),
      sceneFrame_(Frame::create()),
      cameraFrame_(Frame::create(sceneFrame_)),
      worldFrame_(Frame::create(sceneFrame_))
{
    if (!modelDirectory_.empty() && modelDirectory_.back() != '/')
        modelDirectory_ += '/';
}

void Scene::setBackground(Colour colour)
{
    background_ = colour;
    sceneDirty = true;
}

void Scene::setViewSize(int width, int height)
{
    viewWidth_ = std::max(width, 1);
    viewHeight_ = std::max(height, 1);
}

std::string Scene::modelPath(std::string_view fileName) const
{
    return modelDirectory_ + std::string(fileName);
}

}  // namespace vokta
