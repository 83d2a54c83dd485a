#include "render/viewport.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "render/scene_object.h"

namespace vokta {

namespace {

struct Ray {
    Vec3 origin;
    Vec3 direction;
};

// Slab test: does the ray meet the box somewhere in [tMin, tMax]?
bool rayMeetsBox(const Ray& ray, Vec3 low, Vec3 high, float tMin, float tMax)
{
    const float origin[3] = {ray.origin.x, ray.origin.y, ray.origin.z};
    const float direction[3] = {ray.direction.x, ray.direction.y, ray.direction.z};
    const float lo[3] = {low.x, low.y, low.z};
    const float hi[3] = {high.x, high.y, high.z};
    for (int axis = 0; axis < 3; ++axis) {
        if (direction[axis] == 0.0f) {
            if (origin[axis] < lo[axis] || origin[axis] > hi[axis])
                return false;
            continue;
        }
        const float inverse = 1.0f / direction[axis];
        float t0 = (lo[axis] - origin[axis]) * inverse;
        float t1 = (hi[axis] - origin[axis]) * inverse;
        if (t0 > t1)
            std::swap(t0, t1);
        tMin = std::max(tMin, t0);
        tMax = std::min(tMax, t1);
        if (tMin > tMax)
            return false;
    }
    return true;
}

// Distance along the ray to triangle (a, b, c), either side facing; infinity when missed.
float rayHitsTriangle(const Ray& ray, Vec3 a, Vec3 b, Vec3 c)
{
    constexpr float kMiss = std::numeric_limits<float>::infinity();
    const Vec3 edge1 = b - a;
    const Vec3 edge2 = c - a;
    const Vec3 p = cross(ray.direction, edge2);
    const float determinant = dot(edge1, p);
    if (std::abs(determinant) < 1e-12f)
        return kMiss;
    const float inverse = 1.0f / determinant;
    const Vec3 s = ray.origin - a;
    const float u = dot(s, p) * inverse;
    if (u < 0.0f || u > 1.0f)
        return kMiss;
    const Vec3 q = cross(s, edge1);
    const float v = dot(ray.direction, q) * inverse;
    if (v < 0.0f || u + v > 1.0f)
        return kMiss;
    return dot(edge2, q) * inverse;
}

// Nearest hit of the ray on the mesh within [tMin, tMax]; infinity when none.
float rayHitsMesh(const Ray& ray, const MeshBuilder& mesh, float tMin, float tMax)
{
    float nearest = std::numeric_limits<float>::infinity();
    if (!rayMeetsBox(ray, mesh.boundsMin(), mesh.boundsMax(), tMin, tMax))
        return nearest;
    const std::vector<Vec3>& vertices = mesh.vertices();
    for (const MeshBuilder::Face& face : mesh.faces()) {
        const std::size_t corners = face.corners.size();
        for (std::size_t i = 1; i + 1 < corners; ++i) {
            const float t = rayHitsTriangle(ray, vertices[static_cast<std::size_t>(face.corners[0].vertex)],
                                            vertices[static_cast<std::size_t>(face.corners[i].vertex)],
                                            vertices[static_cast<std::size_t>(face.corners[i + 1].vertex)]);
            if (t >= tMin && t <= tMax && t < nearest)
                nearest = t;
        }
    }
    return nearest;
}

void collectHits(const Frame& frame, const Matrix4& parentToWorld, const Ray& worldRay, std::vector<Frame*>& path,
                 std::vector<Viewport::Hit>& hits)
{
    const Matrix4 toWorld = frame.transform() * parentToWorld;
    path.push_back(const_cast<Frame*>(&frame));
    if (!frame.visuals().empty()) {
        // The ray parameter survives an affine change of coordinates, so
        // distances found in the frame's own space are distances in the world.
        const Matrix4 toLocal = affineInverse(toWorld);
        const Ray local{transformPoint(toLocal, worldRay.origin), transformDirection(toLocal, worldRay.direction)};
        for (const std::shared_ptr<MeshBuilder>& visual : frame.visuals()) {
            const float t = rayHitsMesh(local, *visual, Viewport::kFrontPlane, Viewport::kBackPlane);
            if (std::isfinite(t))
                hits.push_back({t, visual, path});
        }
    }
    for (const std::shared_ptr<Frame>& child : frame.children())
        collectHits(*child, toWorld, worldRay, path, hits);
    path.pop_back();
}

// The extent, in pixels, that kField spans: the height, or three quarters of
// the width in a view narrower than 4:3 (compared in whole numbers, so a 4:3
// view is exactly its height).
float spannedExtent(int width, int height)
{
    return 3 * width < 4 * height ? static_cast<float>(width) * 0.75f : static_cast<float>(height);
}

}  // namespace

Viewport::Viewport(const Frame& camera, int width, int height)
    : cameraToWorld_(camera.worldTransform()),
      view_(affineInverse(cameraToWorld_)),
      width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      pixelScale_(spannedExtent(width_, height_) * 0.5f / kField)
{
}

Viewport::ScreenPoint Viewport::transform(Vec3 world) const
{
    const Vec3 v = transformPoint(view_, world);
    const float halfWidth = static_cast<float>(width_) * 0.5f;
    const float halfHeight = static_cast<float>(height_) * 0.5f;
    const float depthScale = kBackPlane / (kBackPlane - kFrontPlane);
    return {halfWidth * v.z + pixelScale_ * v.x, halfHeight * v.z - pixelScale_ * v.y, (v.z - kFrontPlane) * depthScale,
            v.z};
}

std::vector<Viewport::Hit> Viewport::pick(const Frame& root, float x, float y) const
{
    // With a view-space direction of unit depth, the ray parameter is the depth.
    const Vec3 viewDirection{(x - static_cast<float>(width_) * 0.5f) / pixelScale_,
                             (static_cast<float>(height_) * 0.5f - y) / pixelScale_, 1.0f};
    const Ray ray{cameraToWorld_.translationPart(), transformDirection(cameraToWorld_, viewDirection)};
    std::vector<Hit> hits;
    std::vector<Frame*> path;
    Matrix4 rootParentToWorld;
    if (const Frame* parent = root.parent())
        rootParentToWorld = parent->worldTransform();
    collectHits(root, rootParentToWorld, ray, path, hits);
    std::stable_sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) { return a.depth < b.depth; });
    return hits;
}

SceneObject* pickObject(const Viewport& viewport, const Frame& root, float x, float y, std::string_view prefix)
{
    for (const Viewport::Hit& hit : viewport.pick(root, x, y)) {
        SceneObject* object = hit.path.back()->appData();
        if (object && object->name().starts_with(prefix))
            return object;
    }
    return nullptr;
}

}  // namespace vokta
