#pragma once

#include <memory>

#include "music/midi_stream_base.h"

namespace vokta {

struct WinmmDevice;

// A MidiStream on the Windows multimedia MIDI stream (midiStreamOpen and its
// kin), which plays through the system's General MIDI synthesizer or
// whatever MIDI output the device id names; open refuses with BadDevice
// when Windows has no such output, or it cannot be opened. The stream's
// timing is set to the one tunes rely on (see stream_scheduler.h).
//
// Windows hands finished buffers back on a thread of its own, where no
// other MIDI call may be made; the stream's notifier thread delivers the
// notifications. stop returns once Windows has handed back every queued
// buffer. Only channel messages reach the device: a tune's closing event
// (status FF, a system reset on the wire) is played as a pause that ends
// the buffer.
class WinmmMidiStream : public MidiStreamBase {
public:
    WinmmMidiStream();
    ~WinmmMidiStream() override;

private:
    friend struct WinmmDevice;  // its callback reports the finished buffers

    MidiResult openDevice(std::uint32_t deviceId) override;
    void closeDevice() override;
    MidiResult prepareBuffer(MidiHeader& header) override;
    MidiResult unprepareBuffer(MidiHeader& header) override;
    MidiResult queueBuffer(std::uint64_t id, const MidiHeader& header) override;
    MidiResult runDevice() override;
    MidiResult stopDevice() override;

    std::unique_ptr<WinmmDevice> device_;
};

}  // namespace vokta
