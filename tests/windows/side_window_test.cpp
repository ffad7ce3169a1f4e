// What the three side windows share: they belong to the main window, open
// centred on the available screen area, and every way of closing them gives
// the main window back once and deletes them.
#include <QGuiApplication>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include "scores/form3.h"
#include "tests/support/offscreen_main.h"
#include "tests/windows/fake_side_window_host.h"
#include "windows/about_window.h"
#include "windows/help_window.h"

class SideWindowTest : public QObject {
    Q_OBJECT

    HighScoreTable table_;

private slots:
    void everyWayOutGivesTheMainWindowBackOnce_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("how");
        for (const char* window : {"about", "help", "scores"})
            for (const char* how : {"escape", "window manager", "twice"})
                QTest::addRow("%s, %s", window, how) << window << how;
        QTest::newRow("about, OK") << "about"
                                   << "button";
        QTest::newRow("scores, Close") << "scores"
                                       << "button";
    }
    void everyWayOutGivesTheMainWindowBackOnce() {
        QFETCH(QString, window);
        QFETCH(QString, how);
        QWidget owner;
        owner.show();
        FakeSideWindowHost host;
        host.owner = &owner;
        QPointer<QWidget> side;
        if (window == "about") side = new frmAbout(host);
        if (window == "help") side = new Form2(host, QStringLiteral(STONERUSH_HELP_PAGE));
        if (window == "scores") side = new Form3(table_, host);
        side->show();
        QVERIFY(QTest::qWaitForWindowExposed(side));
        QCOMPARE(side->windowHandle()->transientParent(), owner.windowHandle());
        const QPoint offCentre =
            side->geometry().center() - QGuiApplication::primaryScreen()->availableGeometry().center();
        QVERIFY(offCentre.manhattanLength() <= 1);
        const int loadCalls = int(host.calls.size());

        if (how == "escape")
            QTest::keyClick(side->focusWidget() ? side->focusWidget() : side.data(), Qt::Key_Escape);
        if (how == "window manager" || how == "twice") side->windowHandle()->close();
        if (how == "twice" && side) side->close();
        if (how == "button")
            QTest::mouseClick(side->findChild<QPushButton*>(window == "about" ? "cmdOK" : "Command2"),
                              Qt::LeftButton);
        QCOMPARE(host.calls.mid(loadCalls), QStringList{"enable"});
        QTRY_VERIFY(side.isNull());
    }
};

STONERUSH_QTEST_MAIN(SideWindowTest)
#include "side_window_test.moc"
