#include "music/winmm_midi_stream.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <mmsystem.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "midi_stream_contract.h"
#include "music/system_sound.h"

namespace vokta {
namespace {

// What the run is told to find (VOKTA_EXPECT_MIDI_DEVICE): the recording
// device in place of the MIDI mapper, no MIDI output at all, or, unset (on
// Windows itself), whatever the machine has.
enum class ExpectedDevice { Either, Recording, None };

ExpectedDevice expectedDevice()
{
    const char* value = std::getenv("VOKTA_EXPECT_MIDI_DEVICE");
    if (value == nullptr)
        return ExpectedDevice::Either;
    return std::string(value) == "recording" ? ExpectedDevice::Recording : ExpectedDevice::None;
}

// The short messages the recording device has been sent, oldest first;
// nothing when it is not the device that plays.
std::optional<std::vector<std::uint32_t>> recordedMessages()
{
    using Reader = int (*)(DWORD*, int);
    const HMODULE device = GetModuleHandleW(L"midimap.dll");
    const auto read = device
        ? reinterpret_cast<Reader>(reinterpret_cast<void*>(GetProcAddress(device, "recordedMidiMessages")))
        : nullptr;
    if (read == nullptr)
        return std::nullopt;
    std::vector<DWORD> messages(read(nullptr, 0));
    messages.resize(read(messages.data(), static_cast<int>(messages.size())));
    return std::vector<std::uint32_t>(messages.begin(), messages.end());
}

class WindowsMidiStream : public ::testing::Test {
protected:
    // Wine's sound driver writes to stderr as it starts; let it do so before
    // a test listens there.
    static void SetUpTestSuite() { midiOutGetNumDevs(); }
};

int lineCount(const std::string& text)
{
    int lines = 0;
    for (const char c : text)
        lines += c == '\n';
    return lines;
}

TEST_F(WindowsMidiStream, TheGameSoundsThroughTheMidiDeviceOrFallsSilentWithOneLine)
{
    ::testing::internal::CaptureStderr();
    bool audible = false;
    {
        SystemSound sound;
        audible = sound.audible();
        for (const Cue cue : {Cue::Refusal, Cue::Step, Cue::Fanfare, Cue::Step})
            sound.output().play(cue);
    }
    const std::string said = ::testing::internal::GetCapturedStderr();
    if (expectedDevice() != ExpectedDevice::Either) {
        EXPECT_EQ(audible, expectedDevice() == ExpectedDevice::Recording);
    }
    if (audible) {
        EXPECT_EQ(said, "");
    } else {
        EXPECT_EQ(lineCount(said), 1) << said;
        EXPECT_EQ(said.rfind("vokta: sound off: the MIDI stream did not open", 0), 0u) << said;
    }
}

}  // namespace

namespace test {

// The MidiStream contract on the Windows MIDI stream, played by Windows in
// real time.
struct WinmmStreamDriver {
    static constexpr std::uint32_t kMissingDevice = 0x7FFF;
    static constexpr Watcher::Reports kReports = Watcher::Reports::AsTheyPlay;

    // Whether the default device opens, as the run expects it to.
    static bool available()
    {
        WinmmMidiStream probe;
        const MidiResult opened = probe.open(kMidiMapper, nullptr);
        switch (expectedDevice()) {
        case ExpectedDevice::Recording: EXPECT_EQ(opened, MidiResult::Ok); break;
        case ExpectedDevice::None: EXPECT_EQ(opened, MidiResult::BadDevice); break;
        case ExpectedDevice::Either: break;
        }
        return opened == MidiResult::Ok;
    }

    bool playUntilDone(Watcher& watcher, std::size_t count) { return watcher.waitForDone(count); }

    std::optional<std::vector<std::uint32_t>> sounded() const
    {
        auto recorded = recordedMessages();
        if (recorded)
            recorded->erase(recorded->begin(), recorded->begin() + static_cast<std::ptrdiff_t>(recordedBefore));
        return recorded;
    }

    std::size_t recordedBefore = recordedMessages().value_or(std::vector<std::uint32_t>{}).size();
    WinmmMidiStream stream;
};

INSTANTIATE_TYPED_TEST_SUITE_P(MidiStream, MidiStreamContract, WinmmStreamDriver);

}  // namespace test
}  // namespace vokta
