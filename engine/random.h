// Where the pieces' randomness comes from: values 0 <= r < 1.
#pragma once

#include <cstdint>
#include <random>

namespace stonerush {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual float next() = 0;  // 0 <= r < 1
};

// The game's own: seeded once (from the clock at start-up), so the games of
// one run continue the same sequence.
class SeededRandom final : public RandomSource {
public:
    explicit SeededRandom(uint32_t seed) : m_engine(seed) {}
    static SeededRandom fromClock();

    // The top 24 bits of one 32-bit draw: exact in a float, never 1.
    float next() override { return static_cast<float>(m_engine() >> 8) * (1.0f / 16777216.0f); }

private:
    std::mt19937 m_engine;
};

}  // namespace stonerush
