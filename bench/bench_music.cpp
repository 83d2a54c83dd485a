// Sound benchmarks: compiling a tune, and rendering audio through the
// scheduler and FluidSynth as the audio callback does (the target is under
// 2% of one core: under 20 ms per rendered second).

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "music/fluid_synthesizer.h"
#include "music/offline_render.h"
#include "music/stream_scheduler.h"
#include "music/tune.h"

namespace {

using namespace vokta;

constexpr const char* kFanfare = "p2(o5go6ce)8(o5go6ce)16(o5go6ce)16(o5go6ce)2";
constexpr int kSampleRate = 48000;
constexpr int kBlockFrames = 480;  // within the callback's 256-512 frames, and exactly 100 blocks a second

void BM_CompileFanfare(benchmark::State& state)
{
    for (auto _ : state) {
        Tune tune;
        benchmark::DoNotOptimize(tune.compile(kFanfare, 0).size);
        benchmark::DoNotOptimize(tune.events());
    }
}
BENCHMARK(BM_CompileFanfare);

// One second of audio from the start of the fanfare, where all four chords
// strike, in blocks of the audio callback's size.
void BM_RenderFanfareSecond(benchmark::State& state)
{
    std::string why;
    const std::string soundfont = findSoundfont(why);
    FluidSynthesizer synth(kSampleRate);
    if (soundfont.empty() || !(why = synth.loadSoundfont(soundfont)).empty()) {
        state.SkipWithError(why.c_str());
        return;
    }
    Tune tune;
    if (!tune.compile(kFanfare, 0).ok()) {
        state.SkipWithError("the fanfare did not compile");
        return;
    }
    const std::vector<StreamEvent> events = streamEvents(tune);
    StreamScheduler scheduler(synth, kSampleRate);
    std::vector<float> block(2 * kBlockFrames);
    std::vector<std::uint64_t> finished;
    for (auto _ : state) {
        scheduler.stop();
        scheduler.queue(1, events);
        scheduler.restart();
        for (int frames = 0; frames < kSampleRate; frames += kBlockFrames) {
            scheduler.render(block.data(), kBlockFrames, finished);
        }
        benchmark::DoNotOptimize(block.data());
    }
}
BENCHMARK(BM_RenderFanfareSecond)->Unit(benchmark::kMillisecond);

}  // namespace
