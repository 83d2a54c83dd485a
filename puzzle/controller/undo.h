#pragma once

#include <cstdint>

#include "puzzle/controller/history.h"

namespace vokta {

class GameData;

GameSnapshot takeSnapshot(const GameData& game);
// Puts the game back exactly as the snapshot holds it: pieces falling then
// fall on from where they were; the scene, markers and menus follow. The
// scatter's generator runs on: a Retry after an undo scatters afresh.
void restoreSnapshot(GameData& game, const GameSnapshot& snapshot);

// Called by the routing after each input message it handled, with the game
// as it was before the message: records a step when the input changed the
// pieces (a move, a turn, a release, New, Retry or Load). A drag, from the
// press to the release of the left button, is one step however many cells it
// went.
void noteInput(GameData& game, const GameSnapshot& before);

// Undo and redo as the menu commands and keys do them; false when there was nothing to undo or redo.
bool undoStep(GameData& game);
bool redoStep(GameData& game);

// Starts an attempt at the task identified by key (see taskKey): at the
// game's start, New (key 0: a free build), Retry and Load.
void startTaskRun(GameData& game, std::uint64_t key);

}  // namespace vokta
