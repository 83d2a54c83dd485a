#include "music/single_thread_midi_stream.h"

namespace vokta {

SingleThreadMidiStream::SingleThreadMidiStream(Synth& synth, int sampleRate)
    : MidiStreamBase(Delivery::WhenAsked), synth_(synth), scheduler_(synth, sampleRate)
{
}

SingleThreadMidiStream::~SingleThreadMidiStream()
{
    // Closing an unopened stream is refused harmlessly.
    static_cast<void>(close());
}

void SingleThreadMidiStream::renderAudio(float* out, int frames)
{
    scheduler_.render(out, frames, finished_);
    for (const std::uint64_t id : finished_)
        bufferFinished(id);
    finished_.clear();
    deliverNotifications();
}

MidiResult SingleThreadMidiStream::openDevice(std::uint32_t deviceId)
{
    return deviceId == kMidiMapper || deviceId == 0 ? MidiResult::Ok : MidiResult::BadDevice;
}

MidiResult SingleThreadMidiStream::queueBuffer(std::uint64_t id, const MidiHeader& header)
{
    if (!synth_.isReady())
        return MidiResult::NotReady;
    scheduler_.queue(id, queuedEvents(header));
    return MidiResult::Ok;
}

MidiResult SingleThreadMidiStream::runDevice()
{
    scheduler_.restart();
    return MidiResult::Ok;
}

MidiResult SingleThreadMidiStream::stopDevice()
{
    scheduler_.stop();
    return MidiResult::Ok;
}

}  // namespace vokta
