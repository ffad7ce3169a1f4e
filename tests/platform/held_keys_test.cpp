// The steering keys held in a window, through the real event filter: which
// keys mean what on any layout, the ranking of the turn keys, arrows that
// never reach the window's controls, and the keys let go when the window
// stops taking them.
#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTest>

#include "platform/held_keys.h"
#include "support/offscreen_main.h"

using namespace stonerush;

namespace {

// The meanings held, as letters: L R D (moves), C A (turns), in the order of Steer.
QString meanings(SteerSet held) {
    QString text;
    for (int i = 0; i < 5; ++i)
        if (held.has(Steer(i))) text += QLatin1Char("LRDCA"[i]);
    return text;
}

}  // namespace

class HeldKeysTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QWidget> window;
    QScrollBar* slider = nullptr;  // focused: it would take the arrows itself
    HeldKeys* heldKeys = nullptr;

    void send(QEvent::Type type, const QList<int>& pressed, quint32 place) {
        for (const int key : pressed) {
            QKeyEvent event(type, key, Qt::NoModifier, place, 0, 0);
            QApplication::sendEvent(slider, &event);
        }
    }

private slots:
    void init() {
        window = std::make_unique<QWidget>();
        slider = new QScrollBar(Qt::Horizontal, window.get());
        heldKeys = new HeldKeys(window.get(), /*releaseGraceMs=*/0);
        window->show();
        slider->setFocus();
    }
    void cleanup() { window.reset(); }

    void keys_data() {
        QTest::addColumn<QList<int>>("pressed");
        QTest::addColumn<quint32>("place");  // X key code, for letters of other layouts
        QTest::addColumn<QString>("held");
        QTest::addColumn<QString>("until");  // what makes them count as released
        const auto row = [](const char* name, QList<int> pressed, const char* held, quint32 place = 0,
                            const char* until = "released") {
            QTest::newRow(name) << pressed << place << QString(held) << QString(until);
        };
        row("the arrows", {Qt::Key_Left, Qt::Key_Right, Qt::Key_Down}, "LRD");
        row("Up outranks D", {Qt::Key_D, Qt::Key_Up}, "C");
        row("D outranks A", {Qt::Key_A, Qt::Key_D}, "A");
        row("a turn and a move", {Qt::Key_Up, Qt::Key_Down}, "DC");
        row("other keys", {Qt::Key_W, Qt::Key_S, Qt::Key_Space, Qt::Key_Shift}, "");
        row("Russian, the D key", {0x432}, "A", 40);
        row("French, the Q key types A", {Qt::Key_A}, "C", 24);
        row("the window is deactivated", {Qt::Key_Left, Qt::Key_Up}, "LC", 0, "deactivated");
        row("the window is disabled", {Qt::Key_Left, Qt::Key_Up}, "LC", 0, "disabled");
        row("released by the program", {Qt::Key_Left, Qt::Key_Up}, "LC", 0, "releaseAll");
    }
    void keys() {
        QFETCH(QList<int>, pressed);
        QFETCH(quint32, place);
        QFETCH(QString, until);
        send(QEvent::KeyPress, pressed, place);
        QTEST(meanings(steeringOf(heldKeys->held())), "held");
        QEvent deactivate(QEvent::WindowDeactivate);
        if (until == "deactivated") QApplication::sendEvent(window.get(), &deactivate);
        if (until == "disabled") window->setEnabled(false);
        if (until == "releaseAll") heldKeys->releaseAll();
        if (until == "released") send(QEvent::KeyRelease, pressed, place);
        if (until == "disabled") send(QEvent::KeyPress, pressed, place);  // taken no more
        QCOMPARE(meanings(steeringOf(heldKeys->held())), QString());
        QCOMPARE(slider->value(), 0);  // the arrows steer only
    }

    // X repeats a held key as a release and a press: a read between the two
    // still finds it held. A release with no press behind it counts once the
    // grace is over.
    void autoRepeatKeepsTheKeyHeld() {
        delete heldKeys;
        heldKeys = new HeldKeys(window.get(), /*releaseGraceMs=*/500);
        send(QEvent::KeyPress, {Qt::Key_Down}, 0);
        send(QEvent::KeyRelease, {Qt::Key_Down}, 0);
        QCOMPARE(meanings(steeringOf(heldKeys->held())), QString("D"));
        send(QEvent::KeyPress, {Qt::Key_Down}, 0);
        QTest::qWait(600);
        QCOMPARE(meanings(steeringOf(heldKeys->held())), QString("D"));
        send(QEvent::KeyRelease, {Qt::Key_Down}, 0);
        QTRY_COMPARE(meanings(steeringOf(heldKeys->held())), QString());
    }
};

STONERUSH_QTEST_MAIN(HeldKeysTest)
#include "held_keys_test.moc"
