#pragma once

#include <array>
#include <span>

#include "render/scene_object.h"

namespace vokta {

class Game;

inline constexpr int kMaxCells = 27;

// The built-in task, the 3 x 3 x 3 cube, x varying fastest, then y, then z.
// The figure stands at (0, 0, 10), so its cells fill z = 0, 10 and 20.
inline constexpr std::array<Vec3, kMaxCells> kBuiltInTask{{
    {-10, -10, -10}, {0, -10, -10}, {10, -10, -10}, {-10, 0, -10}, {0, 0, -10},    {10, 0, -10}, {-10, 10, -10},
    {0, 10, -10},    {10, 10, -10}, {-10, -10, 0},  {0, -10, 0},   {10, -10, 0},   {-10, 0, 0},  {0, 0, 0},
    {10, 0, 0},      {-10, 10, 0},  {0, 10, 0},     {10, 10, 0},   {-10, -10, 10}, {0, -10, 10}, {10, -10, 10},
    {-10, 0, 10},    {0, 0, 10},    {10, 0, 10},    {-10, 10, 10}, {0, 10, 10},    {10, 10, 10},
}};
inline constexpr Vec3 kBuiltInTaskPosition{0.0f, 0.0f, 10.0f};

// The target shape of the current task: up to 27 cells relative to the
// figure's position, shown as one cube per cell, white wire by default or
// solid on request.
class TaskFigure : public SceneObject {
public:
    explicit TaskFigure(Game& game);

    // Replaces the figure's mesh by one cube per cell and records the cells
    // (at most kMaxCells are taken). Position, view and colour are the caller's.
    void buildMesh(std::span<const Vec3> cells);
    // Puts back cells, position and mesh (null: hidden) as they were, keeping the view.
    void restore(const std::array<Vec3, kMaxCells>& cells, Vec3 position, std::shared_ptr<MeshBuilder> mesh);
    // Makes the built-in 3 x 3 x 3 cube the current task, in white.
    void buildDefault();
    // Solid: lit and flat shaded; otherwise an unlit wireframe. Remembered across rebuilds.
    void setSolid(bool solid);
    bool solid() const { return solid_; }

    // True when as many piece cubes stand exactly in cells as the task has cells.
    bool isCompleted() const;

    const std::array<Vec3, kMaxCells>& cells() const { return cells_; }

private:
    Game& game_;
    std::array<Vec3, kMaxCells> cells_{};
    bool solid_ = false;
};

}  // namespace vokta
