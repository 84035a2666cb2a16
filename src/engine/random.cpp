#include "random.h"

#include <chrono>

namespace tarmel {

ClockSeededRandom::ClockSeededRandom()
{
    reseed();
}

int ClockSeededRandom::draw(int n)
{
    if (n <= 0)
        return 0;
    return std::uniform_int_distribution<int>(0, n - 1)(engine_);
}

void ClockSeededRandom::reseed()
{
    // Mixed with a running counter: two reseeds within one clock tick must
    // not repeat the same draws.
    static unsigned counter = 0;
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    std::seed_seq seed{static_cast<unsigned>(now), static_cast<unsigned>(now >> 32), ++counter};
    engine_.seed(seed);
}

} // namespace tarmel
