#include "render/gl/draw_list.h"

namespace vokta {

namespace {

void collect(const Frame& frame, const Matrix4& parentToWorld, DrawList& list)
{
    const Matrix4 toWorld = frame.transform() * parentToWorld;
    for (const Light& light : frame.lights()) {
        const Vec3 colour{light.red, light.green, light.blue};
        if (light.type == Light::Type::Ambient) {
            list.lighting.ambient = list.lighting.ambient + colour;
        } else {
            // A directional light shines along its frame's z axis.
            const Vec3 direction = normalize(toWorld.row(2));
            if (modulus(direction) > 0.0f)
                list.lighting.directional.push_back({direction, colour});
        }
    }
    for (const std::shared_ptr<MeshBuilder>& visual : frame.visuals())
        list.items.push_back({visual, toWorld});
    for (const std::shared_ptr<Frame>& child : frame.children())
        collect(*child, toWorld, list);
}

}  // namespace

void collectDrawList(const Frame& root, DrawList& list)
{
    list.lighting.ambient = {};
    list.lighting.directional.clear();
    list.items.clear();
    Matrix4 rootParentToWorld;
    if (const Frame* parent = root.parent())
        rootParentToWorld = parent->worldTransform();
    collect(root, rootParentToWorld, list);
}

}  // namespace vokta
