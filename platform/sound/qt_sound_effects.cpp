#include "platform/sound/qt_sound_effects.h"

#include <QApplication>
#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include "platform/sound/quiet_audio.h"

namespace stonerush {

QtSoundEffects::QtSoundEffects() {
    quietenQtMultimedia();
    m_effect = std::make_unique<QSoundEffect>();
    // A file that turns out unplayable once loading finishes still gets the alert.
    QObject::connect(m_effect.get(), &QSoundEffect::statusChanged, m_effect.get(), [effect = m_effect.get()] {
        if (effect->status() == QSoundEffect::Error) QApplication::beep();
    });
    if (QMediaDevices::audioOutputs().isEmpty()) reportSilentOnce("no audio output");
}

QtSoundEffects::~QtSoundEffects() = default;

void QtSoundEffects::play(const QString& waveFile) {
    if (!QFileInfo(waveFile).isFile()) {
        m_effect->stop();
        QApplication::beep();
        return;
    }
    const QUrl source = QUrl::fromLocalFile(waveFile);
    if (m_effect->source() == source && m_effect->status() == QSoundEffect::Error) {
        QApplication::beep();  // known to be unplayable: no new status change will say so
        return;
    }
    if (m_effect->source() != source) {
        m_effect->stop();
        m_effect->setSource(source);  // loads in the background; play() waits for it
    }
    // Restarts a sound that is still playing. Never wait on isPlaying(): with
    // no audio device it stays true for ever.
    m_effect->play();
}

}  // namespace stonerush
