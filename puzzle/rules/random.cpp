#include "puzzle/rules/random.h"

namespace vokta {

namespace {

// Steps thrown away after seeding, ten for every word of state.
constexpr int kWarmUp = 310;

}  // namespace

void GameRandom::reseed(unsigned seed)
{
    if (seed == 0)
        seed = 1;
    // 16807 * x mod (2^31 - 1), by Schrage's method so nothing overflows,
    // from the seed's bits read as a signed 32-bit number: a seed from 2^31
    // up starts negative, as it always did.
    std::int64_t word = static_cast<std::int32_t>(seed);
    state_[0] = seed;
    for (std::size_t i = 1; i < kDegree; ++i) {
        const std::int64_t high = word / 127773;
        const std::int64_t low = word % 127773;
        word = 16807 * low - 2836 * high;
        if (word < 0)
            word += 2147483647;
        state_[i] = static_cast<std::uint32_t>(word);
    }
    front_ = kSeparation;
    rear_ = 0;
    for (int i = 0; i < kWarmUp; ++i)
        next();
}

bool GameRandom::resume(const Words& kept)
{
    if (kept.front >= kDegree)
        return false;
    state_ = kept.words;
    front_ = kept.front;
    rear_ = (kept.front + kDegree - kSeparation) % kDegree;
    return true;
}

int GameRandom::next()
{
    state_[front_] += state_[rear_];
    const auto result = static_cast<int>(state_[front_] >> 1);
    front_ = (front_ + 1) % kDegree;
    rear_ = (rear_ + 1) % kDegree;
    return result;
}

}  // namespace vokta
