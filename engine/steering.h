// What the player asks of the falling piece at a moment: the keys held, by
// meaning. Of the moves, left wins over right and right over down; of the
// turns, clockwise wins over anticlockwise.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace stonerush {

enum class Steer : uint8_t { Left, Right, Down, TurnClockwise, TurnAnticlockwise };

class SteerSet {
public:
    constexpr SteerSet() = default;
    constexpr SteerSet(std::initializer_list<Steer> held) {
        for (Steer steer : held) add(steer);
    }
    constexpr void add(Steer steer) { m_bits |= bit(steer); }
    constexpr bool has(Steer steer) const { return (m_bits & bit(steer)) != 0; }
    constexpr bool empty() const { return m_bits == 0; }
    bool operator==(const SteerSet&) const = default;

private:
    static constexpr uint8_t bit(Steer steer) { return uint8_t(1u << static_cast<unsigned>(steer)); }
    uint8_t m_bits = 0;
};

}  // namespace stonerush
