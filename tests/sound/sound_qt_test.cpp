// The Qt players with whatever audio the machine has (CI has none): nothing
// crashes, hangs or spins, and the music keeps its time either way.
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include "platform/sound/fluid_music_control.h"
#include "platform/sound/qt_wave_player.h"
#include "tests/support/offscreen_main.h"

class SoundQtTest : public QObject {
    Q_OBJECT
private slots:
    void WavePlayerTakesAnyFileAndReturnsAtOnce() {
        QElapsedTimer clock;
        clock.start();
        {
            QtWavePlayer player;
            player.Play(STONERUSH_DATA_DIR "/line.wav");
            player.Play(STONERUSH_DATA_DIR "/quad.wav");  // cuts off the line sound
            QTest::qWait(100);
            player.Play(STONERUSH_DATA_DIR "/missing.wav");   // the alert sound instead
            player.Play(STONERUSH_DATA_DIR "/rushtune.mid");  // not a wave file
            player.Play(STONERUSH_DATA_DIR "/gameover.wav");
            player.Play(STONERUSH_DATA_DIR "/gameover.wav");
            QTest::qWait(300);
        }
        QVERIFY2(clock.elapsed() < 5000, "playing sounds blocked the caller");
    }

    void MusicRunsItsCourseAndNotifiesWhilePlaying() {
        FluidMusicControl music;
        QSignalSpy notified(&music, &MusicControl::Notify);
        music.SetNotify(false);
        music.SetWait(false);
        music.SetFileName(STONERUSH_DATA_DIR "/rushtune.mid");
        music.SetCommand("Open");
        music.SetCommand("Play");
        QTRY_VERIFY_WITH_TIMEOUT(music.Position() > 200, 5000);
        QVERIFY(music.Length() > music.Position());
        QTRY_VERIFY_WITH_TIMEOUT(notified.count() >= 2, 5000);

        music.SetCommand("Pause");
        QTest::qWait(300);
        const int held = music.Position();
        const int count = notified.count();
        QTest::qWait(400);
        QCOMPARE(music.Position(), held);
        QCOMPARE(notified.count(), count);  // no notifications while paused

        music.SetCommand("Pause");
        QTRY_VERIFY_WITH_TIMEOUT(music.Position() > held, 5000);
        music.SetCommand("Stop");
        music.SetCommand("Next");
        QCOMPARE(music.Position(), 0);
        music.SetCommand("Close");
        QCOMPARE(music.Position(), 0);
    }

    void MissingMusicFileStaysQuietWithoutNotifying() {
        FluidMusicControl music;
        QSignalSpy notified(&music, &MusicControl::Notify);
        music.SetFileName(STONERUSH_DATA_DIR "/missing.mid");
        music.SetCommand("Open");
        music.SetCommand("Play");
        QTest::qWait(800);
        QCOMPARE(music.Length(), 0);
        QCOMPARE(notified.count(), 0);  // else the loop handler would restart it over and over
    }

    void ClosingWithoutOpeningAndDestroyingWhilePlayingAreSafe() {
        {
            FluidMusicControl music;
            music.SetCommand("Close");
            music.SetCommand("Play");
        }
        FluidMusicControl music;
        music.SetFileName(STONERUSH_DATA_DIR "/rushtune.mid");
        music.SetCommand("Open");
        music.SetCommand("Open");
        music.SetCommand("Play");
        QTest::qWait(200);
    }
};

STONERUSH_QTEST_MAIN(SoundQtTest)
#include "sound_qt_test.moc"
