#pragma once

#include <cstdint>
#include <vector>

#include "music/midi_stream_base.h"
#include "music/stream_scheduler.h"
#include "music/synth.h"

namespace vokta {

// A MidiStream that plays into a Synth through a StreamScheduler on a single
// thread, for the browser, which renders its audio on the page's own thread
// between the game's events. The operations act on the scheduler at once;
// buffers that have played or were dropped are reported Done at the end of
// the next renderAudio, so no notification comes from inside an operation
// but close, which reports what is still owed, then Closed, before it
// returns. out is refused with NotReady while the synth cannot sound.
class SingleThreadMidiStream : public MidiStreamBase {
public:
    // synth must outlive the stream.
    SingleThreadMidiStream(Synth& synth, int sampleRate);
    ~SingleThreadMidiStream() override;

    // Renders frames of interleaved stereo into out, playing the events that
    // fall due within them, then delivers the notifications owed.
    void renderAudio(float* out, int frames);

private:
    MidiResult openDevice(std::uint32_t deviceId) override;
    MidiResult queueBuffer(std::uint64_t id, const MidiHeader& header) override;
    MidiResult runDevice() override;
    MidiResult stopDevice() override;

    Synth& synth_;
    StreamScheduler scheduler_;
    std::vector<std::uint64_t> finished_;
};

}  // namespace vokta
