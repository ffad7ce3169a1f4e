#include "platform/sound/quiet_audio.h"

#include <QLoggingCategory>
#include <QString>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace {

QLoggingCategory::CategoryFilter previous_filter = nullptr;
QtMessageHandler previous_handler = nullptr;

void DropMultimediaCategories(QLoggingCategory* category) {
    if (previous_filter) previous_filter(category);
    if (std::strncmp(category->categoryName(), "qt.multimedia", 13) == 0) {
        category->setEnabled(QtDebugMsg, false);
        category->setEnabled(QtInfoMsg, false);
        category->setEnabled(QtWarningMsg, false);
    }
}

// Qt 6.4's PulseAudio backend and QSoundEffect also warn without a category.
bool IsMultimediaChatter(const QString& message) {
    return message.startsWith(QLatin1String("PulseAudioService")) ||
           message.startsWith(QLatin1String("QPulseAudio")) ||
           message.startsWith(QLatin1String("No audio device detected"));
}

void DropMultimediaMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if ((type == QtWarningMsg || type == QtDebugMsg || type == QtInfoMsg) && IsMultimediaChatter(message))
        return;
    if (previous_handler)
        previous_handler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

}  // namespace

void QuietenQtMultimedia() {
    static std::once_flag once;
    std::call_once(once, [] {
        previous_filter = QLoggingCategory::installFilter(DropMultimediaCategories);
        previous_handler = qInstallMessageHandler(DropMultimediaMessages);
    });
}

void ReportSilentOnce(const char* why) {
    static std::atomic<bool> said{false};
    if (!said.exchange(true)) std::fprintf(stderr, "Stonerush: %s; playing without sound.\n", why);
}
