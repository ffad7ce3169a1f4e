#include "platform/sound/qt_wave_player.h"

#include <QApplication>
#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include "platform/sound/quiet_audio.h"

QtWavePlayer::QtWavePlayer() {
    QuietenQtMultimedia();
    effect_ = std::make_unique<QSoundEffect>();
    // A file that turns out unplayable once loading finishes still gets the alert.
    QObject::connect(effect_.get(), &QSoundEffect::statusChanged, effect_.get(), [effect = effect_.get()] {
        if (effect->status() == QSoundEffect::Error) QApplication::beep();
    });
    if (QMediaDevices::audioOutputs().isEmpty()) ReportSilentOnce("no audio output");
}

QtWavePlayer::~QtWavePlayer() = default;

void QtWavePlayer::Play(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        effect_->stop();
        QApplication::beep();
        return;
    }
    const QUrl source = QUrl::fromLocalFile(path);
    if (effect_->source() == source && effect_->status() == QSoundEffect::Error) {
        QApplication::beep();  // known to be unplayable: no new status change will say so
        return;
    }
    if (effect_->source() != source) {
        effect_->stop();
        effect_->setSource(source);  // loads in the background; play() waits for it
    }
    // Restarts a sound that is still playing. Never wait on isPlaying(): with
    // no audio device it stays true for ever.
    effect_->play();
}
