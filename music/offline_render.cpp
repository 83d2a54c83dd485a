#include "music/offline_render.h"

#include <algorithm>
#include <cmath>

namespace vokta {
namespace {

constexpr std::uint64_t kTuneBufferId = 1;

}  // namespace

std::vector<StreamEvent> streamEvents(const Tune& tune)
{
    std::vector<StreamEvent> events(tune.size() / kWordsPerEvent);
    for (std::size_t i = 0; i < events.size(); ++i) {
        events[i] = {tune.events()[i * kWordsPerEvent], tune.events()[i * kWordsPerEvent + 2]};
    }
    return events;
}

std::uint64_t tuneTicks(const Tune& tune)
{
    std::uint64_t ticks = 0;
    for (const StreamEvent& event : streamEvents(tune))
        ticks += event.delta;
    return ticks;
}

std::optional<std::vector<float>> renderTune(const Tune& tune, Synth& synth, int sampleRate, int blockFrames,
                                             std::uint64_t maxFrames)
{
    StreamScheduler scheduler(synth, sampleRate);
    const std::uint64_t frames = scheduler.ticksToSamples(tuneTicks(tune));
    if (frames > maxFrames || blockFrames <= 0)
        return std::nullopt;

    scheduler.queue(kTuneBufferId, streamEvents(tune));
    scheduler.restart();
    // One block past the last event may be rendered; trim it off.
    std::vector<float> stereo(2 * (frames + static_cast<std::uint64_t>(blockFrames)));
    std::vector<std::uint64_t> finished;
    std::size_t rendered = 0;
    while (finished.empty()) {
        scheduler.render(stereo.data() + 2 * rendered, blockFrames, finished);
        rendered += static_cast<std::size_t>(blockFrames);
    }
    stereo.resize(2 * frames);
    return stereo;
}

std::size_t audibleFrames(const std::vector<float>& stereo, float threshold)
{
    const auto last =
        std::find_if(stereo.rbegin(), stereo.rend(), [threshold](float s) { return std::fabs(s) > threshold; });
    const std::size_t samples = static_cast<std::size_t>(stereo.rend() - last);
    return (samples + 1) / 2;
}

}  // namespace vokta
