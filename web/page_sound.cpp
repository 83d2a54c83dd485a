// The page's sound: the tune player and the stream of the desktop game, the
// stream on the page's one thread, and a Synth that hands every message to
// js-synthesizer through vokta-sound.js. The page renders the stream block
// by block as its audio worklet asks for the next (vokta_sound_render).

#include "web/page_sound.h"

#include <emscripten/emscripten.h>

#include <memory>
#include <vector>

#include "music/fluid_synthesizer.h"
#include "music/single_thread_midi_stream.h"
#include "music/tune_player.h"
#include "music/tune_sounds.h"

namespace vokta::web {

namespace {

// vokta-sound.js's side: its js-synthesizer.
EM_JS(void, synthesizerMessage, (int status, int data1, int data2),
      { window.vokta.sound.message(status, data1, data2); });
EM_JS(void, synthesizerAllNotesOff, (), { window.vokta.sound.allNotesOff(); });
EM_JS(void, synthesizerRender, (float* out, int frames),
      { window.vokta.sound.render(HEAPF32.subarray(out >> 2, (out >> 2) + 2 * frames)); });
EM_JS(void, synthesizerSetGain, (float gain), { window.vokta.sound.setGain(gain); });

// A block of interleaved stereo for the page's audio output.
EM_JS(void, playBlock, (const float* samples, int frames),
      { window.vokta.sound.play(HEAPF32.subarray(samples >> 2, (samples >> 2) + 2 * frames)); });

// js-synthesizer, made only once it has its soundfont.
class PageSynthesizer : public Synth {
public:
    PageSynthesizer() { synthesizerSetGain(FluidSynthesizer::kGain); }

    bool isReady() const override { return true; }
    void shortMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override
    {
        synthesizerMessage(status, data1, data2);
    }
    void allNotesOff() override { synthesizerAllNotesOff(); }
    void render(float* out, int frames) override { synthesizerRender(out, frames); }
};

// Built in the order they are torn down in reverse: the player closes the
// stream before the synthesizer goes.
struct Sounding {
    explicit Sounding(int sampleRate) : stream(synth, sampleRate) {}

    PageSynthesizer synth;
    SingleThreadMidiStream stream;
    TunePlayer player;
    TuneSounds sounds{player};
    std::vector<float> block;
};

class PageSound : public SoundOutput {
public:
    void play(Cue cue) override
    {
        if (sounding)
            sounding->sounds.play(cue);
    }

    std::unique_ptr<Sounding> sounding;
};

PageSound thePageSound;

}  // namespace

SoundOutput& pageSound()
{
    return thePageSound;
}

}  // namespace vokta::web

using vokta::web::thePageSound;

extern "C" {

// Called by vokta-sound.js once js-synthesizer has its soundfont and the
// page's audio runs at sampleRate; false when the stream does not open.
EMSCRIPTEN_KEEPALIVE int vokta_sound_start(int sampleRate)
{
    if (thePageSound.sounding)
        return 1;
    auto sounding = std::make_unique<vokta::web::Sounding>(sampleRate);
    if (!sounding->player.open(sounding->stream))
        return 0;
    thePageSound.sounding = std::move(sounding);
    return 1;
}

// Renders the next frames and hands them to the page's audio output.
EMSCRIPTEN_KEEPALIVE void vokta_sound_render(int frames)
{
    std::vector<float>& block = thePageSound.sounding->block;
    block.resize(2 * static_cast<std::size_t>(frames));
    thePageSound.sounding->stream.renderAudio(block.data(), frames);
    vokta::web::playBlock(block.data(), frames);
}

}  // extern "C"
