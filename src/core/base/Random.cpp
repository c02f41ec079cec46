#include "core/base/Random.h"

#include <QRandomGenerator>

namespace velmor {

RandomWords systemRandomWords() {
    return [] { return QRandomGenerator::system()->generate64(); };
}

std::uint64_t uniformBelow(const RandomWords& words, std::uint64_t bound) {
    if (bound <= 1)
        return 0;
    // Accept only draws below the largest multiple of bound that fits in 2^64.
    const std::uint64_t rejectFrom = std::uint64_t(0) - (std::uint64_t(0) - bound) % bound;
    for (;;) {
        const std::uint64_t r = words();
        if (rejectFrom == 0 || r < rejectFrom)
            return r % bound;
    }
}

double uniformClosed(const RandomWords& words, double low, double high) {
    constexpr std::uint64_t twoTo53 = std::uint64_t(1) << 53;
    const std::uint64_t r = uniformBelow(words, twoTo53 + 1);
    if (r == twoTo53)
        return high;
    return low + (high - low) * (double(r) / double(twoTo53));
}

} // namespace velmor
