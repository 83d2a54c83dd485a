#include "music/synth_midi_stream.h"

#include <utility>

namespace vokta {

SynthMidiStream::SynthMidiStream(Synth& synth, int sampleRate)
    : MidiStreamBase(Delivery::OwnThread), synth_(synth), scheduler_(synth, sampleRate)
{
}

SynthMidiStream::~SynthMidiStream()
{
    // Closing an unopened stream is refused harmlessly.
    static_cast<void>(close());
}

MidiResult SynthMidiStream::openDevice(std::uint32_t deviceId)
{
    return deviceId == kMidiMapper || deviceId == 0 ? MidiResult::Ok : MidiResult::BadDevice;
}

MidiResult SynthMidiStream::queueBuffer(std::uint64_t id, const MidiHeader& header)
{
    if (!synth_.isReady())
        return MidiResult::NotReady;
    leave({Command::Kind::Queue, id, queuedEvents(header)});
    return MidiResult::Ok;
}

MidiResult SynthMidiStream::runDevice()
{
    leave({Command::Kind::Restart, 0, {}});
    return MidiResult::Ok;
}

MidiResult SynthMidiStream::stopDevice()
{
    leave({Command::Kind::Stop, 0, {}});
    return MidiResult::Ok;
}

void SynthMidiStream::leave(Command command)
{
    std::lock_guard lock(commandsMutex_);
    commands_.push_back(std::move(command));
}

void SynthMidiStream::renderAudio(float* out, int frames)
{
    if (commandsMutex_.try_lock()) {
        std::swap(commands_, takenCommands_);
        commandsMutex_.unlock();
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
    if (!unreported_.empty() && tryBuffersFinished(unreported_))
        unreported_.clear();
}

}  // namespace vokta
