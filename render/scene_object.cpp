#include "render/scene_object.h"

namespace vokta {

SceneObject::SceneObject(Scene& scene) : scene_(scene), frame_(Frame::create(scene.worldFrame())) {}

SceneObject::~SceneObject()
{
    SceneObject::unload();
}

void SceneObject::unload()
{
    // Take the frame out of whatever holds it, so that an object never leaves
    // an orphaned frame in the scene behind it.
    if (frame_) {
        if (Frame* holder = frame_->parent())
            holder->deleteChild(frame_.get());
        if (frame_->appData() == this)
            frame_->setAppData(nullptr);
    }
    frame_.reset();
    parent_ = nullptr;
    name_.clear();
}

void SceneObject::loadByName(std::string_view fileName, std::string_view frameName)
{
    const std::string path = scene_.modelPath(fileName);
    bindLoadedFrame(scene_.models().loadFrame(path, frameName), frameName);
}

void SceneObject::loadFirst(std::string_view fileName)
{
    const std::string path = scene_.modelPath(fileName);
    bindLoadedFrame(scene_.models().loadFirstFrame(path), name_);
}

void SceneObject::bindLoadedFrame(const std::shared_ptr<Frame>& loaded, std::string_view frameName)
{
    if (frame_ && loaded) {
        frame_->addChild(loaded);
        if (std::shared_ptr<Frame> found = findFrame(*frame_, frameName)) {
            // The object's own empty frame has served as the load target; it
            // leaves the scene, and the loaded frame takes its place.
            if (Frame* holder = frame_->parent())
                holder->deleteChild(frame_.get());
            frame_ = found;
        }
    }
    bindAppData();
    takeFrameName();
    attachTo(scene_.worldFrame());
}

void SceneObject::step(float) {}

std::shared_ptr<MeshBuilder> SceneObject::findVisual(std::string_view name) const
{
    if (!frame_)
        return nullptr;
    for (const std::shared_ptr<MeshBuilder>& visual : frame_->visuals()) {
        if (nameMatches(visual->name, name))
            return visual;
    }
    return nullptr;
}

void SceneObject::setPosition(float x, float y, float z)
{
    if (frame_)
        frame_->setPosition(parent_, {x, y, z});
    position_ = {x, y, z};
    scene_.sceneDirty = true;
}

void SceneObject::setOrientation(Vec3 direction, Vec3 up)
{
    if (frame_)
        frame_->setOrientation(parent_, direction, up);
    scene_.sceneDirty = true;
}

void SceneObject::setColour(Colour colour)
{
    colour_ = colour;
    if (frame_ && !frame_->visuals().empty())
        frame_->visuals().front()->setColour(colour);
    scene_.sceneDirty = true;
}

void SceneObject::setQuality(RenderQuality quality)
{
    if (frame_ && !frame_->visuals().empty())
        frame_->visuals().front()->setQuality(quality);
    scene_.sceneDirty = true;
}

void SceneObject::removeVisuals()
{
    if (frame_) {
        while (!frame_->visuals().empty())
            frame_->deleteVisual(frame_->visuals().front().get());
    }
    scene_.sceneDirty = true;
}

void SceneObject::attachTo(const std::shared_ptr<Frame>& parent)
{
    parent_ = parent.get();
    if (parent && frame_)
        parent->addChild(frame_);
}

void SceneObject::bindAppData()
{
    if (frame_)
        frame_->setAppData(this);
}

void SceneObject::takeFrameName()
{
    name_ = frame_ ? frame_->name() : std::string();
}

std::shared_ptr<MeshBuilder> meshAtCells(Scene& scene, std::string_view fileName, std::string_view frameName,
                                         std::string_view meshName, std::span<const Vec3> cells)
{
    SceneObject loader(scene);
    loader.loadByName(fileName, frameName);
    const std::shared_ptr<MeshBuilder> model = loader.findVisual(meshName);
    auto mesh = std::make_shared<MeshBuilder>();
    if (!model)
        return mesh;
    // The loaded copy is moved from cell to cell, never reset; it leaves the
    // scene with the loader.
    Vec3 previous{};
    for (const Vec3 cell : cells) {
        model->translate(cell - previous);
        mesh->addMeshBuilder(*model);
        previous = cell;
    }
    return mesh;
}

}  // namespace vokta
