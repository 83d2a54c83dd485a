#include "music/winmm_midi_stream.h"

#include <windows.h>

#include <mmsystem.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
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

struct WinmmStreamState {
    // What Windows plays for one prepared header: a copy of its events, so
    // Windows never reads the caller's memory.
    struct Buffer {
        MidiHeader* owner = nullptr;
        MIDIHDR header{};
        std::vector<std::uint8_t> events;
    };

    void returned(const MIDIHDR* header);
    void deliverNotifications();
    MidiResult stopPlaying();

    // Held through every operation, so the operations follow each other
    // whichever threads call them. Windows' thread never takes it.
    std::mutex operations;
    HMIDISTRM handle = nullptr;
    MidiStream::Notify notify;
    std::map<MidiHeader*, std::unique_ptr<Buffer>> buffers;  // the prepared ones
    std::thread notifier;

    // Shared with Windows' thread and the notifier.
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Buffer*> queued;  // in the order they play
    std::vector<StreamMessage> notifications;
    bool closing = false;
};

namespace {

void CALLBACK onStreamMessage(HMIDIOUT, UINT message, DWORD_PTR instance, DWORD_PTR parameter, DWORD_PTR)
{
    // Open and close are reported by the stream itself, in step with the
    // calls; position callbacks are never asked for.
    if (message == MOM_DONE)
        reinterpret_cast<WinmmStreamState*>(instance)->returned(reinterpret_cast<const MIDIHDR*>(parameter));
}

}  // namespace

void WinmmStreamState::returned(const MIDIHDR* header)
{
    {
        std::lock_guard lock(mutex);
        const auto it =
            std::find_if(queued.begin(), queued.end(), [header](const Buffer* b) { return &b->header == header; });
        if (it == queued.end())
            return;
        MidiHeader& owner = *(*it)->owner;
        owner.flags = (owner.flags.load() & ~kHeaderInQueue) | kHeaderDone;
        queued.erase(it);
        notifications.push_back(StreamMessage::Done);
    }
    changed.notify_all();
}

void WinmmStreamState::deliverNotifications()
{
    std::unique_lock lock(mutex);
    for (;;) {
        changed.wait(lock, [this] { return !notifications.empty() || closing; });
        if (notifications.empty())
            return;
        std::vector<StreamMessage> batch;
        batch.swap(notifications);
        lock.unlock();
        if (notify) {
            for (const StreamMessage message : batch)
                notify(message);
        }
        lock.lock();
    }
}

MidiResult WinmmStreamState::stopPlaying()
{
    const MMRESULT result = midiStreamStop(handle);
    std::unique_lock lock(mutex);
    if (!changed.wait_for(lock, kReturnTimeout, [this] { return queued.empty(); })) {
        // Never handed back: reported dropped all the same, so the player
        // is not left waiting for them.
        for (Buffer* buffer : queued) {
            buffer->owner->flags = (buffer->owner->flags.load() & ~kHeaderInQueue) | kHeaderDone;
            notifications.push_back(StreamMessage::Done);
        }
        queued.clear();
        changed.notify_all();
    }
    return resultOf(result);
}

WinmmMidiStream::WinmmMidiStream() : state_(std::make_unique<WinmmStreamState>()) {}

WinmmMidiStream::~WinmmMidiStream()
{
    // Closing an unopened stream is refused harmlessly.
    static_cast<void>(close());
}

MidiResult WinmmMidiStream::open(std::uint32_t deviceId, Notify notify)
{
    WinmmStreamState& s = *state_;
    std::lock_guard serial(s.operations);
    if (s.handle != nullptr)
        return MidiResult::AlreadyOpen;
    UINT device = deviceId == kMidiMapper ? MIDI_MAPPER : deviceId;
    MMRESULT result = midiStreamOpen(&s.handle, &device, 1, reinterpret_cast<DWORD_PTR>(&onStreamMessage),
                                     reinterpret_cast<DWORD_PTR>(&s), CALLBACK_FUNCTION);
    if (result != MMSYSERR_NOERROR) {
        s.handle = nullptr;
        return MidiResult::BadDevice;
    }
    MIDIPROPTIMEDIV division{sizeof(MIDIPROPTIMEDIV), static_cast<DWORD>(kStreamTicksPerQuarter)};
    MIDIPROPTEMPO tempo{sizeof(MIDIPROPTEMPO), static_cast<DWORD>(kStreamMicrosecondsPerQuarter)};
    result = midiStreamProperty(s.handle, reinterpret_cast<LPBYTE>(&division), MIDIPROP_SET | MIDIPROP_TIMEDIV);
    if (result == MMSYSERR_NOERROR)
        result = midiStreamProperty(s.handle, reinterpret_cast<LPBYTE>(&tempo), MIDIPROP_SET | MIDIPROP_TEMPO);
    if (result != MMSYSERR_NOERROR) {
        midiStreamClose(s.handle);
        s.handle = nullptr;
        return MidiResult::BadDevice;
    }
    s.notify = std::move(notify);
    s.closing = false;
    s.notifications.push_back(StreamMessage::Opened);
    s.notifier = std::thread([&s] { s.deliverNotifications(); });
    return MidiResult::Ok;
}

MidiResult WinmmMidiStream::prepareHeader(MidiHeader& header)
{
    WinmmStreamState& s = *state_;
    std::lock_guard serial(s.operations);
    if (s.handle == nullptr)
        return MidiResult::NotOpen;
    if (header.data == nullptr)
        return MidiResult::InvalidBuffer;
    if (!s.buffers.contains(&header)) {
        auto buffer = std::make_unique<WinmmStreamState::Buffer>();
        buffer->owner = &header;
        buffer->events.resize(header.bufferLength);
        buffer->header.lpData = reinterpret_cast<LPSTR>(buffer->events.data());
        buffer->header.dwBufferLength = header.bufferLength;
        const MMRESULT result =
            midiOutPrepareHeader(reinterpret_cast<HMIDIOUT>(s.handle), &buffer->header, sizeof(MIDIHDR));
        if (result != MMSYSERR_NOERROR)
            return resultOf(result);
        s.buffers.emplace(&header, std::move(buffer));
    }
    header.flags |= kHeaderPrepared;
    return MidiResult::Ok;
}

MidiResult WinmmMidiStream::out(MidiHeader& header)
{
    WinmmStreamState& s = *state_;
    std::lock_guard serial(s.operations);
    if (s.handle == nullptr)
        return MidiResult::NotOpen;
    const std::uint32_t flags = header.flags.load();
    const auto found = s.buffers.find(&header);
    if ((flags & kHeaderPrepared) == 0 || found == s.buffers.end())
        return MidiResult::Unprepared;
    if ((flags & kHeaderInQueue) != 0)
        return MidiResult::StillPlaying;
    if (header.bytesRecorded > header.bufferLength || header.bytesRecorded % kBytesPerEvent != 0)
        return MidiResult::InvalidBuffer;

    WinmmStreamState::Buffer& buffer = *found->second;
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
    {
        std::lock_guard lock(s.mutex);
        header.flags = (flags & ~kHeaderDone) | kHeaderInQueue;
        s.queued.push_back(&buffer);
    }
    const MMRESULT result = midiStreamOut(s.handle, &buffer.header, sizeof(MIDIHDR));
    if (result != MMSYSERR_NOERROR) {
        std::lock_guard lock(s.mutex);
        s.queued.erase(std::find(s.queued.begin(), s.queued.end(), &buffer));
        header.flags = flags;
    }
    return resultOf(result);
}

MidiResult WinmmMidiStream::restart()
{
    WinmmStreamState& s = *state_;
    std::lock_guard serial(s.operations);
    if (s.handle == nullptr)
        return MidiResult::NotOpen;
    return resultOf(midiStreamRestart(s.handle));
}

MidiResult WinmmMidiStream::stop()
{
    WinmmStreamState& s = *state_;
    std::lock_guard serial(s.operations);
    if (s.handle == nullptr)
        return MidiResult::NotOpen;
    return s.stopPlaying();
}

MidiResult WinmmMidiStream::unprepareHeader(MidiHeader& header)
{
    WinmmStreamState& s = *state_;
    std::lock_guard serial(s.operations);
    if (s.handle == nullptr)
        return MidiResult::NotOpen;
    if ((header.flags.load() & kHeaderInQueue) != 0)
        return MidiResult::StillPlaying;
    if (const auto found = s.buffers.find(&header); found != s.buffers.end()) {
        const MMRESULT result =
            midiOutUnprepareHeader(reinterpret_cast<HMIDIOUT>(s.handle), &found->second->header, sizeof(MIDIHDR));
        if (result != MMSYSERR_NOERROR)
            return resultOf(result);
        s.buffers.erase(found);
    }
    header.flags &= ~kHeaderPrepared;
    return MidiResult::Ok;
}

MidiResult WinmmMidiStream::close()
{
    WinmmStreamState& s = *state_;
    {
        std::lock_guard serial(s.operations);
        if (s.handle == nullptr)
            return MidiResult::NotOpen;
        s.stopPlaying();
        for (auto& [owner, buffer] : s.buffers) {
            midiOutUnprepareHeader(reinterpret_cast<HMIDIOUT>(s.handle), &buffer->header, sizeof(MIDIHDR));
            owner->flags &= ~kHeaderPrepared;
        }
        s.buffers.clear();
        midiStreamClose(s.handle);
        s.handle = nullptr;
        {
            std::lock_guard lock(s.mutex);
            s.notifications.push_back(StreamMessage::Closed);
            s.closing = true;
        }
        s.changed.notify_all();
    }
    // Outside the operations lock: a notification in flight may call an
    // operation, which then finds the stream closed.
    s.notifier.join();
    std::lock_guard serial(s.operations);
    s.notify = nullptr;
    return MidiResult::Ok;
}

}  // namespace vokta
