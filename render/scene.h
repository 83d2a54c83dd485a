#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "render/frame.h"
#include "render/model_library.h"
#include "render/viewport.h"

namespace vokta {

// The scene the renderer draws: a root frame (lights, background, camera frame
// and world frame hang on it), the world frame under which every scene object
// hangs, the flag that tells the renderer something changed, and the model
// files scene objects load from.
class Scene {
public:
    // Model files are looked up in modelDirectory (a trailing separator is optional).
    explicit Scene(std::string modelDirectory);

    const std::shared_ptr<Frame>& sceneFrame() const { return sceneFrame_; }
    const std::shared_ptr<Frame>& worldFrame() const { return worldFrame_; }
    const std::shared_ptr<Frame>& cameraFrame() const { return cameraFrame_; }

    // Set by every change of what is visible; cleared by whoever draws.
    bool sceneDirty = false;

    Colour background() const { return background_; }
    void setBackground(Colour colour);

    // The client area the scene is shown on, in logical pixels (the mouse's
    // pixels); at least 1 x 1. Drawing, picking and projecting all use it.
    void setViewSize(int width, int height);
    int viewWidth() const { return viewWidth_; }
    int viewHeight() const { return viewHeight_; }
    // The camera's view on that area as it stands now.
    Viewport viewport() const { return Viewport(*cameraFrame_, viewWidth_, viewHeight_); }

    // modelDirectory followed by fileName.
    std::string modelPath(std::string_view fileName) const;
    ModelLibrary& models() { return models_; }

private:
    std::string modelDirectory_;
    std::shared_ptr<Frame> sceneFrame_;
    std::shared_ptr<Frame> cameraFrame_;
    std::shared_ptr<Frame> worldFrame_;
    Colour background_ = 0xFF000000;
    int viewWidth_ = 1;
    int viewHeight_ = 1;
    ModelLibrary models_;
};

}  // namespace vokta
