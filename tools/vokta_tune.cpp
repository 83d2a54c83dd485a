// vokta-tune: compiles a tune text as the game does and shows, renders or
// plays the result.

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <optional>
#include <string>
#include <vector>

#include "music/midi_stream.h"
#include "music/offline_render.h"
#include "music/stream_scheduler.h"
#include "music/tune.h"
#include "platform/files.h"
#include "platform/program.h"

#ifdef VOKTA_SOUND_FLUIDSYNTH
#include <unistd.h>

#include "music/fluid_synthesizer.h"
#include "music/sdl_audio_output.h"
#include "music/synth_midi_stream.h"
#else
#include "music/winmm_midi_stream.h"
#endif

namespace {

using namespace vokta;

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr std::uint64_t kMaxSeconds = 10 * 60;
constexpr auto kPlayGrace = std::chrono::seconds(5);
#ifdef VOKTA_SOUND_FLUIDSYNTH
constexpr int kSampleRate = SdlAudioOutput::kSampleRate;
constexpr int kRenderBlockFrames = SdlAudioOutput::kFramesPerCallback;
constexpr std::uint64_t kMaxRenderFrames = kMaxSeconds * kSampleRate;
constexpr float kSilenceThreshold = 1e-4f;  // -80 dB: where the release has died away
#endif

constexpr const char* kUsage = "usage: vokta-tune [--channel N] [--wav FILE] [--play] [--] TEXT\n"
                               "Compiles a tune text and prints its events, one per line:\n"
                               "delta ticks, stream id, event word in hex.\n"
                               "  --channel N  MIDI channel 0-15 (default 0; 9 is percussion)\n"
                               "  --wav FILE   also render the tune to FILE, a 48 kHz stereo WAV\n"
                               "  --play       also play the tune on the audio device until it ends\n"
                               "The soundfont is the one the game uses (VOKTA_SOUNDFONT overrides it).\n";

struct Options {
    int channel = 0;
    std::string wavPath;
    bool play = false;
    std::string text;
};

int usageError(const std::string& why)
{
    std::fprintf(stderr, "vokta-tune: %s\n%s", why.c_str(), kUsage);
    return kExitUsage;
}

std::optional<int> parseChannel(const char* text)
{
    if (text == nullptr || std::strlen(text) == 0 || std::strlen(text) > 2)
        return std::nullopt;
    int channel = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9')
            return std::nullopt;
        channel = channel * 10 + (*p - '0');
    }
    if (channel > 15)
        return std::nullopt;
    return channel;
}

// Returns the exit code of a usage error, or nothing when the arguments are good.
std::optional<int> parseArguments(const std::vector<std::string>& arguments, Options& options)
{
    bool haveText = false;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (argument == "--help" || argument == "-h")) {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (!optionsEnded && argument == "--channel") {
            const auto channel = parseChannel(i + 1 < arguments.size() ? arguments[++i].c_str() : nullptr);
            if (!channel)
                return usageError("--channel needs a number from 0 to 15");
            options.channel = *channel;
        } else if (!optionsEnded && argument == "--wav") {
#ifndef VOKTA_SOUND_FLUIDSYNTH
            return usageError("--wav renders with FluidSynth, which this build does not have");
#endif
            if (i + 1 >= arguments.size() || arguments[i + 1].empty())
                return usageError("--wav needs a file name");
            options.wavPath = arguments[++i];
        } else if (!optionsEnded && argument == "--play") {
            options.play = true;
        } else if (!optionsEnded && argument.rfind("--", 0) == 0) {
            return usageError("unknown option " + argument);
        } else if (haveText) {
            return usageError("give one tune text (quote it if it has spaces)");
        } else {
            options.text = argument;
            haveText = true;
        }
    }
    if (!haveText)
        return usageError("no tune text given");
    return std::nullopt;
}

void printEvents(const Tune& tune)
{
    for (std::uint32_t i = 0; i + kWordsPerEvent <= tune.size(); i += kWordsPerEvent) {
        std::printf("%u %u 0x%08X\n", tune.events()[i], tune.events()[i + 1], tune.events()[i + 2]);
    }
}

#ifdef VOKTA_SOUND_FLUIDSYNTH
// Why path cannot take the WAV file, or nothing; asked before anything is
// printed or rendered, and without touching an old file.
std::optional<std::string> unwritableWav(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    if (fs::is_directory(path, error))
        return "it is a folder";
    const std::string folder = fs::path(path).parent_path().string();
    const std::string written = fs::exists(path, error) ? path : folder.empty() ? "." : folder;
    if (access(written.c_str(), W_OK) != 0)
        return std::strerror(errno);
    return std::nullopt;
}

bool loadSynth(FluidSynthesizer& synth)
{
    std::string why;
    const std::string soundfont = findSoundfont(why);
    if (soundfont.empty()) {
        std::fprintf(stderr, "vokta-tune: %s\n", why.c_str());
        return false;
    }
    why = synth.loadSoundfont(soundfont);
    if (!why.empty()) {
        std::fprintf(stderr, "vokta-tune: %s\n", why.c_str());
        return false;
    }
    return true;
}

void putLittleEndian(std::vector<char>& bytes, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// 16-bit PCM stereo, the WAV form every player reads.
std::vector<char> wavBytes(const std::vector<float>& stereo, std::size_t frames)
{
    constexpr std::uint32_t kChannels = 2;
    constexpr std::uint32_t kBytesPerSample = 2;
    const auto dataBytes = static_cast<std::uint32_t>(frames * kChannels * kBytesPerSample);
    std::vector<char> bytes;
    bytes.reserve(44 + dataBytes);
    bytes.insert(bytes.end(), {'R', 'I', 'F', 'F'});
    putLittleEndian(bytes, 36 + dataBytes, 4);
    bytes.insert(bytes.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    putLittleEndian(bytes, 16, 4);  // format chunk size
    putLittleEndian(bytes, 1, 2);   // PCM
    putLittleEndian(bytes, kChannels, 2);
    putLittleEndian(bytes, kSampleRate, 4);
    putLittleEndian(bytes, kSampleRate * kChannels * kBytesPerSample, 4);
    putLittleEndian(bytes, kChannels * kBytesPerSample, 2);
    putLittleEndian(bytes, 8 * kBytesPerSample, 2);
    bytes.insert(bytes.end(), {'d', 'a', 't', 'a'});
    putLittleEndian(bytes, dataBytes, 4);
    for (std::size_t i = 0; i < frames * kChannels; ++i) {
        const float clipped = stereo[i] > 1.0f ? 1.0f : (stereo[i] < -1.0f ? -1.0f : stereo[i]);
        putLittleEndian(bytes, static_cast<std::uint16_t>(static_cast<std::int16_t>(clipped * 32767.0f)), 2);
    }
    return bytes;
}

int writeWav(const Tune& tune, const std::string& path)
{
    FluidSynthesizer synth(kSampleRate);
    if (!loadSynth(synth))
        return kExitFailure;
    const auto stereo = renderTune(tune, synth, kSampleRate, kRenderBlockFrames, kMaxRenderFrames);
    if (!stereo) {
        std::fprintf(stderr, "vokta-tune: the tune lasts more than %llu seconds; not rendered\n",
                     static_cast<unsigned long long>(kMaxSeconds));
        return kExitFailure;
    }
    // The stream runs on to the closing event, one more note length after
    // the last note ends; the file stops once the release has died away.
    const std::vector<char> bytes = wavBytes(*stereo, audibleFrames(*stereo, kSilenceThreshold));
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) {
        std::fprintf(stderr, "vokta-tune: cannot write %s: %s\n", path.c_str(), std::strerror(errno));
        return kExitFailure;
    }
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        // Leave no half-written file behind.
        std::fprintf(stderr, "vokta-tune: writing %s failed\n", path.c_str());
        std::remove(path.c_str());
        return kExitFailure;
    }
    return 0;
}

#endif

// Plays the tune on an open stream and waits for it to end.
int playOn(MidiStream& stream, const Tune& tune, std::chrono::milliseconds length)
{
    std::promise<void> ended;
    std::vector<std::uint8_t> data(tune.sizeInBytes());
    std::memcpy(data.data(), tune.events(), data.size());
    MidiHeader header;
    header.data = data.data();
    header.bufferLength = header.bytesRecorded = tune.sizeInBytes();

    bool endedSet = false;
    MidiResult result = stream.open(kMidiMapper, [&](StreamMessage message) {
        if (message == StreamMessage::Done && !endedSet) {
            endedSet = true;
            ended.set_value();
        }
    });
    if (result == MidiResult::Ok)
        result = stream.prepareHeader(header);
    if (result == MidiResult::Ok)
        result = stream.out(header);
    if (result == MidiResult::Ok)
        result = stream.restart();
    if (result != MidiResult::Ok) {
        std::fprintf(stderr, "vokta-tune: cannot play: %s\n", describe(result));
        return kExitFailure;
    }
    const bool finished = ended.get_future().wait_for(length + kPlayGrace) == std::future_status::ready;
    stream.close();
    if (!finished) {
        std::fprintf(stderr, "vokta-tune: the audio device stopped playing\n");
        return kExitFailure;
    }
    return 0;
}

int playTune(const Tune& tune)
{
    const std::uint64_t ticksPerSecond = kStreamTicksPerQuarter * 1'000'000 / kStreamMicrosecondsPerQuarter;
    const std::uint64_t ticks = tuneTicks(tune);
    if (ticks > kMaxSeconds * ticksPerSecond) {
        std::fprintf(stderr, "vokta-tune: the tune lasts more than %llu seconds; not played\n",
                     static_cast<unsigned long long>(kMaxSeconds));
        return kExitFailure;
    }
    const auto length = std::chrono::milliseconds(1000 * ticks / ticksPerSecond);
#ifdef VOKTA_SOUND_FLUIDSYNTH
    FluidSynthesizer synth(kSampleRate);
    if (!loadSynth(synth))
        return kExitFailure;
    SynthMidiStream stream(synth, kSampleRate);
    SdlAudioOutput device;
    const std::string why = device.open(stream);
    if (!why.empty()) {
        std::fprintf(stderr, "vokta-tune: %s\n", why.c_str());
        return kExitFailure;
    }
    return playOn(stream, tune, length);
#else
    WinmmMidiStream stream;
    return playOn(stream, tune, length);
#endif
}

}  // namespace

int main(int argc, char** argv)
{
    useBinaryStandardStreams();
    Options options;
    if (const auto exitCode = parseArguments(utf8Arguments(argc, argv), options))
        return *exitCode;

#ifdef VOKTA_SOUND_FLUIDSYNTH
    if (const auto problem = options.wavPath.empty() ? std::nullopt : unwritableWav(options.wavPath)) {
        std::fprintf(stderr, "vokta-tune: cannot write %s: %s\n", options.wavPath.c_str(), problem->c_str());
        return kExitFailure;
    }
#endif
    Tune tune;
    const CompileResult compiled = tune.compile(options.text.c_str(), options.channel);
    if (!compiled.ok()) {
        std::fprintf(stderr, "vokta-tune: tune \"%s\": %s\n", options.text.c_str(), compiled.error.c_str());
        return kExitFailure;
    }
    printEvents(tune);
    std::fflush(stdout);

#ifdef VOKTA_SOUND_FLUIDSYNTH
    if (!options.wavPath.empty()) {
        if (const int exitCode = writeWav(tune, options.wavPath); exitCode != 0)
            return exitCode;
    }
#endif
    if (options.play)
        return playTune(tune);
    return 0;
}
