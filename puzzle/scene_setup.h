#pragma once

#include <cstddef>
#include <string>

namespace vokta {

class Game;

// Fills the empty scene: lights, the camera's home pose, background, floor,
// task figure, the seven pieces scattered at random (the generator seeded with
// seed), the built-in task, the direction marker and the six rollers, parked;
// all in the scene's display options.
void setUpScene(Game& game, unsigned seed);

// The camera back at its start-up pose, looking at the origin from (100, 100,
// 100) with z up, and still.
void resetView(Game& game);

// Hides the task figure and scatters the pieces, so the player can build freely.
void newTask(Game& game);

// Releases the selection and drops the pieces in play from random cells 10 to
// 50 units up (see scatterPieces of the state).
void scatterPieces(Game& game);

// The parts of the model file the game copies many times (the pieces' cube
// 28 times, the figure's 27, the roller 7) may each hold at most this much,
// so that no model file can make the game's memory grow beyond bounds.
inline constexpr std::size_t kMaxPartVertices = 2048;
inline constexpr std::size_t kMaxPartFaces = 512;
inline constexpr std::size_t kMaxPartCorners = 2048;

// Checks that the model file at path loads, holds every frame and mesh the
// game looks up, and that none of them is too large to copy; otherwise says
// what is wrong, naming the file (and the line, for a part too large).
std::string verifyModelFile(const std::string& path);

}  // namespace vokta
