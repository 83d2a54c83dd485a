#include "music/fluid_synthesizer.h"
#include "music/sdl_audio_output.h"
#include "music/sound_backend.h"
#include "music/synth_midi_stream.h"

namespace vokta {
namespace {

// FluidSynth synthesizes from a General MIDI soundfont, SDL2 plays. Declared
// in the order they are built; destroyed in reverse, so the device stops
// calling back before the stream goes, and both go before the synthesizer.
class FluidSoundBackend : public SoundBackend {
public:
    FluidSoundBackend(std::unique_ptr<FluidSynthesizer> synth, std::unique_ptr<SynthMidiStream> stream,
                      std::unique_ptr<SdlAudioOutput> device)
        : synth_(std::move(synth)), stream_(std::move(stream)), device_(std::move(device))
    {
    }

    MidiStream& stream() override { return *stream_; }

private:
    std::unique_ptr<FluidSynthesizer> synth_;
    std::unique_ptr<SynthMidiStream> stream_;
    std::unique_ptr<SdlAudioOutput> device_;
};

}  // namespace

std::unique_ptr<SoundBackend> openSoundBackend(std::string& whyNot, const SilenceReport& reportLater)
{
    const std::string soundfont = findSoundfont(whyNot);
    if (soundfont.empty())
        return nullptr;
    auto synth = std::make_unique<FluidSynthesizer>(SdlAudioOutput::kSampleRate);
    auto stream = std::make_unique<SynthMidiStream>(*synth, SdlAudioOutput::kSampleRate);
    auto device = std::make_unique<SdlAudioOutput>();
    whyNot = device->open(*stream);
    if (!whyNot.empty())
        return nullptr;
    synth->loadSoundfontInBackground(soundfont, reportLater);
    return std::make_unique<FluidSoundBackend>(std::move(synth), std::move(stream), std::move(device));
}

}  // namespace vokta
