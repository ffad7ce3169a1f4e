// The files the game loads, checked the way it loads them: pictures at the size the tile copies
// and layouts are made for; waves the sound player takes, ending in a quarter second of silence
// (it drops the last 100-170 ms). The music's length and loop are the music renderer test's.
#include <QSoundEffect>
#include <QtEndian>
#include <QtTest>

#include "platform/sound/quiet_audio.h"
#include "support/offscreen_main.h"

class AssetsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { stonerush::quietenQtMultimedia(); }
    void pictureHasItsSize_data() {
        QTest::addColumn<QSize>("size");
        const std::pair<const char*, QSize> sizes[] = {
            {"playfield_paused.png", {160, 288}}, {"playfield_game_over.png", {160, 288}},
            {"preview_paused.png", {128, 128}},   {"tiles_16.png", {96, 16}},
            {"tiles_32.png", {192, 32}},          {"splash.jpg", {300, 300}},
            {"help_icon_16.png", {16, 16}},       {"help_icon_32.png", {32, 32}},
            {"help_icon_48.png", {48, 48}},       {"program_icon.png", {32, 32}}};
        for (const auto& [name, size] : sizes) QTest::newRow(name) << size;
    }
    void pictureHasItsSize() {
        QFETCH(QSize, size);
        QCOMPARE(QImage(QStringLiteral(":/assets/") + QTest::currentDataTag()).size(), size);
    }
    void waveFilesPlayAndEndInSilence() {
        for (const char* name : {"line.wav", "quad.wav", "gameover.wav"}) {
            QFile file(QStringLiteral(STONERUSH_DATA_DIR "/") + name);
            QSoundEffect effect;
            effect.setSource(QUrl::fromLocalFile(file.fileName()));
            QTRY_VERIFY2(effect.status() == QSoundEffect::Ready, name);
            QVERIFY2(file.open(QIODevice::ReadOnly), name);
            const QByteArray bytes = file.readAll();  // 16-bit samples; the data chunk comes last
            const int samples = qFromLittleEndian<quint32>(bytes.constData() + 28) / 8;  // byte rate: 0.25 s
            for (int i = 1; i <= samples; ++i)
                QVERIFY2(qAbs(qFromLittleEndian<qint16>(bytes.constData() + bytes.size() - 2 * i)) <= 3,
                         name);
        }
    }
};
STONERUSH_QTEST_MAIN(AssetsTest)
#include "assets_test.moc"
