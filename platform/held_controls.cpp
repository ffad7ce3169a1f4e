#include "platform/held_controls.h"

#include <algorithm>

namespace stonerush {

SteerSet steeringOf(ControlSet held) {
    SteerSet steer;
    if (held.has(Control::Up) || (held.has(Control::A) && !held.has(Control::D)))
        steer.add(Steer::TurnClockwise);
    else if (held.has(Control::D))
        steer.add(Steer::TurnAnticlockwise);
    if (held.has(Control::Left)) steer.add(Steer::Left);
    if (held.has(Control::Right)) steer.add(Steer::Right);
    if (held.has(Control::Down)) steer.add(Steer::Down);
    return steer;
}

void HeldControls::press(Control control) {
    m_down.add(control);
    m_releasePendingSince[static_cast<int>(control)] = 0;  // a press right behind a release is an auto-repeat
}

void HeldControls::release(Control control) {
    if (!m_down.has(control)) return;
    if (m_graceMs <= 0) {
        m_down = m_down - ControlSet{control};
        return;
    }
    m_releasePendingSince[static_cast<int>(control)] = std::max<qint64>(1, m_clock.elapsed());
    m_pending = true;
}

void HeldControls::releaseAll() {
    m_down = {};
    m_releasePendingSince.fill(0);
    m_pending = false;
}

ControlSet HeldControls::held() {
    if (!m_pending) return m_down;  // no clock read on a tick where nothing was let go
    const qint64 now = m_clock.elapsed();
    m_pending = false;
    for (int index = 0; index < controlCount; ++index) {
        qint64& since = m_releasePendingSince[index];
        if (since == 0) continue;
        if (now - since >= m_graceMs) {
            m_down = m_down - ControlSet{Control(index)};
            since = 0;
        } else {
            m_pending = true;
        }
    }
    return m_down;
}

}  // namespace stonerush
