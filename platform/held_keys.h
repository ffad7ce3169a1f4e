// Which steering keys are held down in one window, kept from its key events
// and asked by what they mean. The keys: Left, Right and Down move the piece;
// Up and A turn it clockwise, D anticlockwise. Of the turns, Up outranks D and
// D outranks A.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <array>
#include <cstdint>
#include <optional>

#include "engine/steering.h"

class QKeyEvent;
class QWidget;

namespace stonerush {

class HeldKeys : public QObject {
    Q_OBJECT
public:
    // Watches the key events of window and every widget inside it,
    // application-wide, before any widget sees them. Arrow keys steer only:
    // they never reach a button, the slider or a shortcut of that window.
    explicit HeldKeys(QWidget* window);
    ~HeldKeys() override;

    // What the keys held at this moment ask for.
    SteerSet steering();

    // Every key counts as released (focus lost, window disabled, prompt open).
    void releaseAll();

    // How long a release waits for the press that would make it an
    // auto-repeat pair before it counts. Tests set 0.
    void setRepeatGrace(int milliseconds) { m_repeatGraceMs = milliseconds; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Key : uint8_t { Left, Right, Down, Up, A, D };
    static constexpr int keyCount = 6;

    static std::optional<Key> keyOf(const QKeyEvent& event);
    bool belongsToWindow(QObject* object) const;
    bool isDown(Key key) const { return m_down[static_cast<int>(key)]; }
    void keyPressed(Key key);
    void keyReleased(Key key, const QKeyEvent& event);
    void settlePendingReleases();
    bool filterKeyEvent(QObject* watched, QEvent* event);

    QPointer<QWidget> m_window;
    std::array<bool, keyCount> m_down{};
    std::array<qint64, keyCount> m_releasePendingSince{};  // 0 = none; ms on m_clock
    QElapsedTimer m_clock;
    int m_repeatGraceMs = 25;
};

}  // namespace stonerush
