#pragma once

#include "puzzle/controller/pointer.h"
#include "puzzle/controller/window_message.h"

namespace vokta {

class GameData;

// Camera speeds while a key is held.
inline constexpr float kCameraTurnSpeed = 0.1f;   // radians per tick
inline constexpr float kCameraMoveSpeed = 10.0f;  // units per tick
// Camera drags: radians per pixel of left-button motion; right-button motion moves one unit per pixel.
inline constexpr float kCameraDragTurn = 0.01f;

// Arrows yaw and move the camera, Page Up and Page Down pitch it, while held.
void cameraKeyDown(GameData& game, Key key);
// Clears the speed the key set.
void cameraKeyUp(GameData& game, Key key);
// With the left button alone: orbit by the pointer's motion since the drag
// anchor; with the right button alone: move along the line of sight. The
// anchor follows the pointer in every case.
void cameraDrag(GameData& game, int x, int y, int keys);

// A button pressed at client pixel (x, y), keys being the mouse key-state
// flags: a roller under the pointer turns the selected piece; else a piece
// under it is selected and either turned (right button alone) or made ready
// to be dragged; else the selection ends.
void pressOnScene(GameData& game, int x, int y, int keys);
// A left double click: rollers turn as for a press; on the selected piece it
// switches between move and turn mode; on another piece it selects it as a
// press does; on empty space it ends the selection.
void doubleClickOnScene(GameData& game, int x, int y, int keys);
// With the left button alone held in move mode: picks the grid step whose
// projection points most nearly at the pointer as the drag direction, turns
// the direction marker along it and follows the pointer.
void chooseDragDirection(GameData& game, int x, int y);
// Moves the selected piece cell by cell along the drag direction while the
// pointer is at least one projected step away from the piece on both screen
// axes; each step is tested, a refused one ends the call. Every step asks
// for the step sound.
void dragUpdate(GameData& game, int x, int y);
// Where the selected piece and its six neighbouring cells show on the screen.
void projectDragPoints(GameData& game);

}  // namespace vokta
