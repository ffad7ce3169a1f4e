#include "platform/pad_mapping.h"

#include <optional>

namespace stonerush {

namespace {

std::optional<Control> controlOf(uint16_t button) {
    switch (button) {
        case BTN_DPAD_LEFT:
            return Control::Left;
        case BTN_DPAD_RIGHT:
            return Control::Right;
        case BTN_DPAD_DOWN:
            return Control::Down;
        // The pad's only clockwise button ranks as Up: with both face buttons
        // down the piece turns clockwise, as the game's own rule has it.
        case BTN_SOUTH:
            return Control::Up;
        case BTN_EAST:
            return Control::D;
        default:
            return std::nullopt;
    }
}

}  // namespace

// Twice the offset from the centre against the whole span, in integers: past
// 1/2 of the way out steers, within 1/3 is neutral, in between keeps its side.
void PadMapping::Axis::takeStick(int value) {
    const int64_t span = int64_t(stickRange.maximum) - stickRange.minimum;
    const int64_t offset = 2 * int64_t(value) - stickRange.minimum - stickRange.maximum;
    const int side = offset < 0 ? -1 : 1;
    const int64_t distance = offset < 0 ? -offset : offset;
    if (span <= 0 || 3 * distance < span)
        stick = 0;
    else if (2 * distance >= span)
        stick = side;
    else if (stick != side)
        stick = 0;
}

void PadMapping::takeButton(uint16_t code, bool down) {
    const std::optional<Control> control = controlOf(code);
    if (!control) return;
    m_buttons = down ? m_buttons | ControlSet{*control} : m_buttons - ControlSet{*control};
}

bool PadMapping::take(const input_event& event) {
    const auto sign = [](int value) { return (value > 0) - (value < 0); };
    if (event.type == EV_KEY) {
        if (event.code == BTN_START) return event.value == 1;  // not its repeats
        takeButton(event.code, event.value != 0);
    } else if (event.type == EV_ABS) {
        switch (event.code) {
            case ABS_X:
                m_x.takeStick(event.value);
                break;
            case ABS_Y:
                m_y.takeStick(event.value);
                break;
            case ABS_HAT0X:
                m_x.hat = sign(event.value);
                break;
            case ABS_HAT0Y:
                m_y.hat = sign(event.value);
                break;
            default:
                break;
        }
    }
    return false;
}

ControlSet PadMapping::held() const {
    ControlSet held = m_buttons;
    if (m_x.stick < 0 || m_x.hat < 0) held.add(Control::Left);
    if (m_x.stick > 0 || m_x.hat > 0) held.add(Control::Right);
    if (m_y.stick > 0 || m_y.hat > 0) held.add(Control::Down);  // up steers nothing
    return held;
}

}  // namespace stonerush
