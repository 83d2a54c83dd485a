// Built with ThreadSanitizer: the game thread plays, stops and replaces
// tunes while an audio thread renders the stream and the stream's notifier
// thread delivers Done notifications to the player.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "fake_synth.h"
#include "music/synth_midi_stream.h"
#include "music/tune_player.h"
#include "music/tune_sounds.h"

namespace vokta {
namespace {

constexpr int kRate = 48000;
constexpr int kBlockFrames = 256;

// Renders the stream as fast as it can, as an audio device's callback
// thread would (only faster), until stopped.
class AudioThread {
public:
    explicit AudioThread(SynthMidiStream& stream)
        : thread_([this, &stream] {
              std::vector<float> block(2 * kBlockFrames);
              while (running_.load()) {
                  stream.renderAudio(block.data(), kBlockFrames);
                  ++blocks_;
                  std::this_thread::yield();
              }
          })
    {
    }
    ~AudioThread()
    {
        running_ = false;
        thread_.join();
    }
    std::uint64_t blocks() const { return blocks_.load(); }

private:
    std::atomic<bool> running_{true};
    std::atomic<std::uint64_t> blocks_{0};
    std::thread thread_;
};

std::unique_ptr<Tune> longTune()
{
    // Three chunks of program changes with no time between them, so the
    // Done notifications keep queueing chunks while the game thread plays on.
    std::string text;
    for (int i = 0; i < 2500; ++i)
        text += "p1";
    text += "o5c64";
    auto tune = std::make_unique<Tune>();
    EXPECT_TRUE(tune->compile(text.c_str(), 0).ok());
    return tune;
}

TEST(SoundThreads, GameThreadReplacesTunesWhileTheAudioThreadPlays)
{
    test::FakeSynth synth;
    SynthMidiStream stream(synth, kRate);
    std::uint64_t blocks = 0;
    {
        AudioThread audio(stream);
        {
            TunePlayer player;
            TuneSounds sounds(player);
            EXPECT_TRUE(player.open(stream));
            const Cue cues[] = {Cue::Refusal, Cue::Step, Cue::Fanfare, Cue::Step};
            for (int i = 0; i < 1500; ++i) {
                if (i % 10 == 0) {
                    player.stop();
                    player.releaseTune();
                    player.play(longTune());
                    player.restart();
                } else {
                    sounds.play(cues[i % 4]);
                }
                if (i % 100 == 0)
                    std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
            // The audio thread has taken some of the tunes and stops.
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
            while ((synth.messageCount == 0 || synth.allNotesOffCount == 0) &&
                   std::chrono::steady_clock::now() < deadline) {
                std::this_thread::yield();
            }
        }  // teardown while the audio thread still renders
        blocks = audio.blocks();
    }
    EXPECT_GT(blocks, 0u);
    EXPECT_GT(synth.messageCount.load(), 0u);
    EXPECT_GT(synth.allNotesOffCount.load(), 0u);
}

TEST(SoundThreads, StreamReopensAfterClosingWhileAudioRuns)
{
    test::FakeSynth synth;
    SynthMidiStream stream(synth, kRate);
    AudioThread audio(stream);
    for (int round = 0; round < 20; ++round) {
        TunePlayer player;
        TuneSounds sounds(player);
        EXPECT_TRUE(player.open(stream));
        sounds.play(Cue::Fanfare);
        sounds.play(Cue::Step);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

}  // namespace
}  // namespace vokta
