#pragma once

#include <functional>
#include <memory>
#include <string>

#include "music/midi_stream.h"

namespace vokta {

// The system's way of sounding, chosen when the game is built
// (VOKTA_SOUND_BACKEND): a MidiStream for the player to open, with whatever
// it plays through.
class SoundBackend {
public:
    virtual ~SoundBackend() = default;
    // Valid while the backend lives; the player closes it before then.
    virtual MidiStream& stream() = 0;
};

// Says why sound went off after the backend was made (a soundfont that
// failed to load in the background); may be called on another thread.
using SilenceReport = std::function<void(const std::string&)>;

// The build's backend, ready to sound; null, with why in whyNot, when it
// cannot be had.
std::unique_ptr<SoundBackend> openSoundBackend(std::string& whyNot, const SilenceReport& reportLater);

}  // namespace vokta
