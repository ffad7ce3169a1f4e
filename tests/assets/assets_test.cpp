// The files the game loads, checked the way it loads them: every picture at
// the size the tile copies and the window layouts are made for, the wave
// sounds accepted by the sound player and ending in a quarter second of
// silence (the player drops the last 100-170 ms), and the music read whole by
// the synthesiser's file player: it runs at least half a minute, then ends.
#include <QSoundEffect>
#include <QtEndian>
#include <QtTest>
#include <vector>

#include "platform/sound/music_renderer.h"
#include "platform/sound/quiet_audio.h"
#include "tests/support/offscreen_main.h"

class AssetsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QuietenQtMultimedia(); }

    void pictureHasItsSize_data() {
        QTest::addColumn<QSize>("size");
        for (const char* name : {"mainsrc.png", "mainpsrc.png", "game_over_pic.png"})
            QTest::newRow(name) << QSize(160, 288);
        for (const char* name : {"nextsrc.png", "nextpsrc.png"}) QTest::newRow(name) << QSize(128, 128);
        QTest::newRow("bloxsrc.png") << QSize(96, 16);
        QTest::newRow("nbloxsrc.png") << QSize(192, 32);
        QTest::newRow("splash.jpg") << QSize(300, 300);
        for (int size : {16, 32, 48}) QTest::addRow("help_icon_%d.png", size) << QSize(size, size);
        QTest::newRow("program_icon.png") << QSize(32, 32);
    }
    void pictureHasItsSize() {
        QFETCH(QSize, size);
        QCOMPARE(QImage(QStringLiteral(":/assets/") + QTest::currentDataTag()).size(), size);
    }

    void waveFilePlays_data() {
        QTest::addColumn<int>("unused");
        for (const char* name : {"line.wav", "quad.wav", "gameover.wav"}) QTest::newRow(name) << 0;
    }
    void waveFilePlays() {
        const QString path = QStringLiteral(STONERUSH_DATA_DIR "/") + QTest::currentDataTag();
        QSoundEffect effect;
        effect.setSource(QUrl::fromLocalFile(path));
        QTRY_COMPARE(effect.status(), QSoundEffect::Ready);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();  // 16-bit samples; the data chunk comes last
        const int samples = qFromLittleEndian<quint32>(bytes.constData() + 28) / 8;  // byte rate: 0.25 s
        for (int i = 1; i <= samples; ++i)
            QVERIFY(qAbs(qFromLittleEndian<qint16>(bytes.constData() + bytes.size() - 2 * i)) <= 3);
    }

    void musicFileIsReadWholeByThePlayer() {
        MusicRenderer music("");  // no soundfont: silent, but the file is read and played all the same
        music.SetFileName(STONERUSH_DATA_DIR "/rushtune.mid");
        music.Command("Open");
        music.Command("Play");
        std::vector<int16_t> second(2 * MusicRenderer::kSampleRate);
        int seconds = 0;
        do music.Render(second.data(), MusicRenderer::kSampleRate);
        while (++seconds < 120 && music.Position() < music.Length());
        QVERIFY2(seconds >= 30 && seconds < 120, qPrintable(QString("ends after %1 s").arg(seconds)));
    }
};

STONERUSH_QTEST_MAIN(AssetsTest)
#include "assets_test.moc"
