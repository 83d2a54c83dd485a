#pragma once

#include <memory>
#include <vector>

#include "render/frame.h"

namespace vokta {

// A directional light as the shader needs it: the unit direction it shines
// along, in world coordinates, and its colour.
struct DirectionalLight {
    Vec3 direction;
    Vec3 colour;
};

// Every light of the scene lights every visual, wherever its frame hangs.
struct SceneLighting {
    Vec3 ambient;  // sum of the ambient lights
    std::vector<DirectionalLight> directional;
};

struct DrawItem {
    std::shared_ptr<MeshBuilder> mesh;
    Matrix4 toWorld;
};

// What one frame shows: the lights and every visual with its frame's world transform.
struct DrawList {
    SceneLighting lighting;
    std::vector<DrawItem> items;
};

// Walks the frame tree from root, parents before children, visuals in the
// order they were added. The list is refilled in place, so a renderer that
// keeps one reuses its storage from frame to frame.
void collectDrawList(const Frame& root, DrawList& list);

}  // namespace vokta
