#include "system/random_source.h"

#include <bit>
#include <cstdint>

namespace desk {

void StandardRandom::seed(double seed)
{
    state_ = std::bit_cast<std::uint64_t>(seed) ^ 0x9E3779B97F4A7C15ULL;
}

float StandardRandom::next()
{
    // splitmix64; the top 24 bits give a float in [0, 1) with every value exactly representable.
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    z ^= z >> 31;
    return float(z >> 40) / 16777216.0f;
}

} // namespace desk
