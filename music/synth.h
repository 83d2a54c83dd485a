#pragma once

#include <cstdint>

namespace vokta {

// The synthesizer a StreamScheduler plays into, cut down to what the
// scheduler needs so it can be driven by a fake in tests.
class Synth {
public:
    virtual ~Synth() = default;

    // False while the synthesizer cannot sound yet (its instruments are
    // still loading) or never will (they failed to load).
    virtual bool isReady() const = 0;

    // A channel message: status byte 0x80-0xEF and its data bytes.
    virtual void shortMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) = 0;

    // Note off for every sounding note on every channel.
    virtual void allNotesOff() = 0;

    // Writes frames of interleaved stereo samples to out, overwriting it.
    virtual void render(float* out, int frames) = 0;
};

}  // namespace vokta
