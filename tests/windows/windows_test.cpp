// The side windows (About, help, high scores) and the splash, driven offscreen.
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QWindow>

#include "scores/high_score_window.h"
#include "scores/score_keeper.h"
#include "support/offscreen_main.h"
#include "windows/about_window.h"
#include "windows/help_window.h"
#include "windows/splash_window.h"

using namespace stonerush;

// The main window as a side window sees it: what it is asked, in order.
struct FakeHost : SideWindowHost {
    void pauseRunningGame() override { calls << "pause"; }
    void setMainWindowEnabled(bool enabled) override { calls << (enabled ? "enable" : "disable"); }
    QWidget* mainWindow() override { return &owner; }
    QStringList calls;
    QWidget owner;
};

class WindowsTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    ScoreKeeper keeper;

    QString page(const char* name, const QString& body) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write a test page");
        file.write(body.toUtf8());
        return file.fileName();
    }

private slots:
    // Each pauses a running game and disables the main window as it loads,
    // belongs to it, and gives it back once however it is closed.
    void sideWindows_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("how");
        for (const char* window : {"about", "help", "scores"})
            for (const char* how : {"Escape", "window manager", "twice"})
                QTest::addRow("%s, %s", window, how) << window << how;
        for (const char* row : {"about, OK", "about, Enter", "scores, Close"})
            QTest::newRow(row) << QString(row).section(", ", 0, 0) << QString(row).section(", ", 1);
    }
    void sideWindows() {
        QFETCH(QString, window);
        QFETCH(QString, how);
        FakeHost host;
        host.owner.show();
        QPointer<QWidget> side;
        if (window == "about") side = new AboutWindow(host);
        if (window == "help") side = new HelpWindow(host, dir.filePath("help.htm"));
        if (window == "scores") side = new HighScoreWindow(keeper, host);
        side->show();
        QVERIFY(QTest::qWaitForWindowExposed(side));
        const QStringList load =
            window == "scores" ? QStringList{"pause", "disable"} : QStringList{"disable", "pause"};
        QCOMPARE(host.calls, load);
        QCOMPARE(side->windowHandle()->transientParent(), host.owner.windowHandle());
        QWidget* focus = side->focusWidget() ? side->focusWidget() : side.data();
        if (how == "Escape") QTest::keyClick(focus, Qt::Key_Escape);
        if (how == "Enter") QTest::keyClick(focus, Qt::Key_Return);
        if (how == "window manager" || how == "twice") side->windowHandle()->close();
        if (how == "twice" && side) side->close();
        if (how == "OK" || how == "Close")
            QTest::mouseClick(side->findChild<QPushButton*>(how == "OK" ? "okButton" : "closeButton"),
                              Qt::LeftButton);
        QCOMPARE(host.calls.mid(2), QStringList{"enable"});
        QTRY_VERIFY(side.isNull());
    }

    // The page given is shown; a missing one, or a missing page behind a link,
    // is told in the window.
    void helpPages() {
        FakeHost host;
        const QString help =
            page("help.htm", "<p>Welcome <a href='gone.htm'>gone</a> <a href='more.htm'>more</a></p>");
        page("more.htm", "<p>Second page</p>");
        QDir(dir.path()).mkdir("folder.htm");
        for (const QString& missing : {dir.filePath("nowhere/help.htm"), dir.filePath("folder.htm")}) {
            HelpWindow nothing(host, missing);
            QVERIFY(nothing.browser()->toPlainText().contains(missing));
        }
        HelpWindow window(host, help);
        QTextBrowser* browser = window.browser();
        QCOMPARE(browser->source(), QUrl::fromLocalFile(help));
        emit browser->anchorClicked(QUrl("gone.htm"));
        QVERIFY(browser->toPlainText().contains("Welcome"));
        auto* note = window.findChild<QMessageBox*>();
        QVERIFY(note && note->text().contains(dir.filePath("gone.htm")));
        note->accept();
        emit browser->anchorClicked(QUrl("more.htm"));
        QVERIFY(browser->toPlainText().contains("Second page"));
    }

    // A key that types a character, a click or a close from the window system
    // closes the splash and brings up the main window, once, while the splash
    // is still on screen; a key that types nothing leaves it up.
    void splash_data() {
        QTest::addColumn<int>("key");       // 0: a click, -1: the window system closes it
        QTest::addColumn<QString>("text");  // what the key types, as X reports it
        QTest::addColumn<int>("unloads");
        QTest::newRow("Shift+Q") << int(Qt::Key_Q) << "Q" << 1;
        QTest::newRow("Enter") << int(Qt::Key_Return) << "\r" << 1;
        QTest::newRow("click") << 0 << "" << 1;
        QTest::newRow("window system") << -1 << "" << 1;
        for (const Qt::Key key : {Qt::Key_Left, Qt::Key_Shift, Qt::Key_F1, Qt::Key_Home})
            QTest::newRow(qPrintable(QKeySequence(key).toString())) << int(key) << "" << 0;
        QTest::newRow("Delete") << int(Qt::Key_Delete) << "\x7f" << 0;
    }
    void splash() {
        QFETCH(int, key);
        int unloads = 0;
        bool shownAtUnload = false;
        QPointer<SplashWindow> splash;
        splash = new SplashWindow([&] {
            ++unloads;
            shownAtUnload = splash && splash->isVisible();
        });
        splash->show();
        QVERIFY(QTest::qWaitForWindowExposed(splash));
        if (key == 0) QTest::mouseClick(splash, Qt::LeftButton, {}, QPoint(150, 150));
        if (key == -1) splash->windowHandle()->close();
        QFETCH(QString, text);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        if (key > 0) QApplication::sendEvent(splash, &press);
        if (splash && unloads) splash->close();  // a second close unloads nothing
        QTEST(unloads, "unloads");
        QCOMPARE(shownAtUnload, unloads == 1);
        if (!unloads) delete splash;
        QTRY_VERIFY(splash.isNull());
    }
};

STONERUSH_QTEST_MAIN(WindowsTest)
#include "windows_test.moc"
