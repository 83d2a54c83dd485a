#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "puzzle/controller/window_message.h"

namespace vokta::play {

// Writes a game as it goes as a vokta-play script that replays on its own to
// the same state: the seed and view size it started with, then every
// message the routing received, with the ticks between them. Lines are
// written as they come; flush() writes the ticks counted so far and hands
// everything to the file, so a crash loses at most what came since.
class Recorder {
public:
    // out stays the caller's; it must outlive the recorder.
    explicit Recorder(std::FILE* out);
    ~Recorder();

    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // A game scattered by seed.
    void setup(unsigned seed);
    // The view's size in pixels, when it is set or changes.
    void size(int width, int height);
    // A message as the game was handed it (see Shell::setLog). A task file
    // chosen through Load... or Library... is written as a load of that
    // file; the command itself when the picker was cancelled.
    void message(const WindowMessage& message);
    void flush();

private:
    void writeLine(const std::string& line);
    void writePendingTicks();
    void writePendingKey(char typed);

    std::FILE* out_;
    std::uint64_t pendingTicks_ = 0;
    // A key gone down, waiting for the character it types, if any.
    std::optional<WindowMessage> pendingKey_;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace vokta::play
