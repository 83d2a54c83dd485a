#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "music/midi_stream.h"
#include "music/synth.h"

namespace vokta {

// The stream's timing, which tunes rely on: 24 ticks per quarter note at
// 500,000 microseconds per quarter note, that is 48 ticks per second.
inline constexpr std::uint64_t kStreamTicksPerQuarter = 24;
inline constexpr std::uint64_t kStreamMicrosecondsPerQuarter = 500'000;

// One event of a queued buffer: ticks after the previous event, and the
// event word (bits 0-23 the MIDI message, bits 24-31 the event type).
struct StreamEvent {
    std::uint32_t delta = 0;
    std::uint32_t word = 0;
};

// The events of a buffer a stream's out has accepted: a whole number of
// events within its length.
std::vector<StreamEvent> queuedEvents(const MidiHeader& header);

// Plays queued buffers of stream events into a Synth, applying every event
// at its exact sample offset while it renders. It is the time base of a
// MIDI stream: buffers follow each other without a gap, the position runs
// only while the stream runs and has something to play, and stop rewinds
// it. Not thread-safe: one thread (the audio thread) owns it.
class StreamScheduler {
public:
    StreamScheduler(Synth& synth, int sampleRate);

    // Queues a buffer behind those already queued; id names it in the
    // finished list.
    void queue(std::uint64_t id, std::vector<StreamEvent> events);
    void restart();
    // Drops every queued buffer, silences what sounds, pauses and rewinds.
    void stop();

    // Renders frames of interleaved stereo into out, applying the events that
    // fall due within them, and appends the id of every buffer whose last
    // event has been played to finished.
    void render(float* out, int frames, std::vector<std::uint64_t>& finished);

    // The sample at which a stream position in ticks falls, counted from
    // the start of the stream.
    std::uint64_t ticksToSamples(std::uint64_t ticks) const;

private:
    struct QueuedBuffer {
        std::uint64_t id;
        std::vector<StreamEvent> events;
        std::size_t next = 0;
    };

    void apply(std::uint32_t word);

    Synth& synth_;
    std::uint64_t samplesPerTickNumerator_;
    std::uint64_t samplesPerTickDenominator_;
    std::deque<QueuedBuffer> queue_;
    bool running_ = false;
    std::uint64_t ticks_ = 0;    // position of the last event played
    std::uint64_t samples_ = 0;  // samples played since the position was zero
};

}  // namespace vokta
