#pragma once

#include <memory>

#include "music/midi_stream.h"

namespace vokta {

struct WinmmStreamState;

// A MidiStream on the Windows multimedia MIDI stream (midiStreamOpen and its
// kin), which plays through the system's General MIDI synthesizer or
// whatever MIDI output the device id names. The stream's timing is set to
// the one tunes rely on (see stream_scheduler.h).
//
// Windows reports a finished buffer on a thread of its own, where no other
// MIDI call may be made; a notifier thread of ours passes the Done
// notifications on, in the order the buffers finished, holding no lock, as
// the MidiStream contract requires. Only channel messages reach the device:
// a tune's closing event (status FF, a system reset on the wire) is played
// as a pause that ends the buffer.
class WinmmMidiStream : public MidiStream {
public:
    WinmmMidiStream();
    ~WinmmMidiStream() override;
    WinmmMidiStream(const WinmmMidiStream&) = delete;
    WinmmMidiStream& operator=(const WinmmMidiStream&) = delete;

    // BadDevice when Windows has no such MIDI output, or it cannot be opened.
    MidiResult open(std::uint32_t deviceId, Notify notify) override;
    MidiResult prepareHeader(MidiHeader& header) override;
    MidiResult out(MidiHeader& header) override;
    MidiResult restart() override;
    // Returns once Windows has handed back every queued buffer.
    MidiResult stop() override;
    MidiResult unprepareHeader(MidiHeader& header) override;
    MidiResult close() override;

private:
    std::unique_ptr<WinmmStreamState> state_;
};

}  // namespace vokta
