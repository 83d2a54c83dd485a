#pragma once

#include "puzzle/rules/sound_output.h"

namespace vokta::web {

// The game's sounds in the page: the cues' tunes, compiled and played by the
// game's own player as on the desktop, synthesized by FluidSynth compiled to
// WebAssembly (js-synthesizer, which vokta-sound.js starts at the player's
// first gesture). Cues are skipped until then, and for good when the page
// has no sound.
SoundOutput& pageSound();

}  // namespace vokta::web
