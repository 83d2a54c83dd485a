#pragma once

namespace vokta {

class GameData;

// Fills the empty scene: lights, the camera's home pose, background, floor,
// task figure, the seven pieces scattered at random (the generator seeded with
// seed), the built-in task, the direction marker and the six rollers, parked;
// all in the scene's display options.
void setUpScene(GameData& game, unsigned seed);

// The camera back at its start-up pose, looking at the origin from (100, 100,
// 100) with z up, and still.
void resetView(GameData& game);

// Hides the task figure and scatters the pieces, so the player can build freely.
void newTask(GameData& game);

// Releases the selection and drops the pieces in play from random cells 10 to
// 50 units up (see scatterPieces of the state).
void scatterPieces(GameData& game);

}  // namespace vokta
