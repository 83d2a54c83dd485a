#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "music/midi_stream.h"

namespace vokta {

// What every MidiStream does the same way, written once: the open and
// closed states and their refusals, the header flags and the checks on
// them, the queued buffers in the order they play, and the notifications,
// delivered in order as the MidiStream contract requires. A stream built on
// it supplies the device hooks below and reports each queued buffer
// finished once it has played.
//
// Two locks. The operations lock is held through each operation and the
// hooks it calls, so operations follow each other whichever threads call
// them; notifications are never delivered under it. The queue lock guards
// the queued buffers and the notifications owed; it is held only briefly
// and never across a hook, so a device may report buffers finished from
// inside a hook's call on a thread of its own (Windows does, in stop).
class MidiStreamBase : public MidiStream {
public:
    MidiResult open(std::uint32_t deviceId, Notify notify) final;
    MidiResult prepareHeader(MidiHeader& header) final;
    MidiResult out(MidiHeader& header) final;
    MidiResult restart() final;
    MidiResult stop() final;
    MidiResult unprepareHeader(MidiHeader& header) final;
    MidiResult close() final;

protected:
    enum class Delivery {
        OwnThread,  // a notifier thread of the stream's own delivers them
        WhenAsked,  // deliverNotifications does, on the caller's thread
    };

    explicit MidiStreamBase(Delivery delivery);
    // The stream built on this one closes itself in its destructor, while
    // its hooks still exist.
    ~MidiStreamBase() override = default;

    // The buffer queued as id has played: it is marked done and its Done is
    // owed. A buffer that stop has dropped already is not reported again.
    void bufferFinished(std::uint64_t id);
    // bufferFinished for each of ids unless the queue lock is taken just
    // then; false if so, and nothing is marked. For an audio thread, which
    // must never wait.
    bool tryBuffersFinished(const std::vector<std::uint64_t>& ids);
    // Waits until every queued buffer has been reported finished; false when
    // timeout passed first.
    bool waitUntilNothingQueued(std::chrono::milliseconds timeout);
    // Delivers what is owed, in order (Delivery::WhenAsked). The handler may
    // call the operations; what they owe waits for the next call.
    void deliverNotifications();

private:
    // The device's side, called with the operations lock held.
    virtual MidiResult openDevice(std::uint32_t deviceId) = 0;
    // Called once the queue is empty and every header unprepared.
    virtual void closeDevice() {}
    // Called once for each header the stream takes as prepared.
    virtual MidiResult prepareBuffer(MidiHeader&) { return MidiResult::Ok; }
    virtual MidiResult unprepareBuffer(MidiHeader&) { return MidiResult::Ok; }
    // Plays a checked buffer (a whole number of events within its length)
    // after those queued, to be reported finished as id. It is in the queue
    // already, so it may be reported before this returns; a refusal takes it
    // off again and leaves its flags as they were.
    virtual MidiResult queueBuffer(std::uint64_t id, const MidiHeader& header) = 0;
    virtual MidiResult runDevice() = 0;
    // Drops what the device holds, silences it, pauses it and rewinds its
    // position. Buffers not reported finished by its return are reported
    // dropped, in the order they were queued.
    virtual MidiResult stopDevice() = 0;

    enum class State {
        Closed,
        Open,
        Closing,  // close is delivering the last notifications
    };
    struct QueuedHeader {
        std::uint64_t id;
        MidiHeader* header;
    };

    bool isPrepared(const MidiHeader& header) const;
    // These two with the queue lock held; owe wakes whoever waits on it.
    void owe(StreamMessage message);
    void markFinished(std::uint64_t id);
    void dropQueued();
    std::vector<StreamMessage> takeOwed();
    void deliver(const std::vector<StreamMessage>& messages);
    void deliverOnOwnThread();

    const Delivery delivery_;

    std::mutex operations_;  // guards what follows, up to the queue lock
    State state_ = State::Closed;
    Notify notify_;  // read unlocked while delivering: set before, cleared after
    std::uint64_t nextId_ = 1;
    std::vector<MidiHeader*> prepared_;
    std::thread notifier_;

    std::mutex queueMutex_;
    std::condition_variable changed_;
    std::vector<QueuedHeader> queued_;  // in the order they play
    std::vector<StreamMessage> owed_;
};

}  // namespace vokta
