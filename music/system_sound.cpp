#include "music/system_sound.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "music/fluid_synthesizer.h"
#include "music/sdl_audio_output.h"
#include "music/synth_midi_stream.h"
#include "music/tune_player.h"
#include "music/tune_sounds.h"

namespace vokta {
namespace {

constexpr const char* kSoundfontVariable = "VOKTA_SOUNDFONT";
constexpr const char* kSoundVariable = "VOKTA_SOUND";
constexpr const char* kSoundfonts[] = {
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
};

bool isFile(const char* path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

bool soundSwitchedOff()
{
    const char* value = std::getenv(kSoundVariable);
    return value != nullptr && (std::strcmp(value, "off") == 0 || std::strcmp(value, "0") == 0);
}

void reportSilence(const std::string& why)
{
    std::fprintf(stderr, "vokta: sound off: %s\n", why.c_str());
}

}  // namespace

std::string findSoundfont(std::string& whyNot)
{
    const char* chosen = std::getenv(kSoundfontVariable);
    if (chosen != nullptr && *chosen != '\0') {
        if (isFile(chosen))
            return chosen;
        whyNot = std::string(kSoundfontVariable) + " names " + chosen + ", which is not a file";
        return {};
    }
    for (const char* path : kSoundfonts) {
        if (isFile(path))
            return path;
    }
    whyNot = std::string("no soundfont at ") + kSoundfonts[0] + " or " + kSoundfonts[1] + "; set " + kSoundfontVariable;
    return {};
}

// Declared in the order they are built; destroyed in reverse, so the player's
// teardown closes the stream before the device stops calling back, and both
// go before the synthesizer.
struct SystemSound::Parts {
    std::unique_ptr<FluidSynthesizer> synth;
    std::unique_ptr<SynthMidiStream> stream;
    std::unique_ptr<SdlAudioOutput> device;
    TunePlayer player;
    TuneSounds sounds{player};
    bool audible = false;
};

SystemSound::SystemSound(SoundMode mode) : parts_(std::make_unique<Parts>())
{
    if (mode == SoundMode::Silent || soundSwitchedOff())
        return;

    std::string why;
    const std::string soundfont = findSoundfont(why);
    if (soundfont.empty()) {
        reportSilence(why);
        return;
    }
    auto synth = std::make_unique<FluidSynthesizer>(SdlAudioOutput::kSampleRate);
    auto stream = std::make_unique<SynthMidiStream>(*synth, SdlAudioOutput::kSampleRate);
    auto device = std::make_unique<SdlAudioOutput>();
    why = device->open(*stream);
    if (!why.empty()) {
        reportSilence(why);
        return;
    }
    synth->loadSoundfontInBackground(soundfont, reportSilence);
    parts_->synth = std::move(synth);
    parts_->stream = std::move(stream);
    parts_->device = std::move(device);
    parts_->audible = parts_->player.open(*parts_->stream);
    if (!parts_->audible)
        reportSilence("the MIDI stream did not open");
}

SystemSound::~SystemSound() = default;

SoundOutput& SystemSound::output()
{
    return parts_->sounds;
}

bool SystemSound::audible() const
{
    return parts_->audible;
}

}  // namespace vokta
