#include "music/single_thread_midi_stream.h"

#include <algorithm>
#include <utility>

namespace vokta {

SingleThreadMidiStream::SingleThreadMidiStream(Synth& synth, int sampleRate)
    : synth_(synth), scheduler_(synth, sampleRate)
{
}

SingleThreadMidiStream::~SingleThreadMidiStream()
{
    // Closing an unopened stream is refused harmlessly.
    static_cast<void>(close());
}

MidiResult SingleThreadMidiStream::open(std::uint32_t deviceId, Notify notify)
{
    if (deviceId != kMidiMapper && deviceId != 0)
        return MidiResult::BadDevice;
    if (open_)
        return MidiResult::AlreadyOpen;
    open_ = true;
    notify_ = std::move(notify);
    owed_.push_back(StreamMessage::Opened);
    return MidiResult::Ok;
}

MidiResult SingleThreadMidiStream::prepareHeader(MidiHeader& header)
{
    if (!open_)
        return MidiResult::NotOpen;
    if (header.data == nullptr)
        return MidiResult::InvalidBuffer;
    header.flags |= kHeaderPrepared;
    return MidiResult::Ok;
}

MidiResult SingleThreadMidiStream::out(MidiHeader& header)
{
    if (!open_)
        return MidiResult::NotOpen;
    std::vector<StreamEvent> events;
    if (const MidiResult checked = readQueuedEvents(header, events); checked != MidiResult::Ok)
        return checked;
    if (!synth_.isReady())
        return MidiResult::NotReady;
    header.flags = (header.flags.load() & ~kHeaderDone) | kHeaderInQueue;
    const std::uint64_t id = nextId_++;
    queued_.push_back({id, &header});
    scheduler_.queue(id, std::move(events));
    return MidiResult::Ok;
}

MidiResult SingleThreadMidiStream::restart()
{
    if (!open_)
        return MidiResult::NotOpen;
    scheduler_.restart();
    return MidiResult::Ok;
}

MidiResult SingleThreadMidiStream::stop()
{
    if (!open_)
        return MidiResult::NotOpen;
    scheduler_.stop();
    dropQueued();
    return MidiResult::Ok;
}

MidiResult SingleThreadMidiStream::unprepareHeader(MidiHeader& header)
{
    if (!open_)
        return MidiResult::NotOpen;
    if ((header.flags.load() & kHeaderInQueue) != 0)
        return MidiResult::StillPlaying;
    header.flags &= ~kHeaderPrepared;
    return MidiResult::Ok;
}

MidiResult SingleThreadMidiStream::close()
{
    if (!open_)
        return MidiResult::NotOpen;
    scheduler_.stop();
    dropQueued();
    owed_.push_back(StreamMessage::Closed);
    open_ = false;
    deliverNotifications();
    notify_ = nullptr;
    return MidiResult::Ok;
}

void SingleThreadMidiStream::renderAudio(float* out, int frames)
{
    scheduler_.render(out, frames, finished_);
    for (const std::uint64_t id : finished_) {
        const auto it =
            std::find_if(queued_.begin(), queued_.end(), [id](const QueuedHeader& q) { return q.id == id; });
        it->header->flags = (it->header->flags.load() & ~kHeaderInQueue) | kHeaderDone;
        queued_.erase(it);
        owed_.push_back(StreamMessage::Done);
    }
    finished_.clear();
    deliverNotifications();
}

void SingleThreadMidiStream::dropQueued()
{
    for (const QueuedHeader& queued : queued_) {
        queued.header->flags = (queued.header->flags.load() & ~kHeaderInQueue) | kHeaderDone;
        owed_.push_back(StreamMessage::Done);
    }
    queued_.clear();
}

void SingleThreadMidiStream::deliverNotifications()
{
    // The handler may queue, stop or restart; what that owes waits for the
    // next render.
    std::vector<StreamMessage> batch;
    batch.swap(owed_);
    if (notify_) {
        for (const StreamMessage message : batch)
            notify_(message);
    }
}

}  // namespace vokta
