#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace vokta {

// Tune timing: a quarter note lasts this many ticks of the MIDI stream.
inline constexpr int ticksPerQuarter = 64;

// A compiled tune is a run of MIDI stream event records of three 32-bit
// words each: delta ticks since the previous event, stream id (always 0),
// and the event word (bits 0-23 the MIDI message, bits 24-31 the event
// type, always 0 for a short message).
inline constexpr std::uint32_t kWordsPerEvent = 3;
inline constexpr std::uint32_t kBytesPerEvent = kWordsPerEvent * 4;

// Ends every tune: the byte pattern FF 2F 00 of the end-of-track code.
inline constexpr std::uint32_t kClosingEvent = 0x00002FFF;

// The outcome of Tune::compile.
struct [[nodiscard]] CompileResult {
    std::uint32_t size = 0;  // event words written; 0 when refused
    std::string error;       // why the text or arguments were refused; empty on success

    bool ok() const { return error.empty(); }
};

// One tune, compiled once from a notation text into an owned event buffer.
class Tune {
public:
    Tune() = default;
    Tune(const Tune&) = delete;
    Tune& operator=(const Tune&) = delete;

    // Compiles a NUL-terminated text for MIDI channel 0-15. A null text, a
    // channel out of range, a tune already compiled or a text too long for
    // 32-bit sizes is refused and leaves the tune as it was. Texts the
    // notation leaves open are made safe: an unclosed chord ends at the end
    // of the text, chord notes past the seventh are ignored, P with n of 0
    // or above 128 is ignored and notes outside 0-127 are left out.
    CompileResult compile(const char* text, int channel);

    const std::uint32_t* events() const { return events_.get(); }  // null until compiled
    std::uint32_t size() const { return size_; }                   // words used, 3 per event
    std::uint32_t capacity() const { return capacity_; }           // words allocated
    std::uint32_t sizeInBytes() const { return size_ * 4; }

private:
    std::unique_ptr<std::uint32_t[]> events_;
    std::uint32_t size_ = 0;
    std::uint32_t capacity_ = 0;
};

// The length denominator used when a note, chord or rest gives none. It is
// 4 at program start, and a T command changes it for that compilation and
// every later one in the process.
int defaultTuneLength();

// Puts the default length back to 4, as at program start (tests use it to
// undo what a T command did).
void resetDefaultTuneLength();

}  // namespace vokta
