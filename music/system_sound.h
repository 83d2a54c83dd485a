#pragma once

#include <memory>

#include "puzzle/rules/sound_output.h"

namespace vokta {

enum class SoundMode {
    Auto,    // the audio device, unless VOKTA_SOUND=off
    Silent,  // no device at all (tests, and VOKTA_SOUND=off)
};

// The game's sound, created once by the shell after the start dialog and
// destroyed at exit. Creating it sets up the build's sound backend (see
// sound_backend.h) and opens its MIDI stream (the player's open);
// destroying it tears the player down and closes the stream and the device.
// With FluidSynth it plays on the default audio device and loads the
// soundfont in the background, skipping cues played before that has loaded;
// on Windows it plays through the system's MIDI output. When sound cannot
// be had (no device, no soundfont, one that fails to load, no MIDI output)
// the game runs silently after one line on stderr that says why.
class SystemSound {
public:
    explicit SystemSound(SoundMode mode = SoundMode::Auto);
    ~SystemSound();
    SystemSound(const SystemSound&) = delete;
    SystemSound& operator=(const SystemSound&) = delete;

    // What the rules play their cues on; valid while this object lives.
    SoundOutput& output();

    // True when cues go to an audio device (they are still skipped while
    // the soundfont loads, or if it fails to).
    bool audible() const;

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

}  // namespace vokta
