#include "music/midi_stream_base.h"

#include <algorithm>
#include <utility>

#include "music/tune.h"

namespace vokta {

MidiStreamBase::MidiStreamBase(Delivery delivery) : delivery_(delivery) {}

MidiResult MidiStreamBase::open(std::uint32_t deviceId, Notify notify)
{
    std::lock_guard operation(operations_);
    if (state_ != State::Closed)
        return MidiResult::AlreadyOpen;
    if (const MidiResult opened = openDevice(deviceId); opened != MidiResult::Ok)
        return opened;
    state_ = State::Open;
    notify_ = std::move(notify);
    {
        std::lock_guard lock(queueMutex_);
        owe(StreamMessage::Opened);
    }
    if (delivery_ == Delivery::OwnThread)
        notifier_ = std::thread([this] { deliverOnOwnThread(); });
    return MidiResult::Ok;
}

MidiResult MidiStreamBase::prepareHeader(MidiHeader& header)
{
    std::lock_guard operation(operations_);
    if (state_ != State::Open)
        return MidiResult::NotOpen;
    if (header.data == nullptr)
        return MidiResult::InvalidBuffer;
    if (!isPrepared(header)) {
        if (const MidiResult prepared = prepareBuffer(header); prepared != MidiResult::Ok)
            return prepared;
        prepared_.push_back(&header);
    }
    header.flags |= kHeaderPrepared;
    return MidiResult::Ok;
}

MidiResult MidiStreamBase::out(MidiHeader& header)
{
    std::lock_guard operation(operations_);
    if (state_ != State::Open)
        return MidiResult::NotOpen;
    const std::uint32_t flags = header.flags.load();
    if ((flags & kHeaderPrepared) == 0 || !isPrepared(header))
        return MidiResult::Unprepared;
    if ((flags & kHeaderInQueue) != 0)
        return MidiResult::StillPlaying;
    if (header.bytesRecorded > header.bufferLength || header.bytesRecorded % kBytesPerEvent != 0)
        return MidiResult::InvalidBuffer;

    const std::uint64_t id = nextId_++;
    {
        std::lock_guard lock(queueMutex_);
        header.flags = (flags & ~kHeaderDone) | kHeaderInQueue;
        queued_.push_back({id, &header});
    }
    const MidiResult queued = queueBuffer(id, header);
    if (queued != MidiResult::Ok) {
        std::lock_guard lock(queueMutex_);
        std::erase_if(queued_, [id](const QueuedHeader& q) { return q.id == id; });
        header.flags = flags;
    }
    return queued;
}

MidiResult MidiStreamBase::restart()
{
    std::lock_guard operation(operations_);
    if (state_ != State::Open)
        return MidiResult::NotOpen;
    return runDevice();
}

MidiResult MidiStreamBase::stop()
{
    std::lock_guard operation(operations_);
    if (state_ != State::Open)
        return MidiResult::NotOpen;
    const MidiResult stopped = stopDevice();
    dropQueued();
    return stopped;
}

MidiResult MidiStreamBase::unprepareHeader(MidiHeader& header)
{
    std::lock_guard operation(operations_);
    if (state_ != State::Open)
        return MidiResult::NotOpen;
    if ((header.flags.load() & kHeaderInQueue) != 0)
        return MidiResult::StillPlaying;
    if (isPrepared(header)) {
        if (const MidiResult unprepared = unprepareBuffer(header); unprepared != MidiResult::Ok)
            return unprepared;
        std::erase(prepared_, &header);
    }
    header.flags &= ~kHeaderPrepared;
    return MidiResult::Ok;
}

MidiResult MidiStreamBase::close()
{
    {
        std::lock_guard operation(operations_);
        if (state_ != State::Open)
            return MidiResult::NotOpen;
        // Closing goes on whatever the device answers: the stream is
        // given up either way.
        static_cast<void>(stopDevice());
        dropQueued();
        for (MidiHeader* header : prepared_) {
            static_cast<void>(unprepareBuffer(*header));
            header->flags &= ~kHeaderPrepared;
        }
        prepared_.clear();
        closeDevice();
        state_ = State::Closing;
        std::lock_guard lock(queueMutex_);
        owe(StreamMessage::Closed);
    }
    // Outside the operations lock: a handler may call an operation, which
    // then finds the stream closed.
    if (delivery_ == Delivery::OwnThread)
        notifier_.join();
    else
        deliverNotifications();
    std::lock_guard operation(operations_);
    state_ = State::Closed;
    notify_ = nullptr;
    return MidiResult::Ok;
}

void MidiStreamBase::bufferFinished(std::uint64_t id)
{
    std::lock_guard lock(queueMutex_);
    markFinished(id);
}

bool MidiStreamBase::tryBuffersFinished(const std::vector<std::uint64_t>& ids)
{
    std::unique_lock lock(queueMutex_, std::try_to_lock);
    if (!lock.owns_lock())
        return false;
    for (const std::uint64_t id : ids)
        markFinished(id);
    return true;
}

bool MidiStreamBase::waitUntilNothingQueued(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(queueMutex_);
    return changed_.wait_for(lock, timeout, [this] { return queued_.empty(); });
}

void MidiStreamBase::deliverNotifications()
{
    deliver(takeOwed());
}

bool MidiStreamBase::isPrepared(const MidiHeader& header) const
{
    return std::find(prepared_.begin(), prepared_.end(), &header) != prepared_.end();
}

void MidiStreamBase::owe(StreamMessage message)
{
    owed_.push_back(message);
    changed_.notify_all();
}

void MidiStreamBase::markFinished(std::uint64_t id)
{
    const auto it = std::find_if(queued_.begin(), queued_.end(), [id](const QueuedHeader& q) { return q.id == id; });
    if (it == queued_.end())
        return;
    it->header->flags = (it->header->flags.load() & ~kHeaderInQueue) | kHeaderDone;
    queued_.erase(it);
    owe(StreamMessage::Done);
}

void MidiStreamBase::dropQueued()
{
    std::lock_guard lock(queueMutex_);
    for (const QueuedHeader& queued : queued_) {
        queued.header->flags = (queued.header->flags.load() & ~kHeaderInQueue) | kHeaderDone;
        owe(StreamMessage::Done);
    }
    queued_.clear();
}

std::vector<StreamMessage> MidiStreamBase::takeOwed()
{
    std::lock_guard lock(queueMutex_);
    std::vector<StreamMessage> owed;
    owed.swap(owed_);
    return owed;
}

void MidiStreamBase::deliver(const std::vector<StreamMessage>& messages)
{
    if (!notify_)
        return;
    for (const StreamMessage message : messages)
        notify_(message);
}

void MidiStreamBase::deliverOnOwnThread()
{
    // Closed is the last message owed, so delivering it ends the thread.
    for (;;) {
        std::vector<StreamMessage> owed;
        {
            std::unique_lock lock(queueMutex_);
            changed_.wait(lock, [this] { return !owed_.empty(); });
            owed.swap(owed_);
        }
        deliver(owed);
        if (owed.back() == StreamMessage::Closed)
            return;
    }
}

}  // namespace vokta
