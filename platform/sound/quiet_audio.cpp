#include "platform/sound/quiet_audio.h"

#include <QLoggingCategory>
#include <QString>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace stonerush {

namespace {

QLoggingCategory::CategoryFilter previousFilter = nullptr;
QtMessageHandler previousHandler = nullptr;

void dropMultimediaCategories(QLoggingCategory* category) {
    if (previousFilter) previousFilter(category);
    if (std::strncmp(category->categoryName(), "qt.multimedia", 13) == 0) {
        category->setEnabled(QtDebugMsg, false);
        category->setEnabled(QtInfoMsg, false);
        category->setEnabled(QtWarningMsg, false);
    }
}

// Qt 6.4's PulseAudio backend and QSoundEffect also warn without a category.
bool isMultimediaChatter(const QString& message) {
    return message.startsWith(QLatin1String("PulseAudioService")) ||
           message.startsWith(QLatin1String("QPulseAudio")) ||
           message.startsWith(QLatin1String("No audio device detected"));
}

void dropMultimediaMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if ((type == QtWarningMsg || type == QtDebugMsg || type == QtInfoMsg) && isMultimediaChatter(message))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

}  // namespace

void quietenQtMultimedia() {
    static std::once_flag once;
    std::call_once(once, [] {
        previousFilter = QLoggingCategory::installFilter(dropMultimediaCategories);
        previousHandler = qInstallMessageHandler(dropMultimediaMessages);
    });
}

void reportSilentOnce(const char* why) {
    static std::atomic<bool> said{false};
    if (!said.exchange(true)) std::fprintf(stderr, "Stonerush: %s; playing without sound.\n", why);
}

}  // namespace stonerush
