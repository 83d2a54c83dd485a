#include "music/stream_scheduler.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <utility>

#include "music/tune.h"

namespace vokta {
namespace {

constexpr std::uint64_t kMicrosecondsPerSecond = 1'000'000;
constexpr std::uint32_t kShortMessageType = 0;

}  // namespace

std::vector<StreamEvent> queuedEvents(const MidiHeader& header)
{
    std::vector<StreamEvent> events(header.bytesRecorded / kBytesPerEvent);
    for (std::size_t i = 0; i < events.size(); ++i) {
        std::uint32_t record[kWordsPerEvent];
        std::memcpy(record, header.data + i * kBytesPerEvent, kBytesPerEvent);
        events[i] = {record[0], record[2]};  // the stream id in between is always 0
    }
    return events;
}

StreamScheduler::StreamScheduler(Synth& synth, int sampleRate) : synth_(synth)
{
    // Samples per tick as a reduced fraction, so positions stay exact at any
    // sample rate (1000 samples per tick at 48 kHz).
    const std::uint64_t numerator = static_cast<std::uint64_t>(sampleRate) * kStreamMicrosecondsPerQuarter;
    const std::uint64_t denominator = kStreamTicksPerQuarter * kMicrosecondsPerSecond;
    const std::uint64_t divisor = std::gcd(numerator, denominator);
    samplesPerTickNumerator_ = numerator / divisor;
    samplesPerTickDenominator_ = denominator / divisor;
}

void StreamScheduler::queue(std::uint64_t id, std::vector<StreamEvent> events)
{
    queue_.push_back({id, std::move(events)});
}

void StreamScheduler::restart()
{
    running_ = true;
}

void StreamScheduler::stop()
{
    queue_.clear();
    synth_.allNotesOff();
    running_ = false;
    ticks_ = 0;
    samples_ = 0;
}

std::uint64_t StreamScheduler::ticksToSamples(std::uint64_t ticks) const
{
    return ticks * samplesPerTickNumerator_ / samplesPerTickDenominator_;
}

void StreamScheduler::render(float* out, int frames, std::vector<std::uint64_t>& finished)
{
    int done = 0;
    while (done < frames) {
        int span = frames - done;
        if (running_ && !queue_.empty()) {
            QueuedBuffer& buffer = queue_.front();
            if (buffer.next == buffer.events.size()) {
                finished.push_back(buffer.id);
                queue_.pop_front();
                continue;
            }
            const StreamEvent& event = buffer.events[buffer.next];
            const std::uint64_t due = ticksToSamples(ticks_ + event.delta);
            if (due <= samples_) {
                ticks_ += event.delta;
                ++buffer.next;
                apply(event.word);
                continue;
            }
            span = static_cast<int>(std::min<std::uint64_t>(due - samples_, static_cast<std::uint64_t>(span)));
            samples_ += static_cast<std::uint64_t>(span);
        }
        // While nothing plays the position stands still, so the next buffer
        // queued starts at once rather than catching up on lost time.
        synth_.render(out + 2 * done, span);
        done += span;
    }
}

void StreamScheduler::apply(std::uint32_t word)
{
    const auto status = static_cast<std::uint8_t>(word & 0xFF);
    // Only channel messages reach the synthesizer; the closing event (status
    // FF) just marks the end of the buffer.
    if ((word >> 24) != kShortMessageType || status < 0x80 || status >= 0xF0)
        return;
    synth_.shortMessage(status, static_cast<std::uint8_t>((word >> 8) & 0x7F),
                        static_cast<std::uint8_t>((word >> 16) & 0x7F));
}

}  // namespace vokta
