// Which keys are down, kept from the key events of one window and read like
// a keyboard-state table: 256 bytes indexed by virtual-key code, bit 7 set
// while the key is down.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <array>
#include <cstdint>

class QWidget;
class QKeyEvent;

// Virtual-key codes of the keys the game and its tests care about.
namespace vk {
constexpr int Left = 37, Up = 38, Right = 39, Down = 40, A = 65, D = 68;
}

class KeyboardState : public QObject {
    Q_OBJECT
public:
    // Watches key events for window (and every widget inside it), application-wide,
    // before any widget sees them.
    explicit KeyboardState(QWidget* window);
    ~KeyboardState() override;

    // Fills buffer with the state of every key at this moment.
    void GetKeyboardState(uint8_t (&buffer)[256]);

    // Every key counts as released (focus lost, window disabled, prompt open).
    void ReleaseAll();

    // How long a release waits for the press that would make it an
    // auto-repeat pair before it counts. Tests set 0.
    void SetRepeatGrace(int milliseconds) { repeatGraceMs = milliseconds; }

    // The virtual-key code for a Qt key, or 0 when it has none.
    static int VirtualKeyOf(int qtKey);
    // The same for a key event. A letter key of a non-Latin layout (Russian,
    // Greek, ...) counts as the Latin letter at its place on the keyboard.
    static int VirtualKeyOf(const QKeyEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool BelongsToWindow(QObject* object) const;
    void KeyPressed(int code);
    void KeyReleased(int code, const QKeyEvent& event);
    void SettlePendingReleases();

    QPointer<QWidget> window;
    std::array<bool, 256> down{};
    std::array<qint64, 256> releasePendingSince{};  // 0 = none; ms on `clock`
    QElapsedTimer clock;
    int repeatGraceMs = 25;
};
