#include "puzzle/input.h"

#include "puzzle/game.h"
#include "puzzle/selection.h"

namespace vokta {

void cameraKeyDown(Game& game, Key key)
{
    Camera& camera = game.camera;
    switch (key) {
    case Key::Left: camera.yawSpeed = kCameraTurnSpeed; break;
    case Key::Right: camera.yawSpeed = -kCameraTurnSpeed; break;
    case Key::Up: camera.moveSpeed = kCameraMoveSpeed; break;
    case Key::Down: camera.moveSpeed = -kCameraMoveSpeed; break;
    case Key::PageUp: camera.pitchSpeed = -kCameraTurnSpeed; break;
    case Key::PageDown: camera.pitchSpeed = kCameraTurnSpeed; break;
    default: break;
    }
}

void cameraKeyUp(Game& game, Key key)
{
    Camera& camera = game.camera;
    switch (key) {
    case Key::Left:
    case Key::Right: camera.yawSpeed = 0.0f; break;
    case Key::Up:
    case Key::Down: camera.moveSpeed = 0.0f; break;
    case Key::PageUp:
    case Key::PageDown: camera.pitchSpeed = 0.0f; break;
    default: break;
    }
}

void cameraDrag(Game& game, int x, int y, int keys)
{
    if (keys == kMouseLeft) {
        game.camera.yaw(static_cast<float>(x - game.pressX) * kCameraDragTurn);
        game.camera.pitch(static_cast<float>(game.pressY - y) * kCameraDragTurn);
    } else if (keys == kMouseRight) {
        game.camera.moveForward(static_cast<float>(y - game.pressY));
    }
    game.pressX = x;
    game.pressY = y;
}

void OnKeyDown(Game& game, Key key)
{
    if (!game.selectedPiece)
        cameraKeyDown(game, key);
}

void OnKeyUp(Game& game, Key key)
{
    // A camera key released while a piece is selected still stops the camera;
    // otherwise a key pressed before the selection would leave it spinning.
    cameraKeyUp(game, key);
    if (game.selectedPiece && (key == Key::Enter || key == Key::Escape))
        releaseSelection(game);
}

void OnChar(Game& game, char character)
{
    if (character >= '1' && character <= '7')
        selectPieceByIndex(game, kDigitKeyPieces[static_cast<std::size_t>(character - '1')]);
}

void OnButtonDown(Game& game, int x, int y, int keys)
{
    game.pressX = x;
    game.pressY = y;
    game.mouseX = x;
    game.mouseY = y;
    game.mouseKeys = keys;
}

void OnButtonUp(Game& game, int x, int y, int keys)
{
    game.mouseX = x;
    game.mouseY = y;
    game.mouseKeys = keys;
}

void OnMouseMove(Game& game, int x, int y, int keys)
{
    game.mouseX = x;
    game.mouseY = y;
    game.mouseKeys = keys;
    if (!game.selectedPiece)
        cameraDrag(game, x, y, keys);
}

}  // namespace vokta
