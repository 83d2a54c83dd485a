#include "music/tune_player.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "music/tune_sounds.h"
#include "recording_stream.h"

namespace vokta {
namespace {

using Calls = std::vector<std::string>;

std::vector<std::uint8_t> bytesOf(const std::string& text, int channel)
{
    Tune tune;
    EXPECT_TRUE(tune.compile(text.c_str(), channel).ok());
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(tune.events());
    return {bytes, bytes + tune.sizeInBytes()};
}

std::unique_ptr<Tune> tuneOf(const std::string& text)
{
    auto tune = std::make_unique<Tune>();
    EXPECT_TRUE(tune->compile(text.c_str(), 0).ok());
    return tune;
}

const std::string kFanfare = "p2(o5go6ce)8(o5go6ce)16(o5go6ce)16(o5go6ce)2";

// A player open on a recording stream, with the calls of opening cleared.
class TunePlayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(player->open(stream));
        stream.calls.clear();
    }

    // The calls made since the last look.
    Calls newCalls()
    {
        Calls calls = stream.calls;
        stream.calls.clear();
        return calls;
    }

    test::RecordingStream stream;
    std::optional<TunePlayer> player{std::in_place};
    TuneSounds sounds{*player};
};

TEST_F(TunePlayerTest, RefusalStopsQueuesAndRestarts)
{
    sounds.play(Cue::Refusal);
    EXPECT_EQ(newCalls(), (Calls{"stop", "prepare", "out 36", "restart"}));
    ASSERT_EQ(stream.queue.size(), 1u);
    EXPECT_EQ(stream.queue.front().data, bytesOf("o5c16", 9));
}

TEST_F(TunePlayerTest, FanfareStopsQueuesAndRestartsOnChannelZero)
{
    sounds.play(Cue::Fanfare);
    EXPECT_EQ(newCalls(), (Calls{"stop", "prepare", "out 312", "restart"}));
    ASSERT_EQ(stream.queue.size(), 1u);
    EXPECT_EQ(stream.queue.front().data, bytesOf(kFanfare, 0));
}

TEST_F(TunePlayerTest, StepQueuesWithoutStopping)
{
    sounds.play(Cue::Step);
    EXPECT_EQ(newCalls(), (Calls{"prepare", "out 36", "restart"}));
    ASSERT_EQ(stream.queue.size(), 1u);
    EXPECT_EQ(stream.queue.front().data, bytesOf("o5d16", 9));
}

TEST_F(TunePlayerTest, SecondRefusalCutsTheFirstAndStartsFromItsBeginning)
{
    sounds.play(Cue::Refusal);
    newCalls();
    sounds.play(Cue::Refusal);
    EXPECT_EQ(newCalls(), (Calls{"stop", "prepare", "out 36", "restart"}))
        << "the other buffer is prepared on first use";
    ASSERT_EQ(stream.queue.size(), 1u);
    EXPECT_EQ(stream.queue.front().data, bytesOf("o5c16", 9));

    sounds.play(Cue::Refusal);
    EXPECT_EQ(newCalls(), (Calls{"stop", "out 36", "restart"})) << "buffers stay prepared";

    stream.deliverStaleDone();
    EXPECT_EQ(newCalls(), Calls{}) << "the Done that stop caused queues nothing";
    stream.finishFront();
    EXPECT_EQ(newCalls(), Calls{}) << "the Done after the last chunk queues and restarts nothing";
}

TEST_F(TunePlayerTest, StepIsHeardAfterTheFanfareNotInsteadOfIt)
{
    sounds.play(Cue::Fanfare);
    sounds.play(Cue::Step);
    newCalls();
    ASSERT_EQ(stream.queue.size(), 2u);

    stream.finishFront();
    stream.finishFront();
    EXPECT_EQ(newCalls(), Calls{});
    EXPECT_EQ(stream.played, (std::vector<std::vector<std::uint8_t>>{bytesOf(kFanfare, 0), bytesOf("o5d16", 9)}));
}

TEST_F(TunePlayerTest, StepWhileBothBuffersAreQueuedWaitsForOne)
{
    sounds.play(Cue::Fanfare);
    sounds.play(Cue::Step);
    sounds.play(Cue::Step);
    EXPECT_EQ(stream.queue.size(), 2u) << "the fanfare's buffer is still being played";

    newCalls();
    stream.finishFront();  // checks the fanfare was not overwritten
    EXPECT_EQ(newCalls(), (Calls{"out 36", "restart"}));
    stream.finishFront();
    stream.finishFront();
    EXPECT_EQ(stream.played.size(), 3u);
    EXPECT_EQ(stream.played.back(), bytesOf("o5d16", 9));
}

TEST_F(TunePlayerTest, TuneOfExactlyOneBufferIsOneChunk)
{
    auto tune = tuneOf("p1" + std::string(511, 'c'));  // 1024 events
    ASSERT_EQ(tune->sizeInBytes(), TunePlayer::kBufferBytes);
    player->play(std::move(tune));
    player->restart();
    EXPECT_EQ(newCalls(), (Calls{"prepare", "out 12288", "restart"}));
    stream.finishFront();
    EXPECT_EQ(newCalls(), Calls{});
}

TEST_F(TunePlayerTest, OneEventMoreIsSentAsASecondChunk)
{
    auto tune = tuneOf("p1p1" + std::string(511, 'c'));  // 1025 events
    ASSERT_EQ(tune->sizeInBytes(), TunePlayer::kBufferBytes + kBytesPerEvent);
    player->play(std::move(tune));
    player->restart();
    EXPECT_EQ(newCalls(), (Calls{"prepare", "out 12288", "restart"}));

    stream.finishFront();
    EXPECT_EQ(newCalls(), (Calls{"prepare", "out 12", "restart"}));
    ASSERT_EQ(stream.queue.size(), 1u);
    std::uint32_t last[3];
    std::memcpy(last, stream.queue.front().data.data(), sizeof last);
    EXPECT_EQ(last[2], kClosingEvent) << "the second chunk holds the closing event alone";

    stream.finishFront();
    EXPECT_EQ(newCalls(), Calls{});
}

TEST_F(TunePlayerTest, OnlyDoneNotificationsContinueATune)
{
    player->play(tuneOf("p1p1" + std::string(511, 'c')));
    newCalls();
    stream.notify(StreamMessage::Opened);
    stream.notify(StreamMessage::Closed);
    EXPECT_EQ(newCalls(), Calls{});
}

TEST_F(TunePlayerTest, ReleasingTheTuneLeavesTheQueuedChunkIntact)
{
    sounds.play(Cue::Fanfare);
    player->releaseTune();
    stream.finishFront();
    EXPECT_EQ(stream.played.front(), bytesOf(kFanfare, 0));
}

TEST_F(TunePlayerTest, NullTuneIsRefused)
{
    sounds.play(Cue::Refusal);
    newCalls();
    EXPECT_FALSE(player->play(nullptr));
    EXPECT_EQ(newCalls(), Calls{});
    EXPECT_FALSE(player->open(stream)) << "an open player refuses a second open";
}

TEST_F(TunePlayerTest, TeardownStopsUnpreparesAndCloses)
{
    sounds.play(Cue::Fanfare);
    sounds.play(Cue::Step);
    newCalls();
    player.reset();
    EXPECT_EQ(newCalls(), (Calls{"stop", "unprepare", "unprepare", "close"}));
    EXPECT_TRUE(stream.queue.empty());
}

TEST(TunePlayerWithoutStream, PlaysAndTearsDownQuietlyWhenNeverOpened)
{
    test::RecordingStream stream;
    {
        TunePlayer player;
        TuneSounds sounds(player);
        sounds.play(Cue::Refusal);
        sounds.play(Cue::Step);
        EXPECT_FALSE(player.restart());
        EXPECT_EQ(player.lastResult(), MidiResult::NotOpen);
    }
    EXPECT_EQ(stream.calls, Calls{});
}

TEST(TunePlayerWithoutStream, StaysSilentWhenTheStreamFailsToOpen)
{
    test::RecordingStream stream;
    stream.openResult = MidiResult::BadDevice;
    {
        TunePlayer player;
        EXPECT_FALSE(player.open(stream));
        TuneSounds sounds(player);
        sounds.play(Cue::Fanfare);
    }
    EXPECT_EQ(stream.calls, Calls{"open"});
}

}  // namespace
}  // namespace vokta
