// Pads as the game reads them, fed recorded input events through a socket
// pair, or through FIFOs in a folder standing in for /dev/input: what the
// D-pad, the hat, the stick and the buttons hold, held input steering as keys
// do, pads coming and going, and input that counts only while keys would.
// Last, a pad the kernel makes, where it can (uinput).
#include <fcntl.h>
#include <libevdev/libevdev-uinput.h>
#include <linux/input.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDialog>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "platform/pad.h"
#include "platform/pad_watcher.h"
#include "support/offscreen_main.h"

using namespace stonerush;
using Events = QList<int>;  // type, code, value; ...

class PadTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QWidget> window;
    std::unique_ptr<QTemporaryDir> folder;  // for /dev/input
    int writer = -1;
    std::unique_ptr<Pad> pad;  // on a socket pair, its stick spanning 0 to 255

    static Events press(int button, int value = 1) { return {EV_KEY, button, value}; }
    static Events move(int axis, int value) { return {EV_ABS, axis, value}; }
    // Each event with its SYN_REPORT, as a device sends them; then the time
    // to read them.
    static void send(int fd, const Events& events) {
        for (qsizetype i = 0; i + 2 < events.size(); i += 3) {
            const input_event records[] = {{{}, uint16_t(events[i]), uint16_t(events[i + 1]), events[i + 2]},
                                           {{}, EV_SYN, SYN_REPORT, 0}};
            QCOMPARE(::write(fd, records, sizeof records), ssize_t(sizeof records));
        }
        QTest::qWait(40);
    }
    // The meanings held, as letters: L R D (moves), C A (turns), in the order of Steer.
    static QString meanings(ControlSet held) {
        QString text;
        for (int i = 0; i < 5; ++i)
            if (steeringOf(held).has(Steer(i))) text += QLatin1Char("LRDCA"[i]);
        return text;
    }
    // A pad plugged in; its writing end once the watcher reads it (opening
    // fails till then), or at once with O_RDWR.
    int plugIn(const char* name, int access = O_WRONLY) {
        const QByteArray path = QFile::encodeName(folder->filePath(name));
        ::mkfifo(path, 0600);
        int fd = -1;
        for (int wait = 0; fd < 0 && wait < 100; ++wait, QTest::qWait(20))
            fd = ::open(path, access | O_NONBLOCK | O_CLOEXEC);
        return fd;
    }

private slots:
    void init() {
        window = std::make_unique<QWidget>();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        folder = std::make_unique<QTemporaryDir>();
        int ends[2];
        QCOMPARE(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends), 0);
        writer = ends[1];
        pad = std::make_unique<Pad>(ends[0], PadMapping({0, 255}, {0, 255}), [] { return true; });
    }
    void cleanup() {
        pad.reset();
        ::close(writer);
        window.reset();
    }

    void mapping_data() {
        QTest::addColumn<Events>("events");
        QTest::addColumn<QString>("held");
        QTest::addColumn<int>("starts");
        const auto row = [](const char* name, Events events, const char* held, int starts = 0) {
            QTest::newRow(name) << events << QString(held) << starts;
        };
        row("D-pad buttons", press(BTN_DPAD_LEFT) + press(BTN_DPAD_RIGHT) + press(BTN_DPAD_DOWN), "LRD");
        row("D-pad button let go", press(BTN_DPAD_LEFT) + press(BTN_DPAD_LEFT, 0), "");
        row("hat left and down", move(ABS_HAT0X, -1) + move(ABS_HAT0Y, 1), "LD");
        row("hat right, back", move(ABS_HAT0X, 1) + move(ABS_HAT0X, 0), "");
        row("up steers nothing", move(ABS_HAT0Y, -1) + press(BTN_DPAD_UP) + move(ABS_Y, 0), "");
        row("stick out", move(ABS_X, 0) + move(ABS_Y, 255), "LD");
        row("stick half way out", move(ABS_X, 192), "R");
        row("stick resting off centre", move(ABS_X, 170) + move(ABS_Y, 170), "");
        row("stick coming back", move(ABS_X, 0) + move(ABS_X, 81), "L");
        row("stick back within a third", move(ABS_X, 0) + move(ABS_X, 86), "");
        row("stick across", move(ABS_X, 0) + move(ABS_X, 255), "R");
        row("east", press(BTN_EAST), "A");
        row("south outranks east", press(BTN_SOUTH) + press(BTN_EAST), "C");
        row("other buttons and axes",
            press(BTN_NORTH) + press(BTN_WEST) + press(BTN_SELECT) + move(ABS_RX, 0), "");
        row("Start", press(BTN_START) + press(BTN_START, 2) + press(BTN_START, 0) + press(BTN_START), "", 2);
    }
    void mapping() {
        QSignalSpy starts(pad.get(), &Pad::startPressed);
        QFETCH(Events, events);
        QFETCH(QString, held);
        send(writer, events);
        QTRY_COMPARE(meanings(pad->held()), held);  // a release counts after its grace
        QCOMPARE(meanings(pad->held()), held);      // and a read lets nothing go
        QTEST(int(starts.count()), "starts");
    }

    // The pads there at the start and those plugged in later steer, other
    // devices (js*) do not; a pad whose stream ends (unplugged) or whose file
    // goes is dropped, and reported pulled out once.
    void hotplug() {
        const int early = plugIn("event0", O_RDWR);
        PadWatcher watcher(window.get(), folder->path());
        QSignalSpy pulledOut(&watcher, &PadWatcher::pulledOut);
        const int late = plugIn("event1"), other = plugIn("js0", O_RDWR);
        send(early, press(BTN_DPAD_LEFT));
        send(late, press(BTN_DPAD_RIGHT) + press(BTN_DPAD_DOWN));
        send(other, press(BTN_EAST));
        QCOMPARE(meanings(watcher.held()), "LRD");
        ::close(late);
        QTRY_COMPARE(meanings(watcher.held()), "L");
        QFile::remove(folder->filePath("event0"));
        QTRY_COMPARE(meanings(watcher.held()), "");
        QCOMPARE(pulledOut.count(), 2);
        ::close(early), ::close(other);
    }

    void gate_data() {
        QTest::addColumn<QString>("shut");  // how the window stops taking input
        for (const char* shut : {"other window active", "disabled", "modal window open", ""})
            QTest::newRow(*shut ? shut : "takes input") << QString(shut);
    }
    // While the window takes no input, what was held is let go, and what is
    // pressed is dropped for good: it counts only once pressed again.
    void gate() {
        PadWatcher watcher(window.get(), folder->path());
        QSignalSpy starts(&watcher, &PadWatcher::startPressed);
        const int fd = plugIn("event0");
        send(fd, press(BTN_DPAD_DOWN));
        QCOMPARE(meanings(watcher.held()), "D");
        QFETCH(QString, shut);
        QWidget other;
        QDialog modal(window.get());
        modal.setWindowModality(Qt::WindowModal);
        modal.setAttribute(Qt::WA_ShowWithoutActivating);  // as where the window manager does not
        if (shut.startsWith("other")) other.show(), other.activateWindow();
        if (shut == "disabled") window->setEnabled(false);
        if (shut.startsWith("modal")) modal.show();
        QTRY_COMPARE(window->isActiveWindow(), !shut.startsWith("other"));
        send(fd, press(BTN_DPAD_LEFT) + press(BTN_START));
        const QString held = shut.isEmpty() ? "LD" : "";
        QCOMPARE(meanings(watcher.held()), held);
        QCOMPARE(starts.count(), int(shut.isEmpty()));
        other.hide(), modal.hide(), window->setEnabled(true), window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QCOMPARE(meanings(watcher.held()), held);
        ::close(fd);
    }

    void virtualPad() {
        libevdev* device = libevdev_new();
        libevdev_set_name(device, "Stonerush test pad");
        for (const unsigned button : {BTN_SOUTH, BTN_START, BTN_DPAD_LEFT})
            libevdev_enable_event_code(device, EV_KEY, button, nullptr);
        const input_absinfo stick{128, 0, 255, 0, 0, 0};  // value, minimum, maximum, as many pads have
        for (const unsigned axis : {ABS_X, ABS_Y}) libevdev_enable_event_code(device, EV_ABS, axis, &stick);
        libevdev_uinput* made = nullptr;
        libevdev_uinput_create_from_device(device, LIBEVDEV_UINPUT_OPEN_MANAGED, &made);
        libevdev_free(device);
        if (!made) QSKIP("no virtual pad: this kernel has no /dev/uinput, or it takes root");
        PadWatcher watcher(window.get(), QStringLiteral("/dev/input"));
        QSignalSpy starts(&watcher, &PadWatcher::startPressed), pulledOut(&watcher, &PadWatcher::pulledOut);
        const auto send = [made](unsigned type, unsigned code, int value) {
            libevdev_uinput_write_event(made, type, code, value);
            libevdev_uinput_write_event(made, EV_SYN, SYN_REPORT, 0);
        };
        const auto stickPushedLeft = [&] {  // again until the watcher has the device open
            send(EV_ABS, ABS_X, 128), send(EV_ABS, ABS_X, 0);
            return meanings(watcher.held());
        };
        QTRY_COMPARE(stickPushedLeft(), "L");
        send(EV_KEY, BTN_START, 1), send(EV_KEY, BTN_START, 0);
        QTRY_COMPARE(starts.count(), 1);
        libevdev_uinput_destroy(made);
        QTRY_COMPARE(pulledOut.count(), 1);
        QCOMPARE(meanings(watcher.held()), "");
    }
};

STONERUSH_QTEST_MAIN(PadTest)
#include "pad_test.moc"
