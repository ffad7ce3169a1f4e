// The Qt players with whatever audio the machine has (CI has none): wave sounds never hold the game up, and
// the music keeps its time and loops by itself, device or not.
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

#include "platform/sound/fluid_music.h"
#include "platform/sound/qt_sound_effects.h"
#include "support/offscreen_main.h"

namespace stonerush {

class SoundQtTest : public QObject {
    Q_OBJECT
    // One second: a note for half of it, then a rest (96 ticks a beat, 120 beats a minute).
    static constexpr char shortTune[] =
        "MThd\0\0\0\6\0\0\0\1\0\x60MTrk\0\0\0\x0c\0\x90\x3c\x64\x60\x80\x3c\x40\x60\xff\x2f";
    static constexpr double shortTicksPerMs = 0.192;

private slots:
    void wavesTakeAnyFileAndReturnAtOnce() {
        QElapsedTimer clock;
        clock.start();
        {
            QtSoundEffects waves;  // one cuts off another; a missing file or no wave gives the alert
            for (const char* file : {"line.wav", "quad.wav", "missing.wav", "rushtune.mid", "gameover.wav"})
                waves.play(STONERUSH_DATA_DIR "/" + QString(file));
            QTest::qWait(200);
        }
        QVERIFY2(clock.elapsed() < 5000, "playing sounds blocked the caller");
    }

    // With no device a clock keeps the time of a one-second tune: paused after a pass and a half, it is
    // held half-way through it, never past its end; it goes on when resumed and goes back to its start
    // when rewound. (With a device the end-to-end test listens to the music.)
    void music() {
        QTemporaryDir folder;
        QFile tune(folder.filePath("short.mid"));
        QVERIFY(tune.open(QIODevice::WriteOnly) && tune.write(shortTune, sizeof shortTune) && tune.flush());
        FluidMusic music;
        music.open(tune.fileName());
        QTRY_VERIFY(music.length() > 0);  // rendered: the output has found its device or none
        if (music.hasAudioDevice()) QSKIP("a sound card sets the pace: see sound_qt_test_no_device");
        QElapsedTimer clock;
        clock.start();
        music.play();
        const qint64 played = clock.elapsed();  // the clock started within [0, played]
        QTest::qWait(1500);
        const qint64 from = clock.elapsed();
        music.pause();
        const qint64 to = clock.elapsed();
        const int32_t held = music.position();
        // Where it was held, in ms, against the time played, [from - played, to] ago.
        const double period = music.length() / shortTicksPerMs;
        const double behind = held / shortTicksPerMs - double(from - played);
        const double ahead = behind - period * std::floor(behind / period);
        QVERIFY(held < music.length());
        QVERIFY2(ahead < to - from + played + 60 || ahead > period - 60, qPrintable(QString::number(ahead)));
        QTest::qWait(300);
        QCOMPARE(music.position(), held);
        music.resume();
        QTRY_VERIFY(music.position() != held);
        music.rewind();
        QCOMPARE(music.position(), 0);
        music.play();  // and destroyed while it plays
    }
};

}  // namespace stonerush

STONERUSH_QTEST_MAIN(stonerush::SoundQtTest)
#include "sound_qt_test.moc"
