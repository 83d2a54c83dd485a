#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

namespace vokta {

// Opens the default MIDI output, whatever device that is.
inline constexpr std::uint32_t kMidiMapper = 0xFFFFFFFF;

// Bits of MidiHeader::flags. The stream sets and clears them; the owner of
// the header reads them.
inline constexpr std::uint32_t kHeaderDone = 0x1;      // the stream has finished with the buffer
inline constexpr std::uint32_t kHeaderPrepared = 0x2;  // prepared on the stream
inline constexpr std::uint32_t kHeaderInQueue = 0x4;   // queued and not yet done

// A buffer of event records (three 32-bit words each, as a compiled Tune
// writes them) handed to a MidiStream. The owner keeps the header and its
// data alive while the header is prepared.
struct MidiHeader {
    std::uint8_t* data = nullptr;
    std::uint32_t bufferLength = 0;   // bytes the buffer can hold
    std::uint32_t bytesRecorded = 0;  // bytes of events in it
    std::atomic<std::uint32_t> flags{0};
};

enum class MidiResult {
    Ok,
    NotOpen,  // the stream is closed, or was never opened
    AlreadyOpen,
    BadDevice,      // no such output device, or it cannot be used
    NotReady,       // the output cannot sound yet (instruments still loading)
    Unprepared,     // the header was not prepared on this stream
    StillPlaying,   // the header is still queued
    InvalidBuffer,  // the buffer's events cannot be read
};

// A short English phrase for a result, for messages.
const char* describe(MidiResult result);

enum class StreamMessage {
    Opened,
    Done,  // a queued buffer has been played, or dropped by stop
    Closed,
};

// The MIDI stream a TunePlayer plays through: buffers of timed events are
// queued and played one after the other.
//
// Threading contract, which lets a player hold its own lock across these
// calls: notifications are delivered on the stream's own thread, never from
// inside one of these operations and never while the stream holds a lock its
// operations take, and no operation waits for a notification, except close,
// which returns only once no notification is being delivered. So close must
// not be called with a lock the notification handler takes, nor from inside
// the handler.
class MidiStream {
public:
    using Notify = std::function<void(StreamMessage)>;

    virtual ~MidiStream() = default;

    // Opens the stream on a device (kMidiMapper for the default one), paused.
    virtual MidiResult open(std::uint32_t deviceId, Notify notify) = 0;
    virtual MidiResult prepareHeader(MidiHeader& header) = 0;
    // Queues a prepared buffer behind those already queued; it is played
    // once the stream runs, and reported with a Done notification.
    virtual MidiResult out(MidiHeader& header) = 0;
    // Runs the stream (again); harmless when it already runs.
    virtual MidiResult restart() = 0;
    // Drops every queued buffer (each reported Done), silences what sounds,
    // pauses the stream and rewinds its position to zero.
    virtual MidiResult stop() = 0;
    virtual MidiResult unprepareHeader(MidiHeader& header) = 0;
    // Stops and closes the stream; no notification follows once it returns.
    virtual MidiResult close() = 0;
};

}  // namespace vokta
