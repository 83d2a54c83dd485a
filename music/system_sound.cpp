#include "music/system_sound.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "music/sound_backend.h"
#include "music/tune_player.h"
#include "music/tune_sounds.h"

namespace vokta {
namespace {

constexpr const char* kSoundVariable = "VOKTA_SOUND";

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

struct SystemSound::Parts {
    std::unique_ptr<SoundBackend> backend;  // outlives the player, which closes its stream
    TunePlayer player;
    TuneSounds sounds{player};
    bool audible = false;
};

SystemSound::SystemSound(SoundMode mode) : parts_(std::make_unique<Parts>())
{
    if (mode == SoundMode::Silent || soundSwitchedOff())
        return;

    std::string why;
    parts_->backend = openSoundBackend(why, reportSilence);
    if (!parts_->backend) {
        reportSilence(why);
        return;
    }
    parts_->audible = parts_->player.open(parts_->backend->stream());
    if (!parts_->audible)
        reportSilence(std::string("the MIDI stream did not open: ") + describe(parts_->player.lastResult()));
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
