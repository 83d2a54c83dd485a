#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace vokta {

class SynthMidiStream;

// The audio device: SDL2's audio subsystem alone, 48 kHz float stereo,
// whose callback renders a SynthMidiStream.
class SdlAudioOutput {
public:
    static constexpr int kSampleRate = 48000;
    static constexpr int kFramesPerCallback = 512;

    SdlAudioOutput() = default;
    SdlAudioOutput(const SdlAudioOutput&) = delete;
    SdlAudioOutput& operator=(const SdlAudioOutput&) = delete;
    // Closes the device (its callback has returned once this is done).
    ~SdlAudioOutput();

    // Sees every block of frames (interleaved stereo) on its way to the
    // device, on the audio thread; for measurements.
    using BlockTap = std::function<void(const float* samples, int frames)>;

    // Opens the default audio device and starts rendering stream, which must
    // outlive the device. Returns why it failed, or an empty string.
    std::string open(SynthMidiStream& stream, BlockTap tap = {});

private:
    static void renderCallback(void* userdata, std::uint8_t* stream, int bytes);

    struct Source {
        SynthMidiStream* stream;
        BlockTap tap;
    };

    Source source_{};
    std::uint32_t device_ = 0;
    bool subsystemStarted_ = false;
};

}  // namespace vokta
