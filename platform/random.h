// The game's random numbers: single-precision values 0 <= r < 1 from a
// generator seeded once from the clock.
#pragma once

#include <cstdint>
#include <random>

class RandomGenerator {
public:
    void SeedFromClock();
    void Seed(uint32_t seed) { engine.seed(seed); }

    // Built from the top 24 bits of one 32-bit draw, so every value is exact
    // in a float and 1.0 can never come out.
    float Next() { return static_cast<float>(engine() >> 8) * (1.0f / 16777216.0f); }

private:
    std::mt19937 engine;
};
