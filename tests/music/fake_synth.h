#pragma once

#include <atomic>
#include <cstdint>
#include <set>
#include <vector>

#include "music/synth.h"

namespace vokta::test {

// A Synth that records every message with the frame it arrived at, and
// renders the number of notes sounding as every sample, so silence is 0.
class FakeSynth : public Synth {
public:
    struct Message {
        std::uint64_t frame;
        std::uint8_t status;
        std::uint8_t data1;
        std::uint8_t data2;
        bool operator==(const Message&) const = default;
    };

    bool isReady() const override { return ready.load(); }

    void shortMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override
    {
        messages.push_back({framesRendered, status, data1, data2});
        ++messageCount;
        const int key = (status & 0x0F) * 128 + data1;
        if ((status & 0xF0) == 0x90 && data2 > 0)
            sounding.insert(key);
        if ((status & 0xF0) == 0x80 || ((status & 0xF0) == 0x90 && data2 == 0))
            sounding.erase(key);
    }

    void allNotesOff() override
    {
        sounding.clear();
        allNotesOffAt.push_back(framesRendered);
        ++allNotesOffCount;
    }

    void render(float* out, int frames) override
    {
        for (int i = 0; i < 2 * frames; ++i)
            out[i] = static_cast<float>(sounding.size());
        framesRendered += static_cast<std::uint64_t>(frames);
    }

    std::atomic<bool> ready{true};
    std::vector<Message> messages;
    std::vector<std::uint64_t> allNotesOffAt;
    std::set<int> sounding;
    std::uint64_t framesRendered = 0;
    // Readable from other threads while the audio thread renders.
    std::atomic<std::size_t> messageCount{0};
    std::atomic<std::size_t> allNotesOffCount{0};
};

}  // namespace vokta::test
