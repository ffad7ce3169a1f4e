// Which steering keys are held down in one window, kept from its key events
// and asked by what they mean (platform/held_controls.h): Left, Right, Down,
// Up, and the A and D keys wherever the layout puts them.
#pragma once

#include <QObject>
#include <QPointer>
#include <optional>

#include "platform/held_controls.h"

class QKeyEvent;
class QWidget;

namespace stonerush {

class HeldKeys : public QObject {
    Q_OBJECT
public:
    // Watches the key events of window and every widget inside it,
    // application-wide, before any widget sees them. Arrow keys steer only:
    // they never reach a button, the slider or a shortcut of that window.
    // A release counts once releaseGraceMs have passed with no press behind
    // it (see HeldControls).
    explicit HeldKeys(QWidget* window, int releaseGraceMs = 25);
    ~HeldKeys() override;

    // The keys held at this moment.
    ControlSet held() { return m_held.held(); }

    // Every key counts as released (focus lost, window disabled, prompt open).
    void releaseAll();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static std::optional<Control> keyOf(const QKeyEvent& event);
    bool belongsToWindow(QObject* object) const;
    bool filterKeyEvent(QObject* watched, QEvent* event);

    QPointer<QWidget> m_window;
    HeldControls m_held;
};

}  // namespace stonerush
