// The side windows (About, help, high scores) and the splash, driven offscreen.
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QWindow>

#include "scores/high_score_window.h"
#include "support/offscreen_main.h"
#include "windows/about_window.h"
#include "windows/help_window.h"
#include "windows/splash_window.h"

using namespace stonerush;

class WindowsTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    QString page(const char* name, const QString& body) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write a test page");
        file.write(body.toUtf8());
        return file.fileName();
    }

private slots:
    // Each closes however the player closes it: Escape, the window manager's close command, its
    // own button or Enter.
    void sideWindowsClose_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("how");
        for (const char* window : {"about", "help", "scores"})
            for (const char* how : {"Escape", "window manager"})
                QTest::addRow("%s, %s", window, how) << window << how;
        for (const char* row : {"about, OK", "about, Enter", "scores, Close"})
            QTest::newRow(row) << QString(row).section(", ", 0, 0) << QString(row).section(", ", 1);
    }
    void sideWindowsClose() {
        QFETCH(QString, window);
        QFETCH(QString, how);
        QDialog* side = window == "about"  ? static_cast<QDialog*>(new AboutWindow)
                        : window == "help" ? static_cast<QDialog*>(new HelpWindow(dir.filePath("help.htm")))
                                           : new HighScoreWindow(HighScoreTable{});
        const std::unique_ptr<QDialog> owned(side);
        side->show();
        QVERIFY(QTest::qWaitForWindowExposed(side));
        QWidget* focus = side->focusWidget() ? side->focusWidget() : side;
        if (how == "Escape") QTest::keyClick(focus, Qt::Key_Escape);
        if (how == "Enter") QTest::keyClick(focus, Qt::Key_Return);
        if (how == "window manager") side->windowHandle()->close();
        if (how == "OK" || how == "Close")
            QTest::mouseClick(side->findChild<QPushButton*>(how == "OK" ? "okButton" : "closeButton"),
                              Qt::LeftButton);
        QVERIFY(!side->isVisible());
    }

    // The table's ten lines as given and as they change, names shown as typed; Reset is asked for,
    // never done by the window itself.
    void highScoreWindow() {
        HighScoreTable table;
        placeHighScore(table, {playerNameFromText("<b>Ann</b>"), 500});
        HighScoreWindow window(table);
        const auto line = [&](int i) {
            return window.findChild<QLabel*>(QStringLiteral("scoreLine%1").arg(i));
        };
        QCOMPARE(line(1)->text().toStdString(), formatScoreLine(table, 1));
        QCOMPARE(line(1)->textFormat(), Qt::PlainText);
        QCOMPARE(line(10)->text().toStdString(), formatScoreLine(table, 10));
        window.showTable(HighScoreTable{});
        QCOMPARE(line(1)->text().toStdString(), formatScoreLine(HighScoreTable{}, 1));
        QSignalSpy reset(&window, &HighScoreWindow::resetClicked);
        QTest::mouseClick(window.findChild<QPushButton*>("resetButton"), Qt::LeftButton);
        QCOMPARE(reset.size(), 1);
    }

    // The About box's text stays readable on the theme: black on a light window, as designed; the
    // theme's own text colour on a dark one, where black would vanish.
    void aboutTextReadableOnAnyTheme_data() {
        QTest::addColumn<QColor>("window");
        QTest::addColumn<QColor>("text");
        QTest::newRow("light") << QColor(0xF0, 0xF0, 0xF0) << QColor(Qt::black);
        QTest::newRow("dark") << QColor(0x35, 0x35, 0x35) << QColor(0xEE, 0xEE, 0xEE);
    }
    void aboutTextReadableOnAnyTheme() {
        QFETCH(QColor, window);
        const QPalette before = QApplication::palette();
        QPalette theme = before;
        theme.setColor(QPalette::Window, window);
        theme.setColor(QPalette::WindowText, QColor(0xEE, 0xEE, 0xEE));
        QApplication::setPalette(theme);
        AboutWindow about;
        QApplication::setPalette(before);
        for (const char* name : {"titleLabel", "descriptionLabel", "versionLabel", "copyrightLabel"}) {
            const QPalette shown = about.findChild<QLabel*>(name)->palette();
            QCOMPARE(shown.color(QPalette::Window), window);
            if (QByteArray(name) != "versionLabel" && QByteArray(name) != "copyrightLabel")
                QTEST(shown.color(QPalette::WindowText), "text");
        }
    }

    // The page given is shown; a missing one, or a missing page behind a link,
    // is told in the window.
    void helpPages() {
        const QString help =
            page("help.htm", "<p>Welcome <a href='gone.htm'>gone</a> <a href='more.htm'>more</a></p>");
        page("more.htm", "<p>Second page</p>");
        QDir(dir.path()).mkdir("folder.htm");
        for (const QString& missing : {dir.filePath("nowhere/help.htm"), dir.filePath("folder.htm")}) {
            HelpWindow nothing(missing);
            QVERIFY(nothing.findChild<QTextBrowser*>("browser")->toPlainText().contains(missing));
        }
        HelpWindow window(help);
        auto* browser = window.findChild<QTextBrowser*>("browser");
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
