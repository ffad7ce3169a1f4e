// The Qt players with whatever audio the machine has (CI has none): wave
// sounds never hold the game up, and the music keeps its time and notifies
// only while it plays, device or not.
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include "platform/sound/fluid_music_control.h"
#include "platform/sound/qt_wave_player.h"
#include "tests/support/offscreen_main.h"

class SoundQtTest : public QObject {
    Q_OBJECT
private slots:
    void wavesTakeAnyFileAndReturnAtOnce() {
        QElapsedTimer clock;
        clock.start();
        {
            QtWavePlayer player;  // one cuts off another; a missing file or no wave gives the alert
            for (const char* file : {"line.wav", "quad.wav", "missing.wav", "rushtune.mid", "gameover.wav"})
                player.Play(STONERUSH_DATA_DIR "/" + QString(file));
            QTest::qWait(200);
        }
        QVERIFY2(clock.elapsed() < 5000, "playing sounds blocked the caller");
    }

    void music_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("runs");
        QTest::newRow("the tune") << "rushtune.mid" << true;
        QTest::newRow("a missing file") << "missing.mid" << false;
    }
    // A missing file never notifies, or the loop handler would restart it again and again.
    void music() {
        QFETCH(QString, file);
        QFETCH(bool, runs);
        FluidMusicControl music;
        QSignalSpy notified(&music, &MusicControl::Notify);
        music.SetFileName(STONERUSH_DATA_DIR "/" + file);
        music.SetCommand("Open");
        music.SetCommand("Play");
        QTest::qWait(800);
        QCOMPARE(music.Position() > 200 && music.Length() > music.Position(), runs);
        QCOMPARE(notified.count() >= 2, runs);

        music.SetCommand("Pause");
        QTest::qWait(300);
        const int held = music.Position();
        const int count = notified.count();
        QTest::qWait(400);
        QCOMPARE(music.Position(), held);
        QCOMPARE(notified.count(), count);

        music.SetCommand("Pause");
        QTest::qWait(400);
        QCOMPARE(music.Position() > held, runs);
        music.SetCommand("Stop");
        music.SetCommand("Next");
        QCOMPARE(music.Position(), 0);
        music.SetCommand("Play");  // and destroyed while it plays
    }
};

STONERUSH_QTEST_MAIN(SoundQtTest)
#include "sound_qt_test.moc"
