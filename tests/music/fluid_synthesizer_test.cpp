#include "music/fluid_synthesizer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "music/offline_render.h"
#include "music/tune.h"

namespace vokta {
namespace {

constexpr int kRate = 48000;
constexpr int kBlockFrames = 512;
constexpr float kSilence = 1e-4f;  // -80 dB
const std::string kFanfare = "p2(o5go6ce)8(o5go6ce)16(o5go6ce)16(o5go6ce)2";

std::string soundfontOrSkip()
{
    std::string why;
    return findSoundfont(why);
}

std::vector<float> render(FluidSynthesizer& synth, const std::string& text, int channel)
{
    Tune tune;
    EXPECT_TRUE(tune.compile(text.c_str(), channel).ok());
    auto stereo = renderTune(tune, synth, kRate, kBlockFrames, 60u * kRate);
    EXPECT_TRUE(stereo.has_value());
    return stereo.value_or(std::vector<float>{});
}

// Root mean square of the frames from one time to another, in seconds.
double rms(const std::vector<float>& stereo, double from, double to)
{
    const auto first = static_cast<std::size_t>(from * kRate) * 2;
    const auto last = std::min(static_cast<std::size_t>(to * kRate) * 2, stereo.size());
    double sum = 0;
    for (std::size_t i = first; i < last; ++i)
        sum += double(stereo[i]) * stereo[i];
    return last > first ? std::sqrt(sum / double(last - first)) : 0.0;
}

class FluidSynthesizerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        soundfont = soundfontOrSkip();
        if (soundfont.empty())
            GTEST_SKIP() << "no General MIDI soundfont installed";
        ASSERT_EQ(synth.loadSoundfont(soundfont), "");
        ASSERT_TRUE(synth.isReady());
    }

    std::string soundfont;
    FluidSynthesizer synth{kRate};
};

TEST_F(FluidSynthesizerTest, FanfareSoundsForFourSecondsThenDiesAway)
{
    const std::vector<float> stereo = render(synth, kFanfare, 0);
    EXPECT_EQ(stereo.size(), 2u * 320'000) << "the stream runs to the closing event, 320 ticks";
    EXPECT_GT(rms(stereo, 0.0, 0.5), 0.03);
    // The piano fades under the last, long chord, but never falls silent.
    for (double t = 0; t < 3.95; t += 0.1) {
        EXPECT_GT(rms(stereo, t, t + 0.1), 5e-4) << "silent at " << t << " s";
    }
    EXPECT_LT(rms(stereo, 4.1, 4.2), rms(stereo, 3.9, 4.0) / 2) << "the chord ends at 4.0 s";
    const double seconds = double(audibleFrames(stereo, kSilence)) / kRate;
    EXPECT_GT(seconds, 4.0);
    EXPECT_LT(seconds, 5.0) << "the release dies away";
}

TEST_F(FluidSynthesizerTest, ChannelNineIsPercussion)
{
    EXPECT_EQ(synth.channelBank(9), 128);
    EXPECT_EQ(synth.channelBank(0), 0);

    const std::vector<float> drum = render(synth, "o5c16", 9);
    const std::vector<float> piano = render(synth, "o5c16", 0);
    ASSERT_EQ(drum.size(), piano.size());
    EXPECT_GT(rms(drum, 0, 0.34), 0.005);
    EXPECT_GT(rms(piano, 0, 0.34), 0.005);
    double difference = 0;
    for (std::size_t i = 0; i < drum.size(); ++i)
        difference += double(drum[i] - piano[i]) * (drum[i] - piano[i]);
    EXPECT_GT(std::sqrt(difference / double(drum.size())), 0.3 * rms(piano, 0, 0.67))
        << "the same note sounds the same";
}

TEST_F(FluidSynthesizerTest, StopSilencesNotesOnEveryChannel)
{
    std::vector<float> block(2 * kBlockFrames);
    synth.shortMessage(0x90, 60, 127);
    synth.shortMessage(0x93, 64, 127);
    for (int i = 0; i < 20; ++i)
        synth.render(block.data(), kBlockFrames);
    synth.allNotesOff();
    for (int i = 0; i < 400; ++i)
        synth.render(block.data(), kBlockFrames);  // over four seconds of release
    EXPECT_EQ(audibleFrames(block, kSilence), 0u);
}

TEST(FluidSynthesizer, IsSilentUntilASoundfontLoads)
{
    FluidSynthesizer synth(kRate);
    EXPECT_FALSE(synth.isReady());
    EXPECT_EQ(synth.channelBank(9), -1);
    std::vector<float> block(2 * kBlockFrames, 1.0f);
    synth.shortMessage(0x90, 60, 127);
    synth.render(block.data(), kBlockFrames);
    EXPECT_EQ(audibleFrames(block, 0.0f), 0u);
}

TEST(FluidSynthesizer, LoadFailuresSayWhich)
{
    FluidSynthesizer synth(kRate);
    EXPECT_NE(synth.loadSoundfont("/nonexistent/gm.sf2").find("/nonexistent/gm.sf2"), std::string::npos);

    const std::string junk = ::testing::TempDir() + "vokta_junk.sf2";
    std::ofstream(junk) << "this is not a soundfont";
    EXPECT_NE(synth.loadSoundfont(junk).find(junk), std::string::npos);
    EXPECT_FALSE(synth.isReady());
    std::remove(junk.c_str());
}

TEST(FluidSynthesizer, LoadsInTheBackground)
{
    const std::string soundfont = soundfontOrSkip();
    if (soundfont.empty())
        GTEST_SKIP() << "no General MIDI soundfont installed";
    FluidSynthesizer synth(kRate);
    synth.loadSoundfontInBackground(soundfont, [](const std::string& why) { ADD_FAILURE() << why; });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!synth.isReady() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(synth.isReady());

    FluidSynthesizer failing(kRate);
    std::promise<std::string> failure;
    failing.loadSoundfontInBackground("/nonexistent/gm.sf2", [&](const std::string& why) { failure.set_value(why); });
    auto reported = failure.get_future();
    ASSERT_EQ(reported.wait_for(std::chrono::seconds(20)), std::future_status::ready);
    EXPECT_NE(reported.get().find("/nonexistent/gm.sf2"), std::string::npos);
    EXPECT_FALSE(failing.isReady());
}

}  // namespace
}  // namespace vokta
