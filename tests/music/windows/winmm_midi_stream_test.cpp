#include "music/winmm_midi_stream.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <mmsystem.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "music/system_sound.h"
#include "music/tune.h"

namespace vokta {
namespace {

// Far more than any buffer here takes to play; only a lost notification
// makes a test wait this long.
constexpr auto kPatience = std::chrono::seconds(30);

// What the run is told to find (VOKTA_EXPECT_MIDI_DEVICE): the recording
// device in place of the MIDI mapper, no MIDI output at all, or, unset (on
// Windows itself), whatever the machine has.
enum class ExpectedDevice { Either, Recording, None };

ExpectedDevice expectedDevice()
{
    const char* value = std::getenv("VOKTA_EXPECT_MIDI_DEVICE");
    if (value == nullptr)
        return ExpectedDevice::Either;
    return std::string(value) == "recording" ? ExpectedDevice::Recording : ExpectedDevice::None;
}

// The short messages the recording device has been sent, oldest first;
// nothing when it is not the device that plays.
std::optional<std::vector<std::uint32_t>> recordedMessages()
{
    using Reader = int (*)(DWORD*, int);
    const HMODULE device = GetModuleHandleW(L"midimap.dll");
    const auto read = device
        ? reinterpret_cast<Reader>(reinterpret_cast<void*>(GetProcAddress(device, "recordedMidiMessages")))
        : nullptr;
    if (read == nullptr)
        return std::nullopt;
    std::vector<DWORD> messages(read(nullptr, 0));
    messages.resize(read(messages.data(), static_cast<int>(messages.size())));
    return std::vector<std::uint32_t>(messages.begin(), messages.end());
}

// The messages a tune sends a device: its channel messages, in order.
std::vector<std::uint32_t> channelMessages(const Tune& tune)
{
    std::vector<std::uint32_t> messages;
    for (std::uint32_t i = 0; i + kWordsPerEvent <= tune.size(); i += kWordsPerEvent) {
        const std::uint32_t word = tune.events()[i + 2];
        if ((word & 0xFF) >= 0x80 && (word & 0xFF) < 0xF0)
            messages.push_back(word & 0xFFFFFF);
    }
    return messages;
}

// A compiled tune in a buffer of its own, ready to be queued.
struct Buffer {
    explicit Buffer(const char* text)
    {
        EXPECT_TRUE(tune.compile(text, 9).ok()) << text;
        bytes.assign(reinterpret_cast<const std::uint8_t*>(tune.events()),
                     reinterpret_cast<const std::uint8_t*>(tune.events()) + tune.sizeInBytes());
        header.data = bytes.data();
        header.bufferLength = header.bytesRecorded = tune.sizeInBytes();
    }
    Tune tune;
    std::vector<std::uint8_t> bytes;
    MidiHeader header;
};

// Takes the stream's notifications and checks, at each Done, that the
// buffers are handed back in the order they were queued: the next one is
// done and out of the queue, the ones after it are still queued.
class Watcher {
public:
    explicit Watcher(std::vector<MidiHeader*> order) : order_(std::move(order)) {}

    MidiStream::Notify notifier()
    {
        return [this](StreamMessage message) {
            {
                std::lock_guard lock(mutex_);
                messages_.push_back(message);
                if (message == StreamMessage::Done && onDone_)
                    onDone_(done_);
                if (message == StreamMessage::Done && done_ < order_.size()) {
                    if ((order_[done_]->flags.load() & (kHeaderDone | kHeaderInQueue)) != kHeaderDone)
                        faults_.push_back("buffer " + std::to_string(done_) + " reported before it was done");
                    for (std::size_t later = done_ + 1; later < order_.size(); ++later) {
                        if ((order_[later]->flags.load() & kHeaderDone) != 0 && !stopping_)
                            faults_.push_back("buffer " + std::to_string(later) + " done before buffer " +
                                              std::to_string(done_));
                    }
                }
                done_ += message == StreamMessage::Done;
            }
            changed_.notify_all();
        };
    }

    // Called with the number of Done notifications before this one.
    void onDone(std::function<void(std::size_t)> action) { onDone_ = std::move(action); }
    void stopping() { stopping_ = true; }

    bool waitForDone(std::size_t count)
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, kPatience, [&] { return done_ >= count; });
    }
    std::vector<StreamMessage> messages()
    {
        std::lock_guard lock(mutex_);
        return messages_;
    }
    std::vector<std::string> faults()
    {
        std::lock_guard lock(mutex_);
        return faults_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<MidiHeader*> order_;
    std::function<void(std::size_t)> onDone_;
    std::vector<StreamMessage> messages_;
    std::vector<std::string> faults_;
    std::size_t done_ = 0;
    bool stopping_ = false;
};

// Opens the stream on the default device as the run expects: true when it
// opened, false (having checked the refusal) when no device is to be had.
bool openAsExpected(WinmmMidiStream& stream, MidiStream::Notify notify)
{
    const MidiResult opened = stream.open(kMidiMapper, std::move(notify));
    switch (expectedDevice()) {
    case ExpectedDevice::Recording: EXPECT_EQ(opened, MidiResult::Ok); break;
    case ExpectedDevice::None: EXPECT_EQ(opened, MidiResult::BadDevice); break;
    case ExpectedDevice::Either: break;
    }
    std::printf("MIDI device %s\n", opened == MidiResult::Ok ? "opened" : "not opened: no MIDI output");
    return opened == MidiResult::Ok;
}

class WindowsMidiStream : public ::testing::Test {
protected:
    // Wine's sound driver writes to stderr as it starts; let it do so before
    // a test listens there.
    static void SetUpTestSuite() { midiOutGetNumDevs(); }
};

TEST_F(WindowsMidiStream, PlaysQueuedBuffersInOrderAndReportsEachDone)
{
    Buffer first("o5c64"), second("o5d64e64"), third("(o4ceg)64"), fourth("o6c64");
    Watcher watcher({&first.header, &second.header, &third.header, &fourth.header});
    const std::size_t recordedBefore = recordedMessages().value_or(std::vector<std::uint32_t>{}).size();
    WinmmMidiStream stream;
    if (!openAsExpected(stream, watcher.notifier()))
        return;
    // The fourth is queued from inside the first Done, as the tune player
    // queues its next chunk.
    MidiResult queuedFromTheNotification = MidiResult::NotOpen;
    watcher.onDone([&](std::size_t before) {
        if (before == 0)
            queuedFromTheNotification = stream.out(fourth.header);
    });
    for (Buffer* buffer : {&first, &second, &third, &fourth})
        ASSERT_EQ(stream.prepareHeader(buffer->header), MidiResult::Ok);
    for (Buffer* buffer : {&first, &second, &third})
        ASSERT_EQ(stream.out(buffer->header), MidiResult::Ok);
    EXPECT_EQ(stream.out(first.header), MidiResult::StillPlaying);
    EXPECT_EQ(stream.unprepareHeader(first.header), MidiResult::StillPlaying);
    ASSERT_EQ(stream.restart(), MidiResult::Ok);

    ASSERT_TRUE(watcher.waitForDone(4)) << "the stream stopped reporting";
    EXPECT_EQ(queuedFromTheNotification, MidiResult::Ok);
    EXPECT_EQ(watcher.faults(), std::vector<std::string>{});
    if (auto recorded = recordedMessages()) {
        recorded->erase(recorded->begin(), recorded->begin() + static_cast<std::ptrdiff_t>(recordedBefore));
        std::vector<std::uint32_t> expected;
        for (const Buffer* buffer : {&first, &second, &third, &fourth}) {
            const std::vector<std::uint32_t> own = channelMessages(buffer->tune);
            expected.insert(expected.end(), own.begin(), own.end());
        }
        EXPECT_EQ(*recorded, expected) << "the device got other messages than the tunes, or in another order";
    }
    for (Buffer* buffer : {&first, &second, &third, &fourth})
        EXPECT_EQ(stream.unprepareHeader(buffer->header), MidiResult::Ok);
    EXPECT_EQ(stream.close(), MidiResult::Ok);
    using M = StreamMessage;
    EXPECT_EQ(watcher.messages(), (std::vector<M>{M::Opened, M::Done, M::Done, M::Done, M::Done, M::Closed}));
}

TEST_F(WindowsMidiStream, StopHandsBackEveryQueuedBufferAtOnce)
{
    // Whole notes, seconds long: still playing when stop comes.
    Buffer first("o3c1d1"), second("o3e1f1"), again("o5c64");
    Watcher watcher({&first.header, &second.header});
    WinmmMidiStream stream;
    if (!openAsExpected(stream, watcher.notifier()))
        return;
    watcher.stopping();
    for (Buffer* buffer : {&first, &second}) {
        ASSERT_EQ(stream.prepareHeader(buffer->header), MidiResult::Ok);
        ASSERT_EQ(stream.out(buffer->header), MidiResult::Ok);
    }
    ASSERT_EQ(stream.restart(), MidiResult::Ok);
    ASSERT_EQ(stream.stop(), MidiResult::Ok);
    for (const Buffer* buffer : {&first, &second})
        EXPECT_EQ(buffer->header.flags.load() & (kHeaderDone | kHeaderInQueue), kHeaderDone);
    ASSERT_TRUE(watcher.waitForDone(2));

    // The same header plays again after the stop.
    std::memcpy(first.bytes.data(), again.bytes.data(), again.bytes.size());
    first.header.bytesRecorded = again.header.bytesRecorded;
    ASSERT_EQ(stream.out(first.header), MidiResult::Ok);
    ASSERT_EQ(stream.restart(), MidiResult::Ok);
    ASSERT_TRUE(watcher.waitForDone(3));
    EXPECT_EQ(stream.close(), MidiResult::Ok);
}

TEST_F(WindowsMidiStream, RefusesWhatTheStreamContractRefuses)
{
    Buffer buffer("o5c16");
    WinmmMidiStream stream;
    EXPECT_EQ(stream.prepareHeader(buffer.header), MidiResult::NotOpen);
    EXPECT_EQ(stream.restart(), MidiResult::NotOpen);
    EXPECT_EQ(stream.close(), MidiResult::NotOpen);
    EXPECT_EQ(stream.open(0x7FFF, {}), MidiResult::BadDevice);
    if (!openAsExpected(stream, {}))
        return;
    EXPECT_EQ(stream.open(kMidiMapper, {}), MidiResult::AlreadyOpen);
    EXPECT_EQ(stream.out(buffer.header), MidiResult::Unprepared);
    ASSERT_EQ(stream.prepareHeader(buffer.header), MidiResult::Ok);
    buffer.header.bytesRecorded = kBytesPerEvent + 1;
    EXPECT_EQ(stream.out(buffer.header), MidiResult::InvalidBuffer);
    EXPECT_EQ(stream.unprepareHeader(buffer.header), MidiResult::Ok);
    EXPECT_EQ(buffer.header.flags.load() & kHeaderPrepared, 0u);
    EXPECT_EQ(stream.close(), MidiResult::Ok);
}

int lineCount(const std::string& text)
{
    int lines = 0;
    for (const char c : text)
        lines += c == '\n';
    return lines;
}

TEST_F(WindowsMidiStream, TheGameSoundsThroughTheMidiDeviceOrFallsSilentWithOneLine)
{
    ::testing::internal::CaptureStderr();
    bool audible = false;
    {
        SystemSound sound;
        audible = sound.audible();
        for (const Cue cue : {Cue::Refusal, Cue::Step, Cue::Fanfare, Cue::Step})
            sound.output().play(cue);
    }
    const std::string said = ::testing::internal::GetCapturedStderr();
    if (expectedDevice() != ExpectedDevice::Either) {
        EXPECT_EQ(audible, expectedDevice() == ExpectedDevice::Recording);
    }
    if (audible) {
        EXPECT_EQ(said, "");
    } else {
        EXPECT_EQ(lineCount(said), 1) << said;
        EXPECT_EQ(said.rfind("vokta: sound off: the MIDI stream did not open", 0), 0u) << said;
    }
}

}  // namespace
}  // namespace vokta
