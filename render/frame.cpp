#include "render/frame.h"

#include <algorithm>

namespace vokta {

std::shared_ptr<Frame> Frame::create(const std::shared_ptr<Frame>& parent)
{
    std::shared_ptr<Frame> frame(new Frame());
    if (parent)
        parent->addChild(frame);
    return frame;
}

Frame::~Frame()
{
    for (const std::shared_ptr<Frame>& child : children_)
        child->parent_ = nullptr;
}

void Frame::addChild(const std::shared_ptr<Frame>& child)
{
    if (!child || child.get() == this)
        return;
    // Hold the child while it changes parents: the old parent may own the last reference.
    const std::shared_ptr<Frame> keep = child;
    if (child->parent_)
        child->parent_->deleteChild(child.get());
    child->parent_ = this;
    children_.push_back(keep);
}

void Frame::deleteChild(const Frame* child)
{
    const auto found = std::find_if(children_.begin(), children_.end(),
                                    [child](const std::shared_ptr<Frame>& c) { return c.get() == child; });
    if (found == children_.end())
        return;
    (*found)->parent_ = nullptr;
    children_.erase(found);
}

Matrix4 Frame::worldTransform() const
{
    Matrix4 result = transform_;
    for (const Frame* above = parent_; above; above = above->parent_)
        result = result * above->transform_;
    return result;
}

Matrix4 Frame::referenceToParent(const Frame* reference) const
{
    const Matrix4 referenceToRoot = reference ? reference->worldTransform() : Matrix4::identity();
    const Matrix4 rootToParent = parent_ ? affineInverse(parent_->worldTransform()) : Matrix4::identity();
    return referenceToRoot * rootToParent;
}

void Frame::setPosition(const Frame* reference, Vec3 position)
{
    // Scene objects place their frames relative to the parent itself: no conversion needed.
    if (reference == parent_ && reference) {
        transform_.setTranslation(position);
        return;
    }
    transform_.setTranslation(transformPoint(referenceToParent(reference), position));
}

void Frame::setOrientation(const Frame* reference, Vec3 direction, Vec3 up)
{
    const Matrix4 toParent = referenceToParent(reference);
    const Matrix4 axes =
        Matrix4::orientation(transformDirection(toParent, direction), transformDirection(toParent, up));
    const Vec3 position = transform_.translationPart();
    transform_ = axes;
    transform_.setTranslation(position);
}

void Frame::addRotation(Vec3 axis, float theta)
{
    transform_ = transform_ * Matrix4::rotation(axis, theta);
}

void Frame::addVisual(std::shared_ptr<MeshBuilder> visual)
{
    if (visual)
        visuals_.push_back(std::move(visual));
}

void Frame::deleteVisual(const MeshBuilder* visual)
{
    const auto found = std::find_if(visuals_.begin(), visuals_.end(),
                                    [visual](const std::shared_ptr<MeshBuilder>& v) { return v.get() == visual; });
    if (found != visuals_.end())
        visuals_.erase(found);
}

std::shared_ptr<Frame> findFrame(const Frame& root, std::string_view name)
{
    for (const std::shared_ptr<Frame>& child : root.children()) {
        if (nameMatches(child->name(), name))
            return child;
        if (std::shared_ptr<Frame> found = findFrame(*child, name))
            return found;
    }
    return nullptr;
}

}  // namespace vokta
