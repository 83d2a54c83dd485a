#pragma once

#include <cstdint>
#include <vector>

#include "music/midi_stream.h"
#include "music/stream_scheduler.h"
#include "music/synth.h"

namespace vokta {

// A MidiStream that plays into a Synth through a StreamScheduler on a single
// thread, for the browser, which renders its audio on the page's own thread
// between the game's events. The operations act on the scheduler at once;
// buffers that have played or were dropped are reported Done at the end of
// the next renderAudio, so no notification comes from inside an operation
// (close excepted, as the MidiStream contract allows).
class SingleThreadMidiStream : public MidiStream {
public:
    // synth must outlive the stream.
    SingleThreadMidiStream(Synth& synth, int sampleRate);
    ~SingleThreadMidiStream() override;

    MidiResult open(std::uint32_t deviceId, Notify notify) override;
    MidiResult prepareHeader(MidiHeader& header) override;
    // Refused with NotReady while the synth cannot sound.
    MidiResult out(MidiHeader& header) override;
    MidiResult restart() override;
    MidiResult stop() override;
    MidiResult unprepareHeader(MidiHeader& header) override;
    // Reports what is still owed, then Closed, before it returns.
    MidiResult close() override;

    // Renders frames of interleaved stereo into out, playing the events that
    // fall due within them, then delivers the notifications owed.
    void renderAudio(float* out, int frames);

private:
    struct QueuedHeader {
        std::uint64_t id;
        MidiHeader* header;
    };

    void dropQueued();
    void deliverNotifications();

    Synth& synth_;
    StreamScheduler scheduler_;
    bool open_ = false;
    Notify notify_;
    std::uint64_t nextId_ = 1;
    std::vector<QueuedHeader> queued_;  // in the order they play
    std::vector<std::uint64_t> finished_;
    std::vector<StreamMessage> owed_;
};

}  // namespace vokta
