#include "puzzle/scene/markers.h"

namespace vokta {

namespace {

// One row of the roller table: where a roller stands relative to the piece
// and how it lies, given the signed marker distances towards the camera.
struct RollerPlacement {
    Vec3 position;
    Vec3 direction;
    Vec3 up;
    int axis;
    bool positive;
};

std::array<RollerPlacement, kRollerCount> rollerPlacements(float sx, float sy, float sz)
{
    const bool zy = (sz > 0) == (sy > 0);
    const bool zx = (sz > 0) == (sx > 0);
    const bool yx = (sy > 0) == (sx > 0);
    return {{
        {{0, 0, sz}, {sx, 0, 0}, {0, sy, 0}, 0, zy},
        {{0, sy, 0}, {sx, 0, 0}, {0, 0, sz}, 0, !zy},
        {{sx, 0, 0}, {0, sy, 0}, {0, 0, sz}, 1, zx},
        {{0, 0, sz}, {0, sy, 0}, {sx, 0, 0}, 1, !zx},
        {{sx, 0, 0}, {0, 0, sz}, {0, sy, 0}, 2, !yx},
        {{0, sy, 0}, {0, 0, sz}, {sx, 0, 0}, 2, yx},
    }};
}

}  // namespace

void placeRollers(GameScene& view, const GameState& state)
{
    if (state.selected >= 0 && state.selectionMode == SelectionMode::Turn) {
        const Vec3 p = toVec3(state.piece(state.selected).position);
        const Vec3 c = view.camera.position();
        // A tie counts as the camera's side being positive.
        const float sx = c.x >= p.x ? kMarkerDistance : -kMarkerDistance;
        const float sy = c.y >= p.y ? kMarkerDistance : -kMarkerDistance;
        const float sz = c.z >= p.z ? kMarkerDistance : -kMarkerDistance;
        const auto placements = rollerPlacements(sx, sy, sz);
        for (std::size_t i = 0; i < placements.size(); ++i) {
            Roller& roller = *view.rollers[i];
            roller.setPosition(p + placements[i].position);
            roller.setOrientation(placements[i].direction, placements[i].up);
            roller.axis = placements[i].axis;
            roller.positive = placements[i].positive;
        }
    } else {
        for (const auto& roller : view.rollers)
            roller->setPosition(kParkingPosition);
    }
}

}  // namespace vokta
