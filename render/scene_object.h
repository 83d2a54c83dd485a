#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "render/frame.h"
#include "render/scene.h"

namespace vokta {

// One visible body of the scene: a frame under the world frame, with the
// position, colour and name the game knows it by. Pieces, the floor, the task
// figure, the direction marker and the rollers are all scene objects. Every
// operation that changes what is on screen marks the scene dirty.
class SceneObject {
public:
    // A new empty frame under the world frame, at its origin.
    explicit SceneObject(Scene& scene);
    virtual ~SceneObject();

    SceneObject(const SceneObject&) = delete;
    SceneObject& operator=(const SceneObject&) = delete;

    // Takes the frame out of the scene and forgets it and the name.
    virtual void unload();
    // Binds the object to the first frame called frameName in the model file
    // fileName (looked up in the scene's model directory), lifted directly
    // under the world frame. A missing file or frame leaves the object with an
    // empty frame and an empty name.
    virtual void loadByName(std::string_view fileName, std::string_view frameName);
    // As loadByName, for the file's first frame; name() must already hold its name.
    virtual void loadFirst(std::string_view fileName);
    // Per-tick hook, dt in ticks; nothing happens in the base.
    virtual void step(float dt);

    // The first visual of the bound frame itself (not its children) called name, or null.
    std::shared_ptr<MeshBuilder> findVisual(std::string_view name) const;

    void setPosition(float x, float y, float z);
    void setPosition(Vec3 p) { setPosition(p.x, p.y, p.z); }
    Vec3 position() const { return position_; }
    void setOrientation(Vec3 direction, Vec3 up);
    // Colours the first visual only; the colour is remembered for colour().
    void setColour(Colour colour);
    Colour colour() const { return colour_; }
    // Sets the quality of the first visual, if there is one.
    void setQuality(RenderQuality quality);
    void removeVisuals();

    void attachTo(const std::shared_ptr<Frame>& parent);
    // Lets a picked frame lead back to this object.
    void bindAppData();
    void takeFrameName();

    const std::shared_ptr<Frame>& frame() const { return frame_; }
    const std::string& name() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }

protected:
    Scene& scene() const { return scene_; }

private:
    void bindLoadedFrame(const std::shared_ptr<Frame>& loaded, std::string_view frameName);

    Scene& scene_;
    Vec3 position_;
    std::shared_ptr<Frame> frame_;
    Frame* parent_ = nullptr;
    std::string name_;
    Colour colour_ = 0x00FFFFFF;
};

// One mesh holding a copy of the mesh meshName of the frame frameName in the
// model file fileName at each of cells, in order (a cell listed twice is
// copied twice); empty when the file lacks that mesh.
std::shared_ptr<MeshBuilder> meshAtCells(Scene& scene, std::string_view fileName, std::string_view frameName,
                                         std::string_view meshName, std::span<const Vec3> cells);

}  // namespace vokta
