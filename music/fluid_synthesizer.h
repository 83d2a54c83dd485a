#pragma once

#include <functional>
#include <memory>
#include <string>

#include "music/synth.h"

namespace vokta {

// Where to find the soundfont: the file named by VOKTA_SOUNDFONT if that is
// set, else /usr/share/sounds/sf2/default-GM.sf2, else
// /usr/share/sounds/sf2/TimGM6mb.sf2. Returns the path, or an empty string
// and why in whyNot.
std::string findSoundfont(std::string& whyNot);

// A Synth on FluidSynth with a General MIDI soundfont. Channel 9 is the
// percussion channel (FluidSynth's default drum channel, bank 128).
// FluidSynth's own log messages are kept out of stderr; failures come back
// as messages from the calls below instead.
class FluidSynthesizer : public Synth {
public:
    static constexpr float kGain = 0.6f;

    explicit FluidSynthesizer(int sampleRate);
    // Waits for a background load still in progress.
    ~FluidSynthesizer() override;

    // Loads a soundfont now; returns why it failed, or an empty string.
    std::string loadSoundfont(const std::string& path);

    // Loads a soundfont on a background thread so the caller never waits;
    // isReady turns true once it has loaded. On failure onFailure is called,
    // on that thread, with why. Call at most once, and not with loadSoundfont.
    void loadSoundfontInBackground(std::string path, std::function<void(const std::string&)> onFailure);

    bool isReady() const override;
    void shortMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override;
    void allNotesOff() override;
    // Silence until the soundfont has loaded.
    void render(float* out, int frames) override;

    // The bank of the preset a channel plays: 128 for percussion, -1 while
    // no soundfont is loaded.
    int channelBank(int channel) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace vokta
