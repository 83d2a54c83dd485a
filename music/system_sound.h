#pragma once

#include <memory>
#include <string>

#include "puzzle/sound_output.h"

namespace vokta {

enum class SoundMode {
    Auto,    // the audio device, unless VOKTA_SOUND=off
    Silent,  // no device at all (tests, and VOKTA_SOUND=off)
};

// Where to find the soundfont: the file named by VOKTA_SOUNDFONT if that is
// set, else /usr/share/sounds/sf2/default-GM.sf2, else
// /usr/share/sounds/sf2/TimGM6mb.sf2. Returns the path, or an empty string
// and why in whyNot.
std::string findSoundfont(std::string& whyNot);

// The game's sound, created once by the shell after the start dialog and
// destroyed at exit. Creating it opens the MIDI stream (the player's open)
// on the default audio device and starts loading the soundfont in the
// background; destroying it tears the player down and closes the device.
// Without a device or a soundfont, or when the soundfont fails to load, the
// game runs silently after one line on stderr that says why; cues played
// before the soundfont has loaded are skipped.
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
