#include "puzzle/turns.h"

#include "puzzle/game.h"
#include "puzzle/scene_setup.h"

namespace vokta {

QuarterTurn quarterTurn(int axis, int sense)
{
    const float s = sense < 0 ? -1.0f : 1.0f;
    QuarterTurn turn{Matrix4::identity(), {}, -s * kHalfPi};
    Matrix4& m = turn.matrix;
    switch (axis) {
    case 0:
        turn.axis = {1, 0, 0};
        m.setRow(1, {0, 0, -s});
        m.setRow(2, {0, s, 0});
        break;
    case 1:
        turn.axis = {0, 1, 0};
        m.setRow(0, {0, 0, s});
        m.setRow(2, {-s, 0, 0});
        break;
    default:
        turn.axis = {0, 0, 1};
        m.setRow(0, {0, -s, 0});
        m.setRow(1, {s, 0, 0});
        break;
    }
    return turn;
}

bool turnQuarter(Game& game, Piece& piece, const Matrix4& matrix, Vec3 axis, float angle)
{
    const CubeOffsets saved = piece.offsets;
    for (Vec3& offset : piece.offsets)
        transformPoint(offset, offset, matrix);
    if (!piece.isPlaceable()) {
        piece.offsets = saved;
        return false;
    }
    // The frame turns about its parent's origin, so it visits the origin for
    // the turn: the piece position is the pivot and does not change.
    const Vec3 position = piece.position();
    piece.setPosition(0, 0, 0);
    piece.frame()->addRotation(axis, angle);
    piece.setPosition(position);
    updateShadows(game);
    game.scene.sceneDirty = true;
    return true;
}

}  // namespace vokta
