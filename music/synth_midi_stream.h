#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "music/midi_stream.h"
#include "music/stream_scheduler.h"
#include "music/synth.h"

namespace vokta {

// A MidiStream that plays into a Synth through a StreamScheduler, driven by
// whoever renders the audio (the audio device's callback, or a loop that
// renders offline).
//
// Three threads meet here. The game thread calls the stream operations; they
// copy a buffer's events at out, so the audio thread never reads the
// caller's memory, and leave commands for the audio thread. The audio
// thread (renderAudio) takes the commands and hands back finished buffers
// with a try-lock only, so it never waits for the game thread; a command it
// misses is taken one block later. A notifier thread turns finished buffers
// into Done notifications and delivers them without holding any lock, as
// the MidiStream contract requires.
class SynthMidiStream : public MidiStream {
public:
    // synth must outlive the stream.
    SynthMidiStream(Synth& synth, int sampleRate);
    ~SynthMidiStream() override;

    MidiResult open(std::uint32_t deviceId, Notify notify) override;
    MidiResult prepareHeader(MidiHeader& header) override;
    // Refused with NotReady while the synth cannot sound, so a tune
    // requested before the instruments have loaded is skipped.
    MidiResult out(MidiHeader& header) override;
    MidiResult restart() override;
    MidiResult stop() override;
    MidiResult unprepareHeader(MidiHeader& header) override;
    MidiResult close() override;

    // Renders frames of interleaved stereo into out and plays the events
    // that fall due within them. Called by one audio thread at a time; it
    // never blocks.
    void renderAudio(float* out, int frames);

private:
    struct Command {
        enum class Kind { Queue, Restart, Stop } kind;
        std::uint64_t id = 0;
        std::vector<StreamEvent> events;
    };
    struct QueuedHeader {
        std::uint64_t id;
        MidiHeader* header;
    };

    void deliverNotifications();
    void dropQueuedLocked();

    Synth& synth_;

    std::mutex mutex_;  // guards everything up to the audio thread's own state
    std::condition_variable wake_;
    bool open_ = false;
    bool closing_ = false;
    Notify notify_;
    std::uint64_t nextId_ = 1;
    std::vector<QueuedHeader> queued_;          // in the order they play
    std::vector<Command> commands_;             // for the audio thread
    std::vector<std::uint64_t> finished_;       // from the audio thread
    std::vector<StreamMessage> notifications_;  // for the notifier thread
    std::thread notifier_;

    // Owned by the audio thread.
    StreamScheduler scheduler_;
    std::vector<Command> takenCommands_;
    std::vector<std::uint64_t> unreported_;
};

}  // namespace vokta
