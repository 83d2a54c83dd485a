#pragma once

#include <array>
#include <cstdint>

namespace vokta {

// The game's own random generator, for the scatter: the additive feedback
// generator (x[i] = x[i-3] + x[i-31], seeded through 16807 * x mod 2^31 - 1
// and run 310 steps before use) that the GNU C library's rand() has always
// been. Owning it makes a seed scatter the same with any C library, on any
// platform, as it did when the game drew from rand() on Linux.
class GameRandom {
public:
    explicit GameRandom(unsigned seed = 1) { reseed(seed); }

    void reseed(unsigned seed);
    // The next number, from 0 to 2^31 - 1.
    int next();

    static constexpr std::size_t kDegree = 31;
    static constexpr std::size_t kSeparation = 3;

    // Its whole state, to keep a game and continue it exactly: the words and
    // where the two taps stand (front is always kSeparation ahead of rear).
    struct Words {
        std::array<std::uint32_t, kDegree> words{};
        std::size_t front = kSeparation;
    };
    Words words() const { return {state_, front_}; }
    // Continues from kept words; false, changing nothing, for taps that
    // cannot stand where they are said to.
    [[nodiscard]] bool resume(const Words& kept);

    bool operator==(const GameRandom&) const = default;

private:
    std::array<std::uint32_t, kDegree> state_{};
    std::size_t front_ = kSeparation;
    std::size_t rear_ = 0;
};

}  // namespace vokta
