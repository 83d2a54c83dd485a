#pragma once

#include <string>

#include "puzzle/rules/game_state.h"
#include "puzzle/rules/palette.h"
#include "render/camera.h"
#include "shell/announcements.h"
#include "shell/places.h"

namespace vokta {

// The scene in words, as Describe gives it: the figure's size, then its
// layers from the floor up, each as rows of cells saying which piece fills
// each and which are still empty; then every piece not wholly in the
// figure and where it is.
Spoken describeScene(const GameState& state, const Camera& camera, const Palette& palette, Language language);

// A figure's size in cells: "3 wide, 3 deep, 3 high, 27 cells".
std::string figureSummary(const PlayerGrid& grid, Language language);

}  // namespace vokta
