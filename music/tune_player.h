#pragma once

#include <cstdint>
#include <memory>
#include <mutex>

#include "music/midi_stream.h"
#include "music/tune.h"

namespace vokta {

// Plays one compiled Tune at a time through a MidiStream. Every sound
// request replaces the tune the player holds; the stream plays from the
// player's two buffers, never from the tune, so releasing a tune whose last
// chunk is still queued is safe.
//
// Locking: one mutex guards every field, because the stream's Done
// notification (onStreamDone) arrives on the stream's thread. The player
// holds it across stream calls, which the MidiStream contract allows: no
// stream operation calls back or waits for a notification. The one
// exception is close, which waits for a notification in flight; teardown
// therefore detaches the stream under the lock and closes it after
// releasing the lock.
class TunePlayer {
public:
    static constexpr std::uint32_t kBufferBytes = 0x3000;  // 1024 events

    TunePlayer() = default;
    TunePlayer(const TunePlayer&) = delete;
    TunePlayer& operator=(const TunePlayer&) = delete;

    // Teardown: stops, releases the tune, unprepares the buffers and closes
    // the stream. Quiet when the stream was never opened.
    ~TunePlayer();

    // Opens the stream on the default device; it must outlive this player.
    // The buffers are set up whether or not the stream opened, so the
    // player then runs silently. True when the stream opened; a player
    // already open refuses and changes nothing.
    bool open(MidiStream& stream);

    void stop();
    void releaseTune();

    // Takes the tune and queues its first chunk; false only for a null
    // tune, which changes nothing.
    bool play(std::unique_ptr<Tune> tune);

    // True when the stream runs.
    bool restart();

    // Copies the tune's next chunk into the other buffer and queues it;
    // false when there was nothing to queue or the stream refused it.
    bool queueNextChunk();

    // The stream's notification: after a Done it queues the next chunk of
    // the tune, if any, and restarts the stream.
    void onStreamDone(StreamMessage message);

    // The result of the last stream call, kept for diagnosis only.
    MidiResult lastResult() const;

private:
    void stopLocked();
    bool restartLocked();
    bool queueNextChunkLocked();

    mutable std::mutex mutex_;
    std::unique_ptr<Tune> tune_;
    std::uint32_t sentBytes_ = 0;
    std::uint32_t chunkBytes_ = 0;
    std::uint32_t deviceId_ = 0;
    MidiResult lastResult_ = MidiResult::NotOpen;
    MidiHeader headers_[2];
    std::unique_ptr<std::uint8_t[]> buffers_[2];
    bool prepared_[2] = {false, false};
    int lastBuffer_ = 0;
    MidiStream* stream_ = nullptr;  // set only while the stream is open
};

}  // namespace vokta
