#pragma once

namespace vokta {

class Game;

// The keys the game reacts to, whatever the window system calls them.
enum class Key { Other, Left, Right, Up, Down, PageUp, PageDown, Enter, Escape };

// Camera speeds while a key is held.
inline constexpr float kCameraTurnSpeed = 0.1f;   // radians per tick
inline constexpr float kCameraMoveSpeed = 10.0f;  // units per tick
// Camera drags: radians per pixel of left-button motion; right-button motion moves one unit per pixel.
inline constexpr float kCameraDragTurn = 0.01f;

// Arrows yaw and move the camera, Page Up and Page Down pitch it, while held.
void cameraKeyDown(Game& game, Key key);
// Clears the speed the key set.
void cameraKeyUp(Game& game, Key key);
// With the left button alone: orbit by the pointer's motion since the drag
// anchor; with the right button alone: move along the line of sight. The
// anchor follows the pointer in every case.
void cameraDrag(Game& game, int x, int y, int keys);

// Window input, routed to the camera while nothing is selected. Positions are
// client pixels; keys are the mouse key-state flags.
void OnKeyDown(Game& game, Key key);
void OnKeyUp(Game& game, Key key);
// Digits '1' to '7' select pieces; other characters do nothing.
void OnChar(Game& game, char character);
void OnButtonDown(Game& game, int x, int y, int keys);
void OnButtonUp(Game& game, int x, int y, int keys);
void OnMouseMove(Game& game, int x, int y, int keys);

}  // namespace vokta
