#include "puzzle/rules/turns.h"

namespace vokta {

Rotation quarterTurn(int axis, int sense)
{
    const int s = sense < 0 ? -1 : 1;
    Rotation turn;
    switch (axis) {
    case 0:
        turn.rows[1] = {0, 0, -s};
        turn.rows[2] = {0, s, 0};
        break;
    case 1:
        turn.rows[0] = {0, 0, s};
        turn.rows[2] = {-s, 0, 0};
        break;
    default:
        turn.rows[0] = {0, -s, 0};
        turn.rows[1] = {s, 0, 0};
        break;
    }
    return turn;
}

}  // namespace vokta
