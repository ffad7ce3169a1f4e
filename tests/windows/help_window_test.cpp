#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include "tests/support/offscreen_main.h"
#include "tests/windows/fake_side_window_host.h"
#include "windows/help_window.h"

class HelpWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString WritePage(const QString& name, const QString& body) {
        QFile file(dir_.filePath(name));
        if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write a test page");
        file.write(("<!DOCTYPE html><html><body>" + body + "</body></html>").toUtf8());
        return file.fileName();
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        WritePage("help.htm",
                  "<h1>Welcome</h1><p><a href='more.htm'>more</a> <a href='gone.htm'>gone</a> "
                  "<a href='#end'>end</a></p><p style='margin-top:2000px'><a name='end'>The end</a></p>");
        WritePage("more.htm", "<p>Second page</p>");
    }

    void loadDisablesPausesThenShowsThePage() {
        FakeSideWindowHost host;
        Form2 help(host, dir_.filePath("help.htm"));
        QCOMPARE(help.windowTitle(), QStringLiteral("Stonerush Help"));
        QCOMPARE(help.windowIcon().availableSizes().size(), 3);
        QCOMPARE(host.calls, QStringList({"disable", "pause"}));
        QVERIFY(help.browser()->toPlainText().contains("Welcome"));
    }

    void theBrowserFollowsEveryResize() {
        FakeSideWindowHost host;
        Form2 help(host, dir_.filePath("help.htm"));
        help.show();
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        QCOMPARE(help.browser()->geometry(), help.rect());
        for (const QSize size : {QSize(600, 450), QSize(180, 120), QSize(344, 276)}) {
            help.resize(size);
            QTRY_COMPARE(help.size(), size);
            QCOMPARE(help.browser()->geometry(), QRect(QPoint(0, 0), size));
        }
    }

    void aMissingOrUnreadablePageIsReportedWithItsPath_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("no such file") << dir_.filePath("nowhere/help.htm");
        QDir(dir_.path()).mkdir("folder.htm");
        QTest::newRow("a folder") << dir_.filePath("folder.htm");
    }
    void aMissingOrUnreadablePageIsReportedWithItsPath() {
        QFETCH(QString, path);
        FakeSideWindowHost host;
        Form2 help(host, path);
        const QString text = help.browser()->toPlainText();
        QVERIFY2(text.contains(path), qPrintable(text));
        QVERIFY(text.contains("could not be opened"));
        QCOMPARE(host.calls, QStringList({"disable", "pause"}));
    }

    void linksMoveAroundButAMissingPageKeepsTheWindowContent() {
        FakeSideWindowHost host;
        Form2 help(host, dir_.filePath("help.htm"));
        help.show();
        QTextBrowser* browser = help.browser();
        const QUrl start = browser->source();

        emit browser->anchorClicked(QUrl("gone.htm"));
        QCOMPARE(browser->source(), start);
        QVERIFY(browser->toPlainText().contains("Welcome"));
        auto* note = help.findChild<QMessageBox*>("missingPageNote");
        QVERIFY(note);
        QVERIFY(note->text().contains(dir_.filePath("gone.htm")));
        note->accept();

        emit browser->anchorClicked(QUrl("#end"));
        QCOMPARE(browser->source(), start);

        emit browser->anchorClicked(QUrl("more.htm"));
        QVERIFY(browser->toPlainText().contains("Second page"));
    }

    // The page that ships beside the game: it opens, and none of its links leads nowhere.
    void theShippedPageOpensAndItsLinksLeadSomewhere() {
        const QString shipped = QStringLiteral(STONERUSH_HELP_PAGE);
        FakeSideWindowHost host;
        Form2 help(host, shipped);
        const QString text = help.browser()->toPlainText();
        for (const char* topic : {"Starting Speed", "F4", "Ctrl", "Reset", "PAUSE", "1000"})
            QVERIFY2(text.contains(QLatin1String(topic)), topic);

        QFile file(shipped);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        const QRegularExpression link(QStringLiteral("href=\"([^\"]*)\""));
        for (auto match = link.globalMatch(html); match.hasNext();) {
            const QString target = match.next().captured(1);
            if (target.startsWith('#'))
                QVERIFY2(html.contains(QStringLiteral("id=\"%1\"").arg(target.mid(1))), qPrintable(target));
            else if (!target.startsWith(QLatin1String("http")))
                QVERIFY2(QFileInfo::exists(QFileInfo(shipped).dir().filePath(target)), qPrintable(target));
        }
    }
};

STONERUSH_QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
