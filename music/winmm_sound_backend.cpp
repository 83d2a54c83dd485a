#include "music/sound_backend.h"
#include "music/winmm_midi_stream.h"

namespace vokta {
namespace {

// Windows' own MIDI output: the stream opens the device itself, so there is
// nothing more to set up here.
class WinmmSoundBackend : public SoundBackend {
public:
    MidiStream& stream() override { return stream_; }

private:
    WinmmMidiStream stream_;
};

}  // namespace

std::unique_ptr<SoundBackend> openSoundBackend(std::string&, const SilenceReport&)
{
    return std::make_unique<WinmmSoundBackend>();
}

}  // namespace vokta
