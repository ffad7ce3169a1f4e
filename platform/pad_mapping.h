// What a pad's input events mean for the game: its D-pad (buttons or a hat),
// its left stick, its south face button (clockwise, as Up), its east face
// button (anticlockwise, as D) and Start. Nothing else of a pad counts. The
// stick has a dead zone with hysteresis: it steers past half its way from the
// centre and stops only back within a third, so a stick resting off centre,
// or wavering at the edge of the zone, steers nothing.
#pragma once

#include <linux/input.h>

#include <cstdint>

#include "platform/held_controls.h"

namespace stonerush {

// The span of an axis as the device reports it (its absinfo).
struct AxisRange {
    int minimum = -32768;
    int maximum = 32767;
};

class PadMapping {
public:
    explicit PadMapping(AxisRange stickX = {}, AxisRange stickY = {}) : m_x{stickX}, m_y{stickY} {}

    // Takes one event; returns true when it presses Start.
    bool take(const input_event& event);

    // What the pad holds now, whenever and however it came to be held.
    ControlSet held() const;

private:
    // Where the stick and the hat point along one axis: -1, 0 or +1.
    struct Axis {
        AxisRange stickRange;
        int stick = 0;
        int hat = 0;
        void takeStick(int value);
    };
    void takeButton(uint16_t code, bool down);

    Axis m_x, m_y;
    ControlSet m_buttons;  // the D-pad's buttons and the face buttons
};

}  // namespace stonerush
