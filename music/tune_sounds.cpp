#include "music/tune_sounds.h"

#include <cstdio>
#include <memory>

namespace vokta {
namespace {

constexpr int kMelodyChannel = 0;
constexpr int kPercussionChannel = 9;  // General MIDI: the note picks a drum

struct CueTune {
    Cue cue;
    const char* text;
    int channel;
    bool stopFirst;  // cut off what sounds, or queue behind it
};

constexpr CueTune kCueTunes[] = {
    {Cue::Refusal, "o5c16", kPercussionChannel, true},
    {Cue::Step, "o5d16", kPercussionChannel, false},
    {Cue::Fanfare, "p2(o5go6ce)8(o5go6ce)16(o5go6ce)16(o5go6ce)2", kMelodyChannel, true},
};

}  // namespace

void TuneSounds::play(Cue cue)
{
    for (const CueTune& entry : kCueTunes) {
        if (entry.cue != cue)
            continue;
        auto tune = std::make_unique<Tune>();
        const CompileResult compiled = tune->compile(entry.text, entry.channel);
        if (!compiled.ok()) {
            std::fprintf(stderr, "vokta: tune \"%s\": %s\n", entry.text, compiled.error.c_str());
            return;
        }
        if (entry.stopFirst)
            player_.stop();
        player_.releaseTune();
        // Results are not examined: a tune the stream cannot take is skipped,
        // and a sound request never fails visibly.
        player_.play(std::move(tune));
        player_.restart();
        return;
    }
}

}  // namespace vokta
