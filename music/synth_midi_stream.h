#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "music/midi_stream_base.h"
#include "music/stream_scheduler.h"
#include "music/synth.h"

namespace vokta {

// A MidiStream that plays into a Synth through a StreamScheduler, driven by
// whoever renders the audio (the audio device's callback, or a loop that
// renders offline). out is refused with NotReady while the synth cannot
// sound, so a tune requested before the instruments have loaded is skipped.
//
// Three threads meet here. The game thread calls the stream operations;
// they copy a buffer's events at out, so the audio thread never reads the
// caller's memory, and leave commands for the audio thread. The audio
// thread (renderAudio) takes the commands and reports finished buffers with
// a try-lock only, so it never waits for the game thread; a command or a
// report it misses is taken one block later. The stream's notifier thread
// delivers the notifications.
class SynthMidiStream : public MidiStreamBase {
public:
    // synth must outlive the stream.
    SynthMidiStream(Synth& synth, int sampleRate);
    ~SynthMidiStream() override;

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

    MidiResult openDevice(std::uint32_t deviceId) override;
    MidiResult queueBuffer(std::uint64_t id, const MidiHeader& header) override;
    MidiResult runDevice() override;
    MidiResult stopDevice() override;
    void leave(Command command);

    Synth& synth_;
    std::mutex commandsMutex_;
    std::vector<Command> commands_;  // for the audio thread

    // Owned by the audio thread.
    StreamScheduler scheduler_;
    std::vector<Command> takenCommands_;
    std::vector<std::uint64_t> unreported_;
};

}  // namespace vokta
