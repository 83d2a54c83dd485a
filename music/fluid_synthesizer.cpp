#include "music/fluid_synthesizer.h"

#include <fluidsynth.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>
#include <utility>

namespace vokta {
namespace {

constexpr const char* kSoundfontVariable = "VOKTA_SOUNDFONT";
constexpr const char* kSoundfonts[] = {
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
};

bool isFile(const char* path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

// FluidSynth's most recent error on this thread, to put into our own message.
thread_local std::string lastFluidError;

void keepFluidMessage(int level, const char* message, void*)
{
    if (level <= FLUID_ERR && message != nullptr)
        lastFluidError = message;
}

// FluidSynth hands a file that is not a SoundFont 2 to other loaders, which
// complain on stderr in their own words; such a file is refused first.
std::string checkSoundfontHeader(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return "cannot open soundfont " + path;
    char header[12] = {};
    file.read(header, sizeof header);
    if (!file || std::memcmp(header, "RIFF", 4) != 0 || std::memcmp(header + 8, "sfbk", 4) != 0) {
        return "soundfont " + path + " is not a SoundFont 2 file";
    }
    return {};
}

void quietFluidLog()
{
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level) {
            fluid_set_log_function(level, keepFluidMessage, nullptr);
        }
    });
}

}  // namespace

struct FluidSynthesizer::Impl {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    std::atomic<bool> ready{false};
    std::thread loader;

    std::string load(const std::string& path)
    {
        if (synth == nullptr)
            return "FluidSynth could not create a synthesizer";
        if (const std::string why = checkSoundfontHeader(path); !why.empty())
            return why;
        lastFluidError.clear();
        if (fluid_synth_sfload(synth, path.c_str(), 1) == FLUID_FAILED) {
            std::string why = "cannot load soundfont " + path;
            if (!lastFluidError.empty())
                why += " (" + lastFluidError + ")";
            return why;
        }
        ready.store(true);
        return {};
    }
};

FluidSynthesizer::FluidSynthesizer(int sampleRate) : impl_(std::make_unique<Impl>())
{
    quietFluidLog();
    impl_->settings = new_fluid_settings();
    if (impl_->settings == nullptr)
        return;
    fluid_settings_setnum(impl_->settings, "synth.sample-rate", sampleRate);
    fluid_settings_setnum(impl_->settings, "synth.gain", kGain);
    impl_->synth = new_fluid_synth(impl_->settings);
}

FluidSynthesizer::~FluidSynthesizer()
{
    if (impl_->loader.joinable())
        impl_->loader.join();
    if (impl_->synth != nullptr)
        delete_fluid_synth(impl_->synth);
    if (impl_->settings != nullptr)
        delete_fluid_settings(impl_->settings);
}

std::string FluidSynthesizer::loadSoundfont(const std::string& path)
{
    return impl_->load(path);
}

void FluidSynthesizer::loadSoundfontInBackground(std::string path, std::function<void(const std::string&)> onFailure)
{
    impl_->loader = std::thread([this, path = std::move(path), onFailure = std::move(onFailure)] {
        const std::string why = impl_->load(path);
        if (!why.empty() && onFailure)
            onFailure(why);
    });
}

bool FluidSynthesizer::isReady() const
{
    return impl_->ready.load();
}

void FluidSynthesizer::shortMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2)
{
    if (!isReady())
        return;
    fluid_synth_t* synth = impl_->synth;
    const int channel = status & 0x0F;
    switch (status & 0xF0) {
    case 0x80: fluid_synth_noteoff(synth, channel, data1); break;
    case 0x90: fluid_synth_noteon(synth, channel, data1, data2); break;
    case 0xA0: fluid_synth_key_pressure(synth, channel, data1, data2); break;
    case 0xB0: fluid_synth_cc(synth, channel, data1, data2); break;
    case 0xC0: fluid_synth_program_change(synth, channel, data1); break;
    case 0xD0: fluid_synth_channel_pressure(synth, channel, data1); break;
    case 0xE0: fluid_synth_pitch_bend(synth, channel, data1 | (data2 << 7)); break;
    default: break;
    }
}

void FluidSynthesizer::allNotesOff()
{
    if (isReady())
        fluid_synth_all_notes_off(impl_->synth, -1);
}

void FluidSynthesizer::render(float* out, int frames)
{
    if (!isReady()) {
        std::fill(out, out + 2 * frames, 0.0f);
        return;
    }
    fluid_synth_write_float(impl_->synth, frames, out, 0, 2, out, 1, 2);
}

int FluidSynthesizer::channelBank(int channel) const
{
    if (!isReady())
        return -1;
    int soundfont = 0;
    int bank = 0;
    int preset = 0;
    if (fluid_synth_get_program(impl_->synth, channel, &soundfont, &bank, &preset) != FLUID_OK)
        return -1;
    return bank;
}

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

}  // namespace vokta
