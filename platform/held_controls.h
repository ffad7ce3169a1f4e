// The steering controls held, by meaning, whatever holds them: a pad's
// buttons are named after the keys they stand for. Left, Right and Down move
// the piece; Up and A turn it clockwise, D anticlockwise. Of the turns, Up
// outranks D and D outranks A.
#pragma once

#include <QElapsedTimer>
#include <array>
#include <cstdint>

#include "engine/steering.h"

namespace stonerush {

enum class Control : uint8_t { Left, Right, Down, Up, A, D };
inline constexpr int controlCount = 6;

using ControlSet = FlagSet<Control>;

// What holding these asks of the falling piece.
SteerSet steeringOf(ControlSet held);

// The controls one source holds. A release counts only once the grace is
// over with no press behind it: X delivers a held key's repeats as
// release+press pairs, and a short tap stays held until a tick can read it.
class HeldControls {
public:
    explicit HeldControls(int releaseGraceMs = 25) : m_graceMs(releaseGraceMs) { m_clock.start(); }

    void press(Control control);
    void release(Control control);
    void releaseAll();
    ControlSet held();

private:
    ControlSet m_down;
    std::array<qint64, controlCount> m_releasePendingSince{};  // 0 = none; ms on m_clock
    bool m_pending = false;                                    // any release waits
    QElapsedTimer m_clock;
    int m_graceMs;
};

}  // namespace stonerush
