#pragma once

#include <cstdint>
#include <functional>

namespace velmor {

// A source of uniformly distributed 64-bit words. Production draws from the system's secure
// generator; tests hand in a seeded one.
using RandomWords = std::function<std::uint64_t()>;

RandomWords systemRandomWords();

// A uniform integer in [0, bound) by rejection sampling, so no value is favoured (bound > 0).
std::uint64_t uniformBelow(const RandomWords& words, std::uint64_t bound);

// A double uniform over the closed range [low, high]: an integer r in [0, 2^53] picks
// low + (high - low) * r / 2^53, with r = 2^53 giving high exactly.
double uniformClosed(const RandomWords& words, double low, double high);

} // namespace velmor
