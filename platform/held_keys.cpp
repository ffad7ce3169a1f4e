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

HeldKeys::HeldKeys(QWidget* window, int releaseGraceMs)
    : QObject(window), m_window(window), m_held(releaseGraceMs) {
    qApp->installEventFilter(this);
}

HeldKeys::~HeldKeys() {
    if (qApp) qApp->removeEventFilter(this);
}

std::optional<Control> HeldKeys::keyOf(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Left:
            return Control::Left;
        case Qt::Key_Right:
            return Control::Right;
        case Qt::Key_Down:
            return Control::Down;
        case Qt::Key_Up:
            return Control::Up;
        default:
            break;
    }
    switch (latinLetterOf(event)) {
        case 'A':
            return Control::A;
        case 'D':
            return Control::D;
        default:
            return std::nullopt;
    }
}

void HeldKeys::releaseAll() {
    m_held.releaseAll();
}

bool HeldKeys::belongsToWindow(QObject* object) const {
    auto* widget = qobject_cast<QWidget*>(object);
    return m_window && widget && widget->window() == m_window;
}

// Returns whether the event is taken here: arrow keys steer only.
bool HeldKeys::filterKeyEvent(QObject* watched, QEvent* event) {
    if (!belongsToWindow(watched)) return false;
    const auto& keyEvent = *static_cast<QKeyEvent*>(event);
    const std::optional<Control> key = keyOf(keyEvent);
    if (!key) return false;
    if (event->type() != QEvent::ShortcutOverride && m_window->isEnabled()) {
        if (event->type() == QEvent::KeyPress)
            m_held.press(*key);
        else if (!keyEvent.isAutoRepeat())
            m_held.release(*key);
    }
    return *key == Control::Left || *key == Control::Right || *key == Control::Down || *key == Control::Up;
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
