#include "music/sdl_audio_output.h"

#include <SDL.h>

#ifdef VOKTA_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif

#include "music/synth_midi_stream.h"

namespace vokta {
namespace {

#ifdef VOKTA_HAVE_ALSA
// ALSA prints a screenful to stderr when there is no sound card; SDL's own
// error says it in one line.
void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}
#endif

}  // namespace

void SdlAudioOutput::renderCallback(void* userdata, std::uint8_t* stream, int bytes)
{
    const int frames = bytes / static_cast<int>(2 * sizeof(float));
    const Source& source = *static_cast<const Source*>(userdata);
    float* samples = reinterpret_cast<float*>(stream);
    source.stream->renderAudio(samples, frames);
    if (source.tap)
        source.tap(samples, frames);
}

SdlAudioOutput::~SdlAudioOutput()
{
    if (device_ != 0)
        SDL_CloseAudioDevice(device_);
    if (subsystemStarted_)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

std::string SdlAudioOutput::open(SynthMidiStream& stream, BlockTap tap)
{
    if (device_ != 0)
        return "the audio device is already open";
    source_ = {&stream, std::move(tap)};
#ifdef VOKTA_HAVE_ALSA
    snd_lib_error_set_handler(ignoreAlsaError);
#endif
    if (!subsystemStarted_) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            return std::string("no audio: ") + SDL_GetError();
        subsystemStarted_ = true;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = kSampleRate;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = 2;
    wanted.samples = kFramesPerCallback;
    wanted.callback = renderCallback;
    wanted.userdata = &source_;
    // No changes allowed: SDL converts to whatever the device wants, so the
    // callback always gets 48 kHz float stereo in blocks of 512 frames.
    SDL_AudioSpec obtained{};
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device_ == 0)
        return std::string("no audio device: ") + SDL_GetError();
    SDL_PauseAudioDevice(device_, 0);
    return {};
}

}  // namespace vokta
