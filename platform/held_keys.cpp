#include "platform/held_keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <string_view>
#include <utility>

namespace stonerush {

namespace {

// The letter at a key's place on a US keyboard, from its X key code (evdev
// and the older X key codes agree on the three letter rows).
char letterAtKeyPosition(quint32 keyCode) {
    static constexpr std::pair<quint32, std::string_view> rows[] = {
        {24, "QWERTYUIOP"}, {38, "ASDFGHJKL"}, {52, "ZXCVBNM"}};
    for (const auto& [first, letters] : rows)
        if (keyCode >= first && keyCode < first + letters.size()) return letters[keyCode - first];
    return 0;
}

// The Latin letter a key stands for: as typed on a Latin layout (a French
// keyboard types A on its Q key), and by its place on the keyboard where the
// layout types another script (Russian, Greek, ...).
char latinLetterOf(const QKeyEvent& event) {
    const int key = event.key();
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<char>(key);
    if (key > 0x7f && key < Qt::Key_Escape && QChar::isLetter(char32_t(key)))
        return letterAtKeyPosition(event.nativeScanCode());
    return 0;
}

}  // namespace

HeldKeys::HeldKeys(QWidget* window) : QObject(window), m_window(window) {
    m_clock.start();
    qApp->installEventFilter(this);
}

HeldKeys::~HeldKeys() {
    if (qApp) qApp->removeEventFilter(this);
}

std::optional<HeldKeys::Key> HeldKeys::keyOf(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Left:
            return Key::Left;
        case Qt::Key_Right:
            return Key::Right;
        case Qt::Key_Down:
            return Key::Down;
        case Qt::Key_Up:
            return Key::Up;
        default:
            break;
    }
    switch (latinLetterOf(event)) {
        case 'A':
            return Key::A;
        case 'D':
            return Key::D;
        default:
            return std::nullopt;
    }
}

SteerSet HeldKeys::steering() {
    settlePendingReleases();
    SteerSet held;
    if (isDown(Key::Up) || (isDown(Key::A) && !isDown(Key::D)))
        held.add(Steer::TurnClockwise);
    else if (isDown(Key::D))
        held.add(Steer::TurnAnticlockwise);
    if (isDown(Key::Left)) held.add(Steer::Left);
    if (isDown(Key::Right)) held.add(Steer::Right);
    if (isDown(Key::Down)) held.add(Steer::Down);
    return held;
}

void HeldKeys::releaseAll() {
    m_down.fill(false);
    m_releasePendingSince.fill(0);
}

bool HeldKeys::belongsToWindow(QObject* object) const {
    auto* widget = qobject_cast<QWidget*>(object);
    return m_window && widget && widget->window() == m_window;
}

void HeldKeys::keyPressed(Key key) {
    m_down[static_cast<int>(key)] = true;
    m_releasePendingSince[static_cast<int>(key)] = 0;  // a press right behind a release is an auto-repeat
}

void HeldKeys::keyReleased(Key key, const QKeyEvent& event) {
    if (event.isAutoRepeat()) return;
    // X delivers a held key's repeats as release+press pairs, and not all of
    // them come flagged; a release only counts once no press followed it.
    const int index = static_cast<int>(key);
    if (m_repeatGraceMs <= 0)
        m_down[index] = false;
    else
        m_releasePendingSince[index] = std::max<qint64>(1, m_clock.elapsed());
}

void HeldKeys::settlePendingReleases() {
    const qint64 now = m_clock.elapsed();
    for (int index = 0; index < keyCount; ++index) {
        if (m_releasePendingSince[index] != 0 && now - m_releasePendingSince[index] >= m_repeatGraceMs) {
            m_down[index] = false;
            m_releasePendingSince[index] = 0;
        }
    }
}

// Returns whether the event is taken here: arrow keys steer only.
bool HeldKeys::filterKeyEvent(QObject* watched, QEvent* event) {
    if (!belongsToWindow(watched)) return false;
    const auto& keyEvent = *static_cast<QKeyEvent*>(event);
    const std::optional<Key> key = keyOf(keyEvent);
    if (!key) return false;
    if (event->type() != QEvent::ShortcutOverride && m_window->isEnabled()) {
        if (event->type() == QEvent::KeyPress)
            keyPressed(*key);
        else
            keyReleased(*key, keyEvent);
    }
    return *key == Key::Left || *key == Key::Right || *key == Key::Down || *key == Key::Up;
}

bool HeldKeys::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
            if (filterKeyEvent(watched, event)) return true;
            break;
        case QEvent::WindowDeactivate:
        case QEvent::EnabledChange:
        case QEvent::Hide:
            if (watched == m_window) releaseAll();
            break;
        case QEvent::ApplicationDeactivate:
            releaseAll();
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace stonerush
