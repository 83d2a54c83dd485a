#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "play/runner.h"

namespace vokta::play {

// Random player actions as vokta-play script lines: keys with and without
// Shift, digits, mouse presses, drags and double clicks at random pixels and
// on pieces and rollers, every menu command, New, Retry, loads of the given
// task files, saves into saveFolder, ticks and camera moves.
class RandomPlayer {
public:
    RandomPlayer(unsigned seed, std::vector<std::string> taskFiles, std::string saveFolder);

    // The next line for game as it stands.
    std::string next(const Game& game);

private:
    int below(int bound) { return static_cast<int>(random_() % static_cast<unsigned>(bound)); }
    std::string pixel();
    std::string buttons();

    std::mt19937 random_;
    std::vector<std::string> taskFiles_;
    std::string saveFolder_;
    std::vector<std::string> pending_;  // the rest of a drag or a held key
};

// Watches a game through a run and names the first rule it finds broken:
// pieces in play overlapping or below the floor; a piece neither selected
// nor falling with nothing under it (after a tick); selection, mode and
// markers disagreeing; a completion reported twice for one arming.
class InvariantChecker {
public:
    // Call before each action.
    void before(const Runner& runner);
    // Call after it; empty when every rule holds.
    std::string after(const Runner& runner, const Action& action);

private:
    bool wasCompleted_ = false;
    std::uint64_t completions_ = 0;
};

// Runs script lines on a fresh runner, checking the invariants after every
// action; the first violation as "line N: what", or empty.
std::string firstViolation(const std::string& modelDirectory, const std::vector<std::string>& lines);

// A short part of lines (its first line kept) that still breaks a rule:
// cut after the line that breaks it, then ever smaller runs of lines taken
// away and the ticks of each tick line halved, again and again until
// nothing more can go or seconds have passed. Lines that break no rule come
// back as they are.
std::vector<std::string> shrink(const std::string& modelDirectory, std::vector<std::string> lines, double seconds);

}  // namespace vokta::play
