// The MidiStream contract on the two streams that play into a synthesizer.

#include <chrono>
#include <optional>
#include <type_traits>
#include <vector>

#include "fake_synth.h"
#include "midi_stream_contract.h"
#include "music/single_thread_midi_stream.h"
#include "music/synth_midi_stream.h"

namespace vokta::test {

// The test thread renders the audio, faster than real time. The threaded
// stream delivers Done on its notifier thread, so rendered that fast it may
// have finished the next buffers by the time the first Done arrives.
template <class Stream> struct SynthStreamDriver {
    static constexpr std::uint32_t kMissingDevice = 3;
    static constexpr Watcher::Reports kReports =
        std::is_same_v<Stream, SynthMidiStream> ? Watcher::Reports::InBatches : Watcher::Reports::AsTheyPlay;
    static constexpr int kRate = 48000;
    static constexpr int kBlockFrames = 512;
    static bool available() { return true; }

    bool playUntilDone(Watcher& watcher, std::size_t count)
    {
        std::vector<float> block(2 * kBlockFrames);
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (watcher.doneCount() < count) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            stream.renderAudio(block.data(), kBlockFrames);
        }
        return true;
    }

    std::optional<std::vector<std::uint32_t>> sounded() const
    {
        std::vector<std::uint32_t> words;
        for (const FakeSynth::Message& message : synth.messages)
            words.push_back(message.status | message.data1 << 8 | message.data2 << 16);
        return words;
    }

    FakeSynth synth;
    Stream stream{synth, kRate};
};

using SynthStreams = ::testing::Types<SynthStreamDriver<SynthMidiStream>, SynthStreamDriver<SingleThreadMidiStream>>;
INSTANTIATE_TYPED_TEST_SUITE_P(MidiStream, MidiStreamContract, SynthStreams);

}  // namespace vokta::test
