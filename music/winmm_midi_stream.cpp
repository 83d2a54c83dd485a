#include "music/winmm_midi_stream.h"

#include <windows.h>

#include <mmsystem.h>

#include <chrono>
#include <cstring>
#include <map>
#include <vector>

#include "music/stream_scheduler.h"
#include "music/tune.h"

namespace vokta {
namespace {

// How long stop waits for Windows to hand back the queued buffers; it does
// so at once, so only a broken driver makes stop wait this long.
constexpr auto kReturnTimeout = std::chrono::seconds(5);

MidiResult resultOf(MMRESULT result)
{
    switch (result) {
    case MMSYSERR_NOERROR: return MidiResult::Ok;
    case MIDIERR_STILLPLAYING: return MidiResult::StillPlaying;
    case MIDIERR_UNPREPARED: return MidiResult::Unprepared;
    case MMSYSERR_INVALHANDLE: return MidiResult::NotOpen;
    case MMSYSERR_INVALPARAM: return MidiResult::InvalidBuffer;
    default: return MidiResult::BadDevice;
    }
}

}  // namespace

struct WinmmDevice {
    // What Windows plays for one prepared header: a copy of its events, so
    // Windows never reads the caller's memory. dwUser holds the id it was
    // last queued as.
    struct Buffer {
        MIDIHDR header{};
        std::vector<std::uint8_t> events;
    };

    static void CALLBACK onStreamMessage(HMIDIOUT, UINT message, DWORD_PTR instance, DWORD_PTR parameter, DWORD_PTR)
    {
        // Open and close are reported by the stream itself, in step with
        // the calls; position callbacks are never asked for.
        if (message == MOM_DONE) {
            reinterpret_cast<WinmmMidiStream*>(instance)->bufferFinished(
                reinterpret_cast<const MIDIHDR*>(parameter)->dwUser);
        }
    }

    HMIDISTRM handle = nullptr;
    std::map<const MidiHeader*, std::unique_ptr<Buffer>> buffers;  // the prepared ones
};

WinmmMidiStream::WinmmMidiStream() : MidiStreamBase(Delivery::OwnThread), device_(std::make_unique<WinmmDevice>()) {}

WinmmMidiStream::~WinmmMidiStream()
{
    // Closing an unopened stream is refused harmlessly.
    static_cast<void>(close());
}

MidiResult WinmmMidiStream::openDevice(std::uint32_t deviceId)
{
    WinmmDevice& d = *device_;
    UINT device = deviceId == kMidiMapper ? MIDI_MAPPER : deviceId;
    MMRESULT result = midiStreamOpen(&d.handle, &device, 1, reinterpret_cast<DWORD_PTR>(&WinmmDevice::onStreamMessage),
                                     reinterpret_cast<DWORD_PTR>(this), CALLBACK_FUNCTION);
    if (result != MMSYSERR_NOERROR) {
        d.handle = nullptr;
        return MidiResult::BadDevice;
    }
    MIDIPROPTIMEDIV division{sizeof(MIDIPROPTIMEDIV), static_cast<DWORD>(kStreamTicksPerQuarter)};
    MIDIPROPTEMPO tempo{sizeof(MIDIPROPTEMPO), static_cast<DWORD>(kStreamMicrosecondsPerQuarter)};
    result = midiStreamProperty(d.handle, reinterpret_cast<LPBYTE>(&division), MIDIPROP_SET | MIDIPROP_TIMEDIV);
    if (result == MMSYSERR_NOERROR)
        result = midiStreamProperty(d.handle, reinterpret_cast<LPBYTE>(&tempo), MIDIPROP_SET | MIDIPROP_TEMPO);
    if (result != MMSYSERR_NOERROR) {
        midiStreamClose(d.handle);
        d.handle = nullptr;
        return MidiResult::BadDevice;
    }
    return MidiResult::Ok;
}

void WinmmMidiStream::closeDevice()
{
    WinmmDevice& d = *device_;
    midiStreamClose(d.handle);
    d.handle = nullptr;
    // A copy Windows refused to unprepare goes with the stream all the same.
    d.buffers.clear();
}

MidiResult WinmmMidiStream::prepareBuffer(MidiHeader& header)
{
    WinmmDevice& d = *device_;
    auto buffer = std::make_unique<WinmmDevice::Buffer>();
    buffer->events.resize(header.bufferLength);
    buffer->header.lpData = reinterpret_cast<LPSTR>(buffer->events.data());
    buffer->header.dwBufferLength = header.bufferLength;
    const MMRESULT result =
        midiOutPrepareHeader(reinterpret_cast<HMIDIOUT>(d.handle), &buffer->header, sizeof(MIDIHDR));
    if (result != MMSYSERR_NOERROR)
        return resultOf(result);
    d.buffers.emplace(&header, std::move(buffer));
    return MidiResult::Ok;
}

MidiResult WinmmMidiStream::unprepareBuffer(MidiHeader& header)
{
    WinmmDevice& d = *device_;
    const MMRESULT result =
        midiOutUnprepareHeader(reinterpret_cast<HMIDIOUT>(d.handle), &d.buffers.at(&header)->header, sizeof(MIDIHDR));
    if (result != MMSYSERR_NOERROR)
        return resultOf(result);
    d.buffers.erase(&header);
    return MidiResult::Ok;
}

MidiResult WinmmMidiStream::queueBuffer(std::uint64_t id, const MidiHeader& header)
{
    WinmmDevice& d = *device_;
    WinmmDevice::Buffer& buffer = *d.buffers.at(&header);
    std::memcpy(buffer.events.data(), header.data, header.bytesRecorded);
    for (std::uint32_t offset = 0; offset < header.bytesRecorded; offset += kBytesPerEvent) {
        std::uint32_t record[kWordsPerEvent];
        std::memcpy(record, buffer.events.data() + offset, kBytesPerEvent);
        const std::uint32_t status = record[2] & 0xFF;
        if (MEVT_EVENTTYPE(record[2]) == MEVT_SHORTMSG && status >= 0xF0) {
            record[2] = static_cast<std::uint32_t>(MEVT_NOP) << 24;
            std::memcpy(buffer.events.data() + offset, record, kBytesPerEvent);
        }
    }
    buffer.header.dwBytesRecorded = header.bytesRecorded;
    buffer.header.dwUser = id;
    return resultOf(midiStreamOut(d.handle, &buffer.header, sizeof(MIDIHDR)));
}

MidiResult WinmmMidiStream::runDevice()
{
    return resultOf(midiStreamRestart(device_->handle));
}

MidiResult WinmmMidiStream::stopDevice()
{
    const MMRESULT result = midiStreamStop(device_->handle);
    // Buffers never handed back are reported dropped all the same, so the
    // player is not left waiting for them.
    static_cast<void>(waitUntilNothingQueued(kReturnTimeout));
    return resultOf(result);
}

}  // namespace vokta
