#include <QGuiApplication>
#include <QImage>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include "tests/support/offscreen_main.h"
#include "windows/splash_window.h"

class SplashWindowTest : public QObject {
    Q_OBJECT

    int unloads_ = 0;
    bool visibleAtUnload_ = false;
    QPointer<frmSplash> splash_;

    void Open() {
        unloads_ = 0;
        splash_ = new frmSplash([this] {
            ++unloads_;
            visibleAtUnload_ = splash_ && splash_->isVisible();
        });
        splash_->show();
        QVERIFY(QTest::qWaitForWindowExposed(splash_));
    }

private slots:
    void cleanup() { delete splash_; }

    void itIsACentredFixedDialog() {
        Open();
        QCOMPARE(splash_->windowType(), Qt::Dialog);  // a window manager gives it the keys
        QCOMPARE(splash_->size(), QSize(298, 298));
        QCOMPARE(splash_->minimumSize(), splash_->maximumSize());
        QCOMPARE(splash_->geometry().center(), QGuiApplication::primaryScreen()->geometry().center());
    }

    void itShowsTheSplashPictureFromItsCorner() {
        Open();
        const QImage picture(QStringLiteral(":/assets/splash.jpg"));
        QCOMPARE(picture.size(), QSize(300, 300));
        const QImage shot = splash_->grab().toImage();
        for (const QPoint at : {QPoint(0, 0), QPoint(150, 150), QPoint(297, 297)})
            QCOMPARE(shot.pixelColor(at), picture.pixelColor(at));
    }

    void keysThatTypeNothingLeaveItOpen() {
        Open();
        for (Qt::Key key :
             {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Shift, Qt::Key_Control,
              Qt::Key_F1, Qt::Key_F4, Qt::Key_F12, Qt::Key_Home, Qt::Key_Delete})
            QTest::keyClick(splash_, key);
        QCOMPARE(unloads_, 0);
        QVERIFY(splash_->isVisible());
    }

    void aCharacterKeyOrAClickClosesItOnce_data() {
        QTest::addColumn<QString>("how");
        for (const char* how :
             {"letter", "shifted letter", "space", "enter", "click", "window system", "key then close"})
            QTest::newRow(how) << how;
    }
    void aCharacterKeyOrAClickClosesItOnce() {
        QFETCH(QString, how);
        Open();
        if (how == "letter") QTest::keyClick(splash_, Qt::Key_Q);
        if (how == "shifted letter") QTest::keyClick(splash_, Qt::Key_Q, Qt::ShiftModifier);
        if (how == "space") QTest::keyClick(splash_, Qt::Key_Space);
        if (how == "enter") QTest::keyClick(splash_, Qt::Key_Return);
        if (how == "click") QTest::mouseClick(splash_, Qt::LeftButton, {}, QPoint(150, 150));
        if (how == "window system") splash_->windowHandle()->close();
        if (how == "key then close") {
            QTest::keyClick(splash_, Qt::Key_Z);
            if (splash_) splash_->close();
        }
        QCOMPARE(unloads_, 1);
        // The main window comes up while the splash is still on screen, so
        // there is never a moment without a window.
        QVERIFY(visibleAtUnload_);
        QTRY_VERIFY(splash_.isNull());
    }
};

STONERUSH_QTEST_MAIN(SplashWindowTest)
#include "splash_window_test.moc"
