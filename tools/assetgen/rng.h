// rng: the generator's only randomness, seeded from the recipes, so two
// builds give the same bytes.
#pragma once
#include <cstdint>

struct Rng {
    uint64_t state;
};

inline uint32_t RngNext(Rng &r)
{
    // xorshift64*
    r.state ^= r.state >> 12;
    r.state ^= r.state << 25;
    r.state ^= r.state >> 27;
    return (uint32_t)((r.state * 0x2545F4914F6CDD1DULL) >> 32);
}

// Uniform in [-1, 1).
inline double RngSigned(Rng &r)
{
    return RngNext(r) / 2147483648.0 - 1.0;
}

// A fixed hash of a lattice point, for value noise.
inline uint32_t HashPoint(uint32_t x, uint32_t y, uint32_t seed)
{
    uint32_t h = x * 0x8DA6B343u ^ y * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    return h;
}
