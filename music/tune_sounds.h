#pragma once

#include "music/tune_player.h"
#include "puzzle/rules/sound_output.h"

namespace vokta {

// The game's sounds played through a TunePlayer: each cue compiles a new
// tune and hands it to the player with the calling sequence the cue needs.
class TuneSounds : public SoundOutput {
public:
    explicit TuneSounds(TunePlayer& player) : player_(player) {}

    void play(Cue cue) override;

private:
    TunePlayer& player_;
};

}  // namespace vokta
