// A set of the values of a small enumeration (at most 8), one bit each: the
// steering asked of the piece, the controls a player holds.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace stonerush {

template <class Flag>
class FlagSet {
public:
    constexpr FlagSet() = default;
    constexpr FlagSet(std::initializer_list<Flag> flags) {
        for (Flag flag : flags) add(flag);
    }
    constexpr void add(Flag flag) { m_bits |= bit(flag); }
    constexpr bool has(Flag flag) const { return (m_bits & bit(flag)) != 0; }
    constexpr bool empty() const { return m_bits == 0; }
    constexpr FlagSet operator|(FlagSet other) const { return fromBits(m_bits | other.m_bits); }
    constexpr FlagSet operator-(FlagSet other) const { return fromBits(m_bits & ~other.m_bits); }
    bool operator==(const FlagSet&) const = default;

private:
    static constexpr uint8_t bit(Flag flag) { return uint8_t(1u << static_cast<unsigned>(flag)); }
    static constexpr FlagSet fromBits(unsigned bits) {
        FlagSet set;
        set.m_bits = uint8_t(bits);
        return set;
    }
    uint8_t m_bits = 0;
};

}  // namespace stonerush
