#pragma once

// The MidiStream contract, checked the same way on every stream: the native
// build instantiates it for the synthesizer streams, the Windows build for
// the Windows MIDI stream. A stream comes with a driver that has:
//   stream                 the stream, closed;
//   kMissingDevice         a device id the stream has no device for;
//   available()            whether the default device can be opened here;
//   kReports               whether it may mark several buffers finished
//                          before it delivers the first Done (Watcher);
//   playUntilDone(w, n)    plays until w has heard n Done notifications,
//                          false when a generous time passes first;
//   sounded()              the channel messages the device has been sent
//                          since the driver was made, if it can tell.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "music/midi_stream.h"
#include "music/tune.h"

namespace vokta::test {

// Far more than any buffer here takes to play; only a lost notification
// makes a test wait this long.
inline constexpr auto kPatience = std::chrono::seconds(30);

// A compiled tune in a buffer of its own, ready to be prepared.
struct TuneBuffer {
    explicit TuneBuffer(const char* text)
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

// The messages a tune sends a device: its channel messages, in order.
inline std::vector<std::uint32_t> channelMessages(const Tune& tune)
{
    std::vector<std::uint32_t> messages;
    for (std::uint32_t i = 0; i + kWordsPerEvent <= tune.size(); i += kWordsPerEvent) {
        const std::uint32_t word = tune.events()[i + 2];
        if ((word & 0xFF) >= 0x80 && (word & 0xFF) < 0xF0)
            messages.push_back(word & 0xFFFFFF);
    }
    return messages;
}

// Takes a stream's notifications and checks, at each Done, that the
// buffers are handed back in the order they were queued: the next one is
// done and out of the queue, and the ones after it are still queued, or,
// from a stream that may mark several finished before it delivers the
// first Done, done only after those before them.
class Watcher {
public:
    enum class Reports { AsTheyPlay, InBatches };

    explicit Watcher(std::vector<MidiHeader*> order = {}, Reports reports = Reports::AsTheyPlay)
        : order_(std::move(order)), reports_(reports)
    {
    }

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
                    for (std::size_t later = done_ + 1; later < order_.size() && !stopping_; ++later) {
                        if ((order_[later]->flags.load() & kHeaderDone) == 0)
                            continue;
                        const std::size_t before = reports_ == Reports::AsTheyPlay ? done_ : later - 1;
                        if (reports_ == Reports::AsTheyPlay || (order_[before]->flags.load() & kHeaderDone) == 0)
                            faults_.push_back("buffer " + std::to_string(later) + " done before buffer " +
                                              std::to_string(before));
                    }
                }
                done_ += message == StreamMessage::Done;
            }
            changed_.notify_all();
        };
    }

    // Called with the number of Done notifications before this one, from
    // the notification, as the tune player queues its next chunk.
    void onDone(std::function<void(std::size_t)> action) { onDone_ = std::move(action); }
    void stopping() { stopping_ = true; }

    bool waitForDone(std::size_t count)
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, kPatience, [&] { return done_ >= count; });
    }
    std::size_t doneCount()
    {
        std::lock_guard lock(mutex_);
        return done_;
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
    Reports reports_;
    std::function<void(std::size_t)> onDone_;
    std::vector<StreamMessage> messages_;
    std::vector<std::string> faults_;
    std::size_t done_ = 0;
    bool stopping_ = false;
};

// Closes the stream as a test ends, early or not, before the buffers and
// the handler it was given go.
class ClosedAtEnd {
public:
    explicit ClosedAtEnd(MidiStream& stream) : stream_(stream) {}
    ClosedAtEnd(const ClosedAtEnd&) = delete;
    ClosedAtEnd& operator=(const ClosedAtEnd&) = delete;
    ~ClosedAtEnd() { static_cast<void>(stream_.close()); }

private:
    MidiStream& stream_;
};

template <class Driver> class MidiStreamContract : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!Driver::available())
            GTEST_SKIP() << "no MIDI output here";
    }

    Driver driver;
};

TYPED_TEST_SUITE_P(MidiStreamContract);

using M = StreamMessage;

TYPED_TEST_P(MidiStreamContract, RefusesEveryOperationWhileClosedAndASecondOpen)
{
    MidiStream& stream = this->driver.stream;
    TuneBuffer buffer("o5c16");
    Watcher watcher;
    const ClosedAtEnd closing(stream);
    const auto refusesAll = [&](const char* when) {
        EXPECT_EQ(stream.prepareHeader(buffer.header), MidiResult::NotOpen) << when;
        EXPECT_EQ(stream.out(buffer.header), MidiResult::NotOpen) << when;
        EXPECT_EQ(stream.restart(), MidiResult::NotOpen) << when;
        EXPECT_EQ(stream.stop(), MidiResult::NotOpen) << when;
        EXPECT_EQ(stream.unprepareHeader(buffer.header), MidiResult::NotOpen) << when;
        EXPECT_EQ(stream.close(), MidiResult::NotOpen) << when;
    };
    refusesAll("never opened");
    EXPECT_EQ(stream.open(TypeParam::kMissingDevice, watcher.notifier()), MidiResult::BadDevice);
    refusesAll("after a refused open");

    ASSERT_EQ(stream.open(kMidiMapper, nullptr), MidiResult::Ok) << "notifications may go unheard";
    EXPECT_EQ(stream.open(kMidiMapper, watcher.notifier()), MidiResult::AlreadyOpen);
    EXPECT_EQ(stream.open(TypeParam::kMissingDevice, watcher.notifier()), MidiResult::AlreadyOpen);
    ASSERT_EQ(stream.close(), MidiResult::Ok);
    refusesAll("closed");
    EXPECT_EQ(buffer.header.flags.load(), 0u);
    EXPECT_EQ(watcher.messages(), std::vector<M>{}) << "a refused open keeps no handler";
}

TYPED_TEST_P(MidiStreamContract, PreparesQueuesAndUnpreparesByTheHeaderFlags)
{
    MidiStream& stream = this->driver.stream;
    TuneBuffer played("o5c16"), spare("o5d16");
    MidiHeader empty;
    const ClosedAtEnd closing(stream);
    ASSERT_EQ(stream.open(kMidiMapper, nullptr), MidiResult::Ok);

    EXPECT_EQ(stream.prepareHeader(empty), MidiResult::InvalidBuffer) << "no data";
    EXPECT_EQ(empty.flags.load(), 0u);
    EXPECT_EQ(stream.out(played.header), MidiResult::Unprepared);
    EXPECT_EQ(played.header.flags.load(), 0u);
    ASSERT_EQ(stream.prepareHeader(played.header), MidiResult::Ok);
    ASSERT_EQ(stream.prepareHeader(played.header), MidiResult::Ok) << "preparing twice is harmless";
    EXPECT_EQ(played.header.flags.load(), kHeaderPrepared);

    ASSERT_EQ(stream.out(played.header), MidiResult::Ok);
    EXPECT_EQ(played.header.flags.load(), kHeaderPrepared | kHeaderInQueue);
    EXPECT_EQ(stream.out(played.header), MidiResult::StillPlaying);
    EXPECT_EQ(stream.unprepareHeader(played.header), MidiResult::StillPlaying);
    EXPECT_EQ(played.header.flags.load(), kHeaderPrepared | kHeaderInQueue);

    ASSERT_EQ(stream.prepareHeader(spare.header), MidiResult::Ok);
    spare.header.bytesRecorded = kBytesPerEvent + 1;
    EXPECT_EQ(stream.out(spare.header), MidiResult::InvalidBuffer) << "not a whole number of events";
    spare.header.bytesRecorded = spare.header.bufferLength + kBytesPerEvent;
    EXPECT_EQ(stream.out(spare.header), MidiResult::InvalidBuffer) << "more than the buffer holds";
    EXPECT_EQ(spare.header.flags.load(), kHeaderPrepared);

    ASSERT_EQ(stream.stop(), MidiResult::Ok);
    EXPECT_EQ(played.header.flags.load(), kHeaderPrepared | kHeaderDone);
    EXPECT_EQ(stream.unprepareHeader(played.header), MidiResult::Ok);
    EXPECT_EQ(played.header.flags.load(), kHeaderDone);
    EXPECT_EQ(stream.out(played.header), MidiResult::Unprepared);
    EXPECT_EQ(stream.unprepareHeader(played.header), MidiResult::Ok) << "unpreparing twice is harmless";
    EXPECT_EQ(stream.close(), MidiResult::Ok);
    EXPECT_EQ(spare.header.flags.load(), 0u) << "closing unprepares what is still prepared";
}

TYPED_TEST_P(MidiStreamContract, PlaysQueuedBuffersInOrderAndReportsEachDone)
{
    MidiStream& stream = this->driver.stream;
    TuneBuffer first("o5c64"), second("o5d64e64"), third("(o4ceg)64"), fourth("o6c64");
    Watcher watcher({&first.header, &second.header, &third.header, &fourth.header}, TypeParam::kReports);
    MidiResult queuedFromTheNotification = MidiResult::NotOpen;
    const ClosedAtEnd closing(stream);
    ASSERT_EQ(stream.open(kMidiMapper, watcher.notifier()), MidiResult::Ok);
    // The fourth is queued from inside the first Done, as the tune player
    // queues its next chunk.
    watcher.onDone([&](std::size_t before) {
        if (before == 0)
            queuedFromTheNotification = stream.out(fourth.header);
    });
    for (TuneBuffer* buffer : {&first, &second, &third, &fourth})
        ASSERT_EQ(stream.prepareHeader(buffer->header), MidiResult::Ok);
    for (TuneBuffer* buffer : {&first, &second, &third})
        ASSERT_EQ(stream.out(buffer->header), MidiResult::Ok);
    ASSERT_EQ(stream.restart(), MidiResult::Ok);
    EXPECT_EQ(stream.restart(), MidiResult::Ok) << "harmless when it runs";

    ASSERT_TRUE(this->driver.playUntilDone(watcher, 4)) << "the stream stopped reporting";
    EXPECT_EQ(queuedFromTheNotification, MidiResult::Ok);
    EXPECT_EQ(watcher.faults(), std::vector<std::string>{});
    if (const auto sounded = this->driver.sounded()) {
        std::vector<std::uint32_t> expected;
        for (const TuneBuffer* buffer : {&first, &second, &third, &fourth}) {
            const std::vector<std::uint32_t> own = channelMessages(buffer->tune);
            expected.insert(expected.end(), own.begin(), own.end());
        }
        EXPECT_EQ(*sounded, expected) << "the device got other messages than the tunes, or in another order";
    }
    for (TuneBuffer* buffer : {&first, &second, &third, &fourth}) {
        EXPECT_EQ(buffer->header.flags.load(), kHeaderPrepared | kHeaderDone);
        EXPECT_EQ(stream.unprepareHeader(buffer->header), MidiResult::Ok);
    }
    EXPECT_EQ(stream.close(), MidiResult::Ok);
    EXPECT_EQ(watcher.messages(), (std::vector<M>{M::Opened, M::Done, M::Done, M::Done, M::Done, M::Closed}));
}

TYPED_TEST_P(MidiStreamContract, StopHandsBackEveryQueuedBufferAtOnceEachReportedDone)
{
    MidiStream& stream = this->driver.stream;
    // Whole notes, seconds long: still playing when stop comes.
    TuneBuffer first("o3c1d1"), second("o3e1f1"), again("o5c64");
    Watcher watcher({&first.header, &second.header}, TypeParam::kReports);
    const ClosedAtEnd closing(stream);
    ASSERT_EQ(stream.open(kMidiMapper, watcher.notifier()), MidiResult::Ok);
    watcher.stopping();
    for (TuneBuffer* buffer : {&first, &second}) {
        ASSERT_EQ(stream.prepareHeader(buffer->header), MidiResult::Ok);
        ASSERT_EQ(stream.out(buffer->header), MidiResult::Ok);
    }
    ASSERT_EQ(stream.restart(), MidiResult::Ok);
    ASSERT_EQ(stream.stop(), MidiResult::Ok);
    for (const TuneBuffer* buffer : {&first, &second})
        EXPECT_EQ(buffer->header.flags.load(), kHeaderPrepared | kHeaderDone) << "free again at once";
    ASSERT_TRUE(this->driver.playUntilDone(watcher, 2));
    EXPECT_EQ(watcher.messages(), (std::vector<M>{M::Opened, M::Done, M::Done}));
    EXPECT_EQ(watcher.faults(), std::vector<std::string>{});

    // The same header plays again after the stop, from the start.
    std::memcpy(first.bytes.data(), again.bytes.data(), again.bytes.size());
    first.header.bytesRecorded = again.header.bytesRecorded;
    ASSERT_EQ(stream.out(first.header), MidiResult::Ok);
    ASSERT_EQ(stream.restart(), MidiResult::Ok);
    ASSERT_TRUE(this->driver.playUntilDone(watcher, 3));
    if (const auto sounded = this->driver.sounded()) {
        const std::vector<std::uint32_t> expected = channelMessages(again.tune);
        ASSERT_GE(sounded->size(), expected.size());
        EXPECT_EQ(
            std::vector<std::uint32_t>(sounded->end() - static_cast<std::ptrdiff_t>(expected.size()), sounded->end()),
            expected);
    }
    EXPECT_EQ(stream.close(), MidiResult::Ok);
    EXPECT_EQ(watcher.messages(), (std::vector<M>{M::Opened, M::Done, M::Done, M::Done, M::Closed}));
}

TYPED_TEST_P(MidiStreamContract, CloseReportsWhatIsOwedThenClosedAndNothingAfter)
{
    MidiStream& stream = this->driver.stream;
    TuneBuffer first("o5c64"), second("o5d1");
    Watcher watcher, reopened({&first.header}, TypeParam::kReports);
    const ClosedAtEnd closing(stream);
    ASSERT_EQ(stream.open(kMidiMapper, watcher.notifier()), MidiResult::Ok);
    for (TuneBuffer* buffer : {&first, &second}) {
        ASSERT_EQ(stream.prepareHeader(buffer->header), MidiResult::Ok);
        ASSERT_EQ(stream.out(buffer->header), MidiResult::Ok);
    }
    ASSERT_EQ(stream.close(), MidiResult::Ok);
    // All delivered by the time close returns.
    EXPECT_EQ(watcher.messages(), (std::vector<M>{M::Opened, M::Done, M::Done, M::Closed}));
    for (const TuneBuffer* buffer : {&first, &second})
        EXPECT_EQ(buffer->header.flags.load(), kHeaderDone) << "neither queued nor prepared";
    EXPECT_EQ(stream.out(first.header), MidiResult::NotOpen);

    // Opened again, the stream plays for its new handler alone.
    ASSERT_EQ(stream.open(kMidiMapper, reopened.notifier()), MidiResult::Ok);
    ASSERT_EQ(stream.prepareHeader(first.header), MidiResult::Ok);
    ASSERT_EQ(stream.out(first.header), MidiResult::Ok);
    ASSERT_EQ(stream.restart(), MidiResult::Ok);
    ASSERT_TRUE(this->driver.playUntilDone(reopened, 1));
    EXPECT_EQ(stream.close(), MidiResult::Ok);
    EXPECT_EQ(reopened.messages(), (std::vector<M>{M::Opened, M::Done, M::Closed}));
    EXPECT_EQ(watcher.messages(), (std::vector<M>{M::Opened, M::Done, M::Done, M::Closed}));
}

REGISTER_TYPED_TEST_SUITE_P(MidiStreamContract, RefusesEveryOperationWhileClosedAndASecondOpen,
                            PreparesQueuesAndUnpreparesByTheHeaderFlags, PlaysQueuedBuffersInOrderAndReportsEachDone,
                            StopHandsBackEveryQueuedBufferAtOnceEachReportedDone,
                            CloseReportsWhatIsOwedThenClosedAndNothingAfter);

}  // namespace vokta::test
