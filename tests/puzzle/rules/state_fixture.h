#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "puzzle/rules/game_state.h"
#include "puzzle/rules/sound_output.h"

namespace vokta::testing {

class RecordingSound : public SoundOutput {
public:
    void play(Cue cue) override { cues.push_back(cue); }
    long count(Cue cue) const { return std::count(cues.begin(), cues.end(), cue); }

    std::vector<Cue> cues;
};

// The rules alone, without a scene or the model file: the seven pieces in
// play, at rest far apart on the floor, away from the middle.
class StateFixture : public ::testing::Test {
protected:
    StateFixture()
    {
        state.pieceCount = kPieceTotal;
        for (int i = 0; i < kPieceTotal; ++i) {
            build(piece(i), i);
            piece(i).position = {-90 + 30 * i, 90, 0};
        }
    }

    PieceState& piece(int index) { return state.piece(index); }
    bool placeable(int index) { return isPlaceable(state, index, sound); }

    RecordingSound sound;
    GameState state;
};

}  // namespace vokta::testing
