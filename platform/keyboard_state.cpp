#include "platform/keyboard_state.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <string_view>
#include <utility>

KeyboardState::KeyboardState(QWidget* watchedWindow) : QObject(watchedWindow), window(watchedWindow) {
    clock.start();
    qApp->installEventFilter(this);
}

KeyboardState::~KeyboardState() {
    if (qApp) qApp->removeEventFilter(this);
}

int KeyboardState::VirtualKeyOf(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Left:
            return vk::Left;
        case Qt::Key_Up:
            return vk::Up;
        case Qt::Key_Right:
            return vk::Right;
        case Qt::Key_Down:
            return vk::Down;
        case Qt::Key_Shift:
            return 16;
        case Qt::Key_Control:
            return 17;
        case Qt::Key_Alt:
            return 18;
        case Qt::Key_Space:
            return 32;
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Tab:
            return 9;
        case Qt::Key_Backspace:
            return 8;
        default:
            break;
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return qtKey;  // same codes: 65..90
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return qtKey;  // 48..57
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return 112 + (qtKey - Qt::Key_F1);
    return 0;
}

namespace {

// The letter at a key's place on a US keyboard, from its X key code (evdev
// and the older X key codes agree on the three letter rows).
int LetterAtKeyPosition(quint32 keyCode) {
    static constexpr std::pair<quint32, std::string_view> rows[] = {
        {24, "QWERTYUIOP"}, {38, "ASDFGHJKL"}, {52, "ZXCVBNM"}};
    for (const auto& [first, letters] : rows)
        if (keyCode >= first && keyCode < first + letters.size()) return letters[keyCode - first];
    return 0;
}

}  // namespace

int KeyboardState::VirtualKeyOf(const QKeyEvent& event) {
    const int key = event.key();
    if (const int code = VirtualKeyOf(key)) return code;
    if (key > 0x7f && key < Qt::Key_Escape && QChar::isLetter(char32_t(key)))
        return LetterAtKeyPosition(event.nativeScanCode());
    return 0;
}

bool KeyboardState::BelongsToWindow(QObject* object) const {
    auto* widget = qobject_cast<QWidget*>(object);
    return window && widget && widget->window() == window;
}

void KeyboardState::KeyPressed(int code) {
    down[code] = true;
    releasePendingSince[code] = 0;  // a press right behind a release is an auto-repeat
}

void KeyboardState::KeyReleased(int code, const QKeyEvent& event) {
    if (event.isAutoRepeat()) return;
    // X delivers a held key's repeats as release+press pairs, and not all of
    // them come flagged; a release only counts once no press followed it.
    if (repeatGraceMs <= 0) {
        down[code] = false;
        return;
    }
    releasePendingSince[code] = std::max<qint64>(1, clock.elapsed());
}

void KeyboardState::SettlePendingReleases() {
    const qint64 now = clock.elapsed();
    for (int code = 0; code < 256; ++code) {
        if (releasePendingSince[code] != 0 && now - releasePendingSince[code] >= repeatGraceMs) {
            down[code] = false;
            releasePendingSince[code] = 0;
        }
    }
}

void KeyboardState::GetKeyboardState(uint8_t (&buffer)[256]) {
    SettlePendingReleases();
    for (int code = 0; code < 256; ++code) buffer[code] = down[code] ? 0x80 : 0;
}

void KeyboardState::ReleaseAll() {
    down.fill(false);
    releasePendingSince.fill(0);
}

bool KeyboardState::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            if (!BelongsToWindow(watched)) break;
            auto* key = static_cast<QKeyEvent*>(event);
            const int code = VirtualKeyOf(*key);
            if (code != 0 && window->isEnabled()) {
                if (event->type() == QEvent::KeyPress)
                    KeyPressed(code);
                else
                    KeyReleased(code, *key);
            }
            // Arrow keys steer the piece only: they never move the focus or
            // change a button or the scroll bar in the main window.
            if (code >= vk::Left && code <= vk::Down) return true;
            break;
        }
        case QEvent::ShortcutOverride: {
            // Keep arrow keys from reaching any shortcut of the window.
            if (!BelongsToWindow(watched)) break;
            const int code = VirtualKeyOf(*static_cast<QKeyEvent*>(event));
            if (code >= vk::Left && code <= vk::Down) return true;
            break;
        }
        case QEvent::WindowDeactivate:
        case QEvent::EnabledChange:
        case QEvent::Hide:
            if (watched == window) ReleaseAll();
            break;
        case QEvent::ApplicationDeactivate:
            ReleaseAll();
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}
