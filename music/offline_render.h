#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "music/stream_scheduler.h"
#include "music/synth.h"
#include "music/tune.h"

namespace vokta {

// The events of a compiled tune as the stream reads them.
std::vector<StreamEvent> streamEvents(const Tune& tune);

// Ticks from a tune's first event to its closing event.
std::uint64_t tuneTicks(const Tune& tune);

// Renders a tune through a StreamScheduler into synth, as the stream plays
// it, from its start to its closing event, in blocks of blockFrames.
// Returns interleaved stereo at sampleRate, or nothing when the tune would
// last more than maxFrames.
std::optional<std::vector<float>> renderTune(const Tune& tune, Synth& synth, int sampleRate, int blockFrames,
                                             std::uint64_t maxFrames);

// Frames of interleaved stereo up to and including the last sample louder
// than threshold; 0 for silence.
std::size_t audibleFrames(const std::vector<float>& stereo, float threshold);

}  // namespace vokta
