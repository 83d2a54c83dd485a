#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "render/frame.h"

namespace vokta {

class SceneObject;

// The camera's view mapped onto a window's client area, in the same pixels as
// the mouse: what the renderer draws and what picking hits agree by
// construction. The view spans a half-extent of kField at unit distance across
// its height (about 53 degrees), between the front and back clipping planes;
// a view narrower than 4:3 (a phone held upright) spans across its width
// what a 4:3 view does, so that the floor stays in sight whichever way the
// screen is held.
class Viewport {
public:
    static constexpr float kField = 0.5f;
    static constexpr float kFrontPlane = 1.0f;
    static constexpr float kBackPlane = 2000.0f;

    // Homogeneous screen point: x / w and y / w are client pixels, w is the
    // depth along the line of sight, z / w the depth scaled to 0 (front) .. 1 (back).
    struct ScreenPoint {
        float x, y, z, w;
    };

    struct Hit {
        float depth;                          // along the line of sight, model units
        std::shared_ptr<MeshBuilder> visual;  // the visual hit
        std::vector<Frame*> path;             // frames from the root down to the one holding the visual
    };

    Viewport(const Frame& camera, int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    // Pixels per model unit at unit distance.
    float pixelScale() const { return pixelScale_; }
    // World coordinates to the camera's own (x right, y up, z along the view).
    const Matrix4& view() const { return view_; }

    ScreenPoint transform(Vec3 world) const;

    // Every visual below root under client pixel (x, y) between the clipping
    // planes, nearest first; each visual appears once, at its nearest hit.
    std::vector<Hit> pick(const Frame& root, float x, float y) const;

private:
    Matrix4 cameraToWorld_;
    Matrix4 view_;
    int width_;
    int height_;
    float pixelScale_;
};

// The scene object under client pixel (x, y) whose name starts with prefix:
// the first hit, nearest first, whose visual's frame leads back to a scene
// object with such a name. Frames that lead to no object (the floor, the task
// figure, parts of loaded models) are passed over, and so are objects of other
// names, even when they are nearer. Null when none matches.
SceneObject* pickObject(const Viewport& viewport, const Frame& root, float x, float y, std::string_view prefix);

}  // namespace vokta
