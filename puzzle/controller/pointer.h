#pragma once

#include <array>

#include "puzzle/rules/cell.h"

namespace vokta {

// Mouse key-state flags, as the window reports them with every mouse event.
inline constexpr int kMouseLeft = 1;
inline constexpr int kMouseRight = 2;
inline constexpr int kMouseShift = 4;
inline constexpr int kMouseControl = 8;
inline constexpr int kMouseMiddle = 16;

// The cell steps a drag can take, indexed by the drag direction; 0 is none.
inline constexpr std::array<Cell, 7> kDragDirections{{
    {0, 0, 0},
    {10, 0, 0},
    {-10, 0, 0},
    {0, 10, 0},
    {0, -10, 0},
    {0, 0, 10},
    {0, 0, -10},
}};
inline constexpr int kDragDirectionCount = 7;

// Where a drag step to a neighbouring cell shows on the screen (see
// projectDragPoints): for the piece itself (index 0) its projected centre;
// for a step, its projected offset from that centre and the angle of that
// offset, atan2(dx, dy).
struct DragPoint {
    float x = 0.0f;
    float y = 0.0f;
    float angle = 0.0f;
};

// The mouse as the game last saw it, and the drag it is making.
struct PointerState {
    // The last mouse event: client position and key-state flags.
    int mouseX = 0;
    int mouseY = 0;
    int mouseKeys = 0;
    // Anchor of the current drag: set at every press, moved along by camera drags.
    int pressX = 0;
    int pressY = 0;
    // The drag direction last chosen (an index into kDragDirections, 0 for
    // none) and where its steps show on the screen.
    int dragDirection = 0;
    std::array<DragPoint, kDragDirectionCount> dragPoints{};
};

}  // namespace vokta
