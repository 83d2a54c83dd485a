#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "render/matrix.h"
#include "render/mesh_builder.h"

namespace vokta {

class SceneObject;

struct Light {
    enum class Type { Ambient, Directional };  // a directional light shines along its frame's z axis
    Type type = Type::Ambient;
    float red = 1.0f;
    float green = 1.0f;
    float blue = 1.0f;
};

// A node of the scene: a transform relative to its parent, ordered children,
// visuals in insertion order, lights, and a pointer back to the scene object
// that owns it. Frames are shared: a parent holds its children, and whoever
// keeps a frame keeps it alive.
class Frame : public std::enable_shared_from_this<Frame> {
public:
    // A new frame at the parent's origin with the parent's orientation; no parent: a root.
    static std::shared_ptr<Frame> create(const std::shared_ptr<Frame>& parent = nullptr);

    // Children that outlive their parent are left without one.
    ~Frame();
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;

    const std::string& name() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }

    Frame* parent() const { return parent_; }
    const std::vector<std::shared_ptr<Frame>>& children() const { return children_; }
    // Moves child under this frame (out of any other parent), keeping its own transform.
    void addChild(const std::shared_ptr<Frame>& child);
    void deleteChild(const Frame* child);

    // Transform from this frame's coordinates to its parent's.
    const Matrix4& transform() const { return transform_; }
    void setTransform(const Matrix4& transform) { transform_ = transform; }
    // Transform from this frame's coordinates to the root's.
    Matrix4 worldTransform() const;

    // Places the frame's origin at position, given in reference's coordinates
    // (null: the root's). The orientation is kept.
    void setPosition(const Frame* reference, Vec3 position);
    // Points the frame's z axis along direction and its y axis towards up,
    // both given in reference's coordinates (null: the root's). The position is kept.
    void setOrientation(const Frame* reference, Vec3 direction, Vec3 up);
    // Turns the frame by theta radians about axis after its current transform,
    // that is about its parent's origin: a frame away from that origin swings
    // around it. Quarter turns stay exact.
    void addRotation(Vec3 axis, float theta);
    Vec3 position() const { return transform_.translationPart(); }

    void addVisual(std::shared_ptr<MeshBuilder> visual);
    void deleteVisual(const MeshBuilder* visual);
    const std::vector<std::shared_ptr<MeshBuilder>>& visuals() const { return visuals_; }

    void addLight(const Light& light) { lights_.push_back(light); }
    const std::vector<Light>& lights() const { return lights_; }

    SceneObject* appData() const { return appData_; }
    void setAppData(SceneObject* object) { appData_ = object; }

private:
    Frame() = default;
    Matrix4 referenceToParent(const Frame* reference) const;

    std::string name_;
    Frame* parent_ = nullptr;
    std::vector<std::shared_ptr<Frame>> children_;
    Matrix4 transform_;
    std::vector<std::shared_ptr<MeshBuilder>> visuals_;
    std::vector<Light> lights_;
    SceneObject* appData_ = nullptr;
};

// Names are read into a buffer of this many bytes, terminator included: a
// longer name never matches a name sought.
inline constexpr std::size_t kNameBufferBytes = 80;

// True when candidate fits the name buffer and equals sought byte for byte.
inline bool nameMatches(const std::string& candidate, std::string_view sought)
{
    return candidate.size() < kNameBufferBytes && candidate == sought;
}

// The first frame below root whose name equals name (see nameMatches), searching depth first,
// parents before their children, children in order; root itself is not compared.
std::shared_ptr<Frame> findFrame(const Frame& root, std::string_view name);

}  // namespace vokta
