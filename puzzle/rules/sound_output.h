#pragma once

namespace vokta {

// The game's sounds, named by what happened rather than by tune text: the
// sound module owns the tune texts, their channels and the calling sequence
// each one needs.
enum class Cue {
    Refusal,  // a placement was refused
    Step,     // a mouse drag moved the selected piece one cell
    Fanfare,  // the task was completed
};

// Where the rules send their sounds. The game plays them through the MIDI
// player of the sound module, which implements this; tests record them.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    virtual void play(Cue cue) = 0;
};

}  // namespace vokta
