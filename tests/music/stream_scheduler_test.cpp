#include "music/stream_scheduler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <fstream>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "fake_synth.h"
#include "music/offline_render.h"
#include "music/single_thread_midi_stream.h"
#include "music/synth_midi_stream.h"
#include "music/tune.h"
#include "music/tune_player.h"
#include "music/tune_sounds.h"

namespace vokta {
namespace {

using Message = test::FakeSynth::Message;

constexpr int kRate = 48000;
const std::string kFanfare = "p2(o5go6ce)8(o5go6ce)16(o5go6ce)16(o5go6ce)2";

std::vector<StreamEvent> eventsOf(const std::string& text, int channel)
{
    Tune tune;
    EXPECT_TRUE(tune.compile(text.c_str(), channel).ok());
    return streamEvents(tune);
}

// The messages a buffer should produce, each at the frame its ticks fall on.
std::vector<Message> expectedMessages(const std::vector<StreamEvent>& events, std::uint64_t startFrame,
                                      const StreamScheduler& scheduler)
{
    std::vector<Message> messages;
    std::uint64_t ticks = 0;
    for (const StreamEvent& event : events) {
        ticks += event.delta;
        if (event.word == kClosingEvent)
            continue;
        messages.push_back({startFrame + scheduler.ticksToSamples(ticks), static_cast<std::uint8_t>(event.word & 0xFF),
                            static_cast<std::uint8_t>((event.word >> 8) & 0xFF),
                            static_cast<std::uint8_t>((event.word >> 16) & 0xFF)});
    }
    return messages;
}

// Renders blocks until a buffer finishes; returns the frames rendered.
std::uint64_t renderUntilFinished(StreamScheduler& scheduler, int blockFrames, std::vector<std::uint64_t>& finished)
{
    std::vector<float> block(2 * static_cast<std::size_t>(blockFrames));
    std::uint64_t frames = 0;
    const std::size_t before = finished.size();
    while (finished.size() == before && frames < 60u * kRate) {
        scheduler.render(block.data(), blockFrames, finished);
        frames += static_cast<std::uint64_t>(blockFrames);
    }
    return frames;
}

TEST(StreamScheduler, TimingIsAThousandSamplesPerTickAt48kHz)
{
    test::FakeSynth synth;
    StreamScheduler scheduler(synth, kRate);
    EXPECT_EQ(scheduler.ticksToSamples(1), 1000u);
    EXPECT_EQ(scheduler.ticksToSamples(16), kRate / 3u) << "a sixteenth lasts a third of a second";
    EXPECT_EQ(scheduler.ticksToSamples(192), 4u * kRate) << "the fanfare's notes last four seconds";
    StreamScheduler at44k(synth, 44100);
    EXPECT_EQ(at44k.ticksToSamples(4), 3675u);
    EXPECT_EQ(at44k.ticksToSamples(5), 4593u);
}

TEST(StreamScheduler, EventsLandAtTheirExactSampleOffsetsForAnyBlockSize)
{
    const std::vector<StreamEvent> fanfare = eventsOf(kFanfare, 0);
    for (const int blockFrames : {1, 7, 256, 441, 512, 1000, 4096}) {
        test::FakeSynth synth;
        StreamScheduler scheduler(synth, kRate);
        scheduler.queue(7, fanfare);
        scheduler.restart();
        std::vector<std::uint64_t> finished;
        const std::uint64_t frames = renderUntilFinished(scheduler, blockFrames, finished);
        EXPECT_EQ(synth.messages, expectedMessages(fanfare, 0, scheduler)) << blockFrames << " frames per block";
        EXPECT_EQ(finished, std::vector<std::uint64_t>{7});
        // Done comes in the block that holds the closing event, at 320 ticks.
        EXPECT_GT(frames, 320'000u - static_cast<std::uint64_t>(blockFrames)) << blockFrames;
        EXPECT_LE(frames, 320'000u + static_cast<std::uint64_t>(blockFrames)) << blockFrames;
    }
}

TEST(StreamScheduler, BuffersFollowEachOtherWithoutAGap)
{
    test::FakeSynth synth;
    StreamScheduler scheduler(synth, kRate);
    const auto refusal = eventsOf("o5c16", 9);
    const auto step = eventsOf("o5d16", 9);
    scheduler.queue(1, refusal);
    scheduler.queue(2, step);
    scheduler.restart();
    std::vector<std::uint64_t> finished;
    renderUntilFinished(scheduler, 512, finished);
    renderUntilFinished(scheduler, 512, finished);
    EXPECT_EQ(finished, (std::vector<std::uint64_t>{1, 2}));
    std::vector<Message> expected = expectedMessages(refusal, 0, scheduler);
    const std::vector<Message> second = expectedMessages(step, 32'000, scheduler);
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(synth.messages, expected);
}

TEST(StreamScheduler, NothingPlaysUntilRestartAndAnIdleStreamStartsAtOnce)
{
    test::FakeSynth synth;
    StreamScheduler scheduler(synth, kRate);
    std::vector<float> block(2 * 500);
    std::vector<std::uint64_t> finished;
    scheduler.queue(1, eventsOf("o5c16", 9));
    scheduler.render(block.data(), 500, finished);
    EXPECT_TRUE(synth.messages.empty()) << "an opened stream is paused";

    scheduler.restart();
    renderUntilFinished(scheduler, 500, finished);
    for (int i = 0; i < 10; ++i)
        scheduler.render(block.data(), 500, finished);  // idle, running
    const std::uint64_t queuedAt = synth.framesRendered;
    scheduler.queue(2, eventsOf("o5d16", 9));
    renderUntilFinished(scheduler, 500, finished);
    ASSERT_EQ(synth.messages.size(), 4u);
    EXPECT_EQ(synth.messages[0].frame, 500u);
    EXPECT_EQ(synth.messages[2].frame, queuedAt) << "no catching up on the time spent idle";
    EXPECT_EQ(synth.messages[3].frame, queuedAt + 16'000);
}

TEST(StreamScheduler, StopSilencesWithinOneBlockAndDropsWhatIsQueued)
{
    test::FakeSynth synth;
    StreamScheduler scheduler(synth, kRate);
    scheduler.queue(1, eventsOf(kFanfare, 0));
    scheduler.queue(2, eventsOf("o5d16", 9));
    scheduler.restart();
    std::vector<float> block(2 * 512);
    std::vector<std::uint64_t> finished;
    for (int i = 0; i < 10; ++i)
        scheduler.render(block.data(), 512, finished);
    EXPECT_EQ(block.back(), 3.0f) << "the first chord sounds";

    scheduler.stop();
    scheduler.render(block.data(), 512, finished);
    EXPECT_EQ(synth.allNotesOffAt, std::vector<std::uint64_t>{10 * 512});
    EXPECT_TRUE(std::all_of(block.begin(), block.end(), [](float s) { return s == 0.0f; }));

    const std::size_t messagesAtStop = synth.messages.size();
    for (int i = 0; i < 1000; ++i)
        scheduler.render(block.data(), 512, finished);
    EXPECT_EQ(synth.messages.size(), messagesAtStop);
    EXPECT_TRUE(finished.empty()) << "dropped buffers are reported by the stream, not played";

    // Stop rewinds: a new buffer's times count from its own start.
    const std::uint64_t restartAt = synth.framesRendered;
    scheduler.queue(3, eventsOf("o5c16", 9));
    scheduler.restart();
    renderUntilFinished(scheduler, 512, finished);
    EXPECT_EQ(synth.messages.back().frame, restartAt + 16'000);
}

// Notifications collected from the stream's thread.
class Notifications {
public:
    MidiStream::Notify handler()
    {
        return [this](StreamMessage message) {
            std::lock_guard lock(mutex_);
            messages_.push_back(message);
            changed_.notify_all();
        };
    }

    // Waits until count notifications have arrived; returns them.
    std::vector<StreamMessage> waitFor(std::size_t count)
    {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, std::chrono::seconds(5), [&] { return messages_.size() >= count; });
        return messages_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<StreamMessage> messages_;
};

struct PreparedBuffer {
    explicit PreparedBuffer(const std::string& text, int channel = 9)
    {
        Tune tune;
        EXPECT_TRUE(tune.compile(text.c_str(), channel).ok());
        bytes.assign(reinterpret_cast<const std::uint8_t*>(tune.events()),
                     reinterpret_cast<const std::uint8_t*>(tune.events()) + tune.sizeInBytes());
        header.data = bytes.data();
        header.bufferLength = header.bytesRecorded = tune.sizeInBytes();
    }
    std::vector<std::uint8_t> bytes;
    MidiHeader header;
};

using Messages = std::vector<StreamMessage>;

// Renders blocks of 512 frames until done() holds. The audio side takes the
// game thread's commands only when the stream's lock is free, so how many
// blocks pass before a tune starts is not fixed; the limit is in wall-clock
// time and generous. False when it ran out.
template <class Condition> bool renderUntil(SynthMidiStream& stream, Condition done)
{
    std::vector<float> block(2 * 512);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        stream.renderAudio(block.data(), 512);
    }
    return true;
}

// What the contract leaves to each stream: when a buffer starts, how stop
// silences, and the synthesizer's readiness.
TEST(SynthMidiStream, StartsABufferAtABlockAndPlaysItsEventsAtTheirFrames)
{
    test::FakeSynth synth;
    Notifications notifications;
    SynthMidiStream stream(synth, kRate);
    PreparedBuffer buffer("o5c16");
    ASSERT_EQ(stream.open(kMidiMapper, notifications.handler()), MidiResult::Ok);
    ASSERT_EQ(stream.prepareHeader(buffer.header), MidiResult::Ok);
    ASSERT_EQ(stream.out(buffer.header), MidiResult::Ok);
    ASSERT_EQ(stream.restart(), MidiResult::Ok);

    // The audio thread takes the buffer at the start of a block (later if
    // another thread holds the stream's lock just then), and reports it once
    // the closing event, 32,000 frames on, has played.
    ASSERT_TRUE(renderUntil(stream, [&] { return (buffer.header.flags.load() & kHeaderDone) != 0; }));
    EXPECT_EQ(notifications.waitFor(2), (Messages{StreamMessage::Opened, StreamMessage::Done}));
    ASSERT_EQ(synth.messages.size(), 2u);
    const std::uint64_t start = synth.messages[0].frame;
    EXPECT_EQ(start % 512, 0u);
    EXPECT_EQ(synth.messages, (std::vector<Message>{{start, 0x99, 60, 127}, {start + 16'000, 0x89, 60, 127}}));
}

TEST(SynthMidiStream, StopSilencesOnTheAudioThread)
{
    test::FakeSynth synth;
    SynthMidiStream stream(synth, kRate);
    PreparedBuffer first("o5c1");
    PreparedBuffer second("o5d1");
    ASSERT_EQ(stream.open(kMidiMapper, nullptr), MidiResult::Ok);
    for (PreparedBuffer* buffer : {&first, &second}) {
        ASSERT_EQ(stream.prepareHeader(buffer->header), MidiResult::Ok);
        ASSERT_EQ(stream.out(buffer->header), MidiResult::Ok);
    }
    ASSERT_EQ(stream.restart(), MidiResult::Ok);
    ASSERT_TRUE(renderUntil(stream, [&] { return synth.sounding.size() == 1; })) << "the first note sounds";

    ASSERT_EQ(stream.stop(), MidiResult::Ok);
    ASSERT_TRUE(renderUntil(stream, [&] { return !synth.allNotesOffAt.empty(); }));
    EXPECT_EQ(synth.allNotesOffAt.size(), 1u);
    EXPECT_TRUE(synth.sounding.empty());
}

TEST(SynthMidiStream, SkipsABufferWhileTheInstrumentsLoad)
{
    test::FakeSynth synth;
    SynthMidiStream stream(synth, kRate);
    PreparedBuffer buffer("o5c16");
    ASSERT_EQ(stream.open(kMidiMapper, nullptr), MidiResult::Ok);
    ASSERT_EQ(stream.prepareHeader(buffer.header), MidiResult::Ok);
    synth.ready = false;
    EXPECT_EQ(stream.out(buffer.header), MidiResult::NotReady);
    EXPECT_EQ(buffer.header.flags.load(), kHeaderPrepared);
}

TEST(SynthMidiStream, PlayerSoundsThroughItEndToEnd)
{
    test::FakeSynth synth;
    SynthMidiStream stream(synth, kRate);
    TunePlayer player;
    TuneSounds sounds(player);
    ASSERT_TRUE(player.open(stream));
    sounds.play(Cue::Fanfare);
    sounds.play(Cue::Step);
    // The fanfare's 25 messages, then the step's two.
    ASSERT_TRUE(renderUntil(stream, [&] { return synth.messages.size() >= 27; }));
    ASSERT_EQ(synth.messages.size(), 27u);
    const std::uint64_t start = synth.messages.front().frame;
    EXPECT_EQ(synth.messages.back(), (Message{start + 320'000 + 16'000, 0x89, 62, 127}))
        << "the step follows the fanfare's closing event";
}

// The browser's stream: every operation acts at once, and what is owed is
// reported at the end of the next render, never from inside an operation.
TEST(SingleThreadMidiStream, ReportsDoneOnlyWhenItRenders)
{
    test::FakeSynth synth;
    Messages notifications;
    SingleThreadMidiStream stream(synth, kRate);
    PreparedBuffer buffer("o5c16");
    ASSERT_EQ(stream.open(kMidiMapper, [&](StreamMessage message) { notifications.push_back(message); }),
              MidiResult::Ok);
    ASSERT_EQ(stream.prepareHeader(buffer.header), MidiResult::Ok);
    synth.ready = false;
    EXPECT_EQ(stream.out(buffer.header), MidiResult::NotReady);
    EXPECT_EQ(buffer.header.flags.load(), kHeaderPrepared);
    synth.ready = true;
    ASSERT_EQ(stream.out(buffer.header), MidiResult::Ok);
    ASSERT_EQ(stream.stop(), MidiResult::Ok);
    EXPECT_EQ(synth.allNotesOffAt.size(), 1u);
    EXPECT_TRUE(notifications.empty());

    std::vector<float> block(2 * 512);
    stream.renderAudio(block.data(), 512);
    EXPECT_EQ(notifications, (Messages{StreamMessage::Opened, StreamMessage::Done}));
    EXPECT_TRUE(synth.messages.empty()) << "a dropped buffer never plays";

    ASSERT_EQ(stream.out(buffer.header), MidiResult::Ok);
    ASSERT_EQ(stream.restart(), MidiResult::Ok);
    while (synth.framesRendered < 512 + 16'000)
        stream.renderAudio(block.data(), 512);
    EXPECT_EQ(synth.messages, (std::vector<Message>{{512, 0x99, 60, 127}, {512 + 16'000, 0x89, 60, 127}}));
    EXPECT_EQ(notifications.size(), 2u) << "done with its closing event, 32,000 frames on";
    while ((buffer.header.flags.load() & kHeaderDone) == 0)
        stream.renderAudio(block.data(), 512);
    EXPECT_EQ(synth.framesRendered, 64u * 512u) << "the block that holds frame 512 + 32,000";
    EXPECT_EQ(notifications.size(), 3u);
}

TEST(SingleThreadMidiStream, CuesSoundWithTheDesktopsCallingSequences)
{
    test::FakeSynth synth;
    SingleThreadMidiStream stream(synth, kRate);
    TunePlayer player;
    TuneSounds sounds(player);
    ASSERT_TRUE(player.open(stream));
    sounds.play(Cue::Fanfare);
    sounds.play(Cue::Step);
    std::vector<float> block(2 * 2048);
    while (synth.messages.size() < 27)
        stream.renderAudio(block.data(), 2048);
    EXPECT_EQ(synth.messages.back(), (Message{320'000 + 16'000, 0x89, 62, 127}))
        << "the step follows the fanfare's closing event";

    // A refusal cuts off what sounds and plays at once.
    sounds.play(Cue::Fanfare);
    stream.renderAudio(block.data(), 2048);
    sounds.play(Cue::Refusal);
    EXPECT_EQ(synth.allNotesOffAt.back(), synth.framesRendered);
    const std::uint64_t refusedAt = synth.framesRendered;
    const std::size_t before = synth.messages.size();
    while (synth.messages.size() < before + 2)
        stream.renderAudio(block.data(), 2048);
    EXPECT_EQ(std::vector<Message>(synth.messages.end() - 2, synth.messages.end()),
              (std::vector<Message>{{refusedAt, 0x99, 60, 127}, {refusedAt + 16'000, 0x89, 60, 127}}));
}

// The page's soundfont is cut down to what web/page_sound_presets.txt lists;
// a cue playing anything else would be silent in the browser.
TEST(SingleThreadMidiStream, CuesPlayOnlyWhatThePagesSoundfontKeeps)
{
    constexpr int kPercussionChannel = 9;
    constexpr int kPercussionBank = 128;
    std::map<std::pair<int, int>, std::set<int>> played;  // bank and program: keys
    for (const Cue cue : {Cue::Refusal, Cue::Step, Cue::Fanfare}) {
        test::FakeSynth synth;
        SingleThreadMidiStream stream(synth, kRate);
        TunePlayer player;
        TuneSounds sounds(player);
        ASSERT_TRUE(player.open(stream));
        sounds.play(cue);
        std::vector<float> block(2 * kRate);
        for (int second = 0; second < 10; ++second)
            stream.renderAudio(block.data(), kRate);
        int programs[16] = {};
        for (const Message& message : synth.messages) {
            const int channel = message.status & 0x0F;
            if ((message.status & 0xF0) == 0xC0)
                programs[channel] = message.data1;
            if ((message.status & 0xF0) == 0x90 && message.data2 > 0)
                played[{channel == kPercussionChannel ? kPercussionBank : 0, programs[channel]}].insert(message.data1);
        }
    }
    std::set<std::string> lines;
    for (const auto& [preset, keys] : played) {
        std::string line = std::to_string(preset.first) + ":" + std::to_string(preset.second) + ":";
        for (const int key : keys)
            line += std::to_string(key) + (key == *keys.rbegin() ? "" : ",");
        lines.insert(line);
    }
    std::ifstream file(VOKTA_PAGE_SOUND_PRESETS);
    std::set<std::string> listed;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line[0] != '#')
            listed.insert(line);
    }
    EXPECT_EQ(lines, listed);
}

}  // namespace
}  // namespace vokta
