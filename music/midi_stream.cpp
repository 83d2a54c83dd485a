#include "music/midi_stream.h"

namespace vokta {

const char* describe(MidiResult result)
{
    switch (result) {
    case MidiResult::Ok: return "ok";
    case MidiResult::NotOpen: return "the stream is not open";
    case MidiResult::AlreadyOpen: return "the stream is already open";
    case MidiResult::BadDevice: return "no such output device";
    case MidiResult::NotReady: return "the instruments have not loaded";
    case MidiResult::Unprepared: return "the buffer is not prepared";
    case MidiResult::StillPlaying: return "the buffer is still queued";
    case MidiResult::InvalidBuffer: return "the buffer's events cannot be read";
    }
    return "unknown result";
}

}  // namespace vokta
