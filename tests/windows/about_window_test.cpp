#include <QLabel>
#include <QPointer>
#include <QTest>

#include "platform/app_info.h"
#include "tests/support/offscreen_main.h"
#include "tests/windows/fake_side_window_host.h"
#include "windows/about_window.h"

class AboutWindowTest : public QObject {
    Q_OBJECT

    static QString Text(QWidget* window, const char* name) {
        return window->findChild<QLabel*>(QString::fromLatin1(name))->text();
    }

private slots:
    void loadFillsTheTextsThenDisablesAndPauses() {
        FakeSideWindowHost host;
        QPointer<frmAbout> about = new frmAbout(host);
        QCOMPARE(about->windowTitle(), QStringLiteral("About Stonerush"));
        QCOMPARE(Text(about, "lblTitle"), QStringLiteral("Stonerush"));
        QCOMPARE(Text(about, "lblVersion"), QStringLiteral("Version 1.0.0"));
        QCOMPARE(Text(about, "lblCopyright"), QString::fromUtf8(app_info::LegalNotice));
        QVERIFY(Text(about, "lblCopyright").contains(QStringLiteral("MIT")));
        QCOMPARE(host.calls, QStringList({"disable", "pause"}));
        QVERIFY(!about->findChild<QLabel*>("picIcon")->pixmap().isNull());
        QVERIFY(!about->windowIcon().isNull());
        delete about;
    }

    void theSeparatorIsEtched() {
        FakeSideWindowHost host;
        frmAbout about(host);
        const QImage shot = about.grab().toImage();
        QCOMPARE(shot.pixelColor(100, 192), QColor(0x80, 0x80, 0x80));
        QCOMPARE(shot.pixelColor(100, 193), QColor(0xFF, 0xFF, 0xFF));
        QCOMPARE(shot.pixelColor(378, 193), QColor(0xFF, 0xFF, 0xFF));
    }
};

STONERUSH_QTEST_MAIN(AboutWindowTest)
#include "about_window_test.moc"
