#include "music/synth_midi_stream.h"

#include <algorithm>
#include <utility>

namespace vokta {

SynthMidiStream::SynthMidiStream(Synth& synth, int sampleRate) : synth_(synth), scheduler_(synth, sampleRate) {}

SynthMidiStream::~SynthMidiStream()
{
    // Closing an unopened stream is refused harmlessly.
    static_cast<void>(close());
}

MidiResult SynthMidiStream::open(std::uint32_t deviceId, Notify notify)
{
    if (deviceId != kMidiMapper && deviceId != 0)
        return MidiResult::BadDevice;
    std::lock_guard lock(mutex_);
    if (open_)
        return MidiResult::AlreadyOpen;
    open_ = true;
    notify_ = std::move(notify);
    notifications_.push_back(StreamMessage::Opened);
    notifier_ = std::thread([this] { deliverNotifications(); });
    return MidiResult::Ok;
}

MidiResult SynthMidiStream::prepareHeader(MidiHeader& header)
{
    std::lock_guard lock(mutex_);
    if (!open_ || closing_)
        return MidiResult::NotOpen;
    if (header.data == nullptr)
        return MidiResult::InvalidBuffer;
    header.flags |= kHeaderPrepared;
    return MidiResult::Ok;
}

MidiResult SynthMidiStream::out(MidiHeader& header)
{
    std::lock_guard lock(mutex_);
    if (!open_ || closing_)
        return MidiResult::NotOpen;
    // Readiness is asked last, so a buffer that could never play is refused
    // as such even while the instruments load.
    std::vector<StreamEvent> events;
    if (const MidiResult checked = readQueuedEvents(header, events); checked != MidiResult::Ok)
        return checked;
    if (!synth_.isReady())
        return MidiResult::NotReady;

    header.flags = (header.flags.load() & ~kHeaderDone) | kHeaderInQueue;
    const std::uint64_t id = nextId_++;
    queued_.push_back({id, &header});
    commands_.push_back({Command::Kind::Queue, id, std::move(events)});
    return MidiResult::Ok;
}

MidiResult SynthMidiStream::restart()
{
    std::lock_guard lock(mutex_);
    if (!open_ || closing_)
        return MidiResult::NotOpen;
    commands_.push_back({Command::Kind::Restart, 0, {}});
    return MidiResult::Ok;
}

MidiResult SynthMidiStream::stop()
{
    {
        std::lock_guard lock(mutex_);
        if (!open_ || closing_)
            return MidiResult::NotOpen;
        commands_.push_back({Command::Kind::Stop, 0, {}});
        dropQueuedLocked();
    }
    wake_.notify_one();
    return MidiResult::Ok;
}

MidiResult SynthMidiStream::unprepareHeader(MidiHeader& header)
{
    std::lock_guard lock(mutex_);
    if (!open_ || closing_)
        return MidiResult::NotOpen;
    if ((header.flags.load() & kHeaderInQueue) != 0)
        return MidiResult::StillPlaying;
    header.flags &= ~kHeaderPrepared;
    return MidiResult::Ok;
}

MidiResult SynthMidiStream::close()
{
    {
        std::lock_guard lock(mutex_);
        if (!open_ || closing_)
            return MidiResult::NotOpen;
        commands_.push_back({Command::Kind::Stop, 0, {}});
        dropQueuedLocked();
        notifications_.push_back(StreamMessage::Closed);
        closing_ = true;
    }
    wake_.notify_one();
    notifier_.join();
    std::lock_guard lock(mutex_);
    open_ = false;
    closing_ = false;
    notify_ = nullptr;
    finished_.clear();
    return MidiResult::Ok;
}

void SynthMidiStream::renderAudio(float* out, int frames)
{
    if (mutex_.try_lock()) {
        std::swap(commands_, takenCommands_);
        const bool report = !unreported_.empty();
        finished_.insert(finished_.end(), unreported_.begin(), unreported_.end());
        unreported_.clear();
        mutex_.unlock();
        if (report)
            wake_.notify_one();
    }
    for (Command& command : takenCommands_) {
        switch (command.kind) {
        case Command::Kind::Queue: scheduler_.queue(command.id, std::move(command.events)); break;
        case Command::Kind::Restart: scheduler_.restart(); break;
        case Command::Kind::Stop: scheduler_.stop(); break;
        }
    }
    takenCommands_.clear();

    scheduler_.render(out, frames, unreported_);

    if (!unreported_.empty() && mutex_.try_lock()) {
        finished_.insert(finished_.end(), unreported_.begin(), unreported_.end());
        unreported_.clear();
        mutex_.unlock();
        wake_.notify_one();
    }
}

void SynthMidiStream::dropQueuedLocked()
{
    for (const QueuedHeader& queued : queued_) {
        queued.header->flags = (queued.header->flags.load() & ~kHeaderInQueue) | kHeaderDone;
        notifications_.push_back(StreamMessage::Done);
    }
    queued_.clear();
}

void SynthMidiStream::deliverNotifications()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return !finished_.empty() || !notifications_.empty() || closing_; });
        // A buffer dropped by stop was reported then; the audio thread's
        // later word about it is ignored.
        for (const std::uint64_t id : finished_) {
            const auto it =
                std::find_if(queued_.begin(), queued_.end(), [id](const QueuedHeader& q) { return q.id == id; });
            if (it == queued_.end())
                continue;
            it->header->flags = (it->header->flags.load() & ~kHeaderInQueue) | kHeaderDone;
            queued_.erase(it);
            notifications_.push_back(StreamMessage::Done);
        }
        finished_.clear();
        if (notifications_.empty()) {
            if (closing_)
                return;
            continue;
        }
        std::vector<StreamMessage> batch;
        batch.swap(notifications_);
        lock.unlock();
        if (notify_) {
            for (const StreamMessage message : batch)
                notify_(message);
        }
        lock.lock();
    }
}

}  // namespace vokta
