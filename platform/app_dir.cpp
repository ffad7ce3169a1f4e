#include "platform/app_dir.h"

#include <QCoreApplication>
#include <QDir>

#include "platform/app_info.h"

QString ApplicationDirectory() {
    return QCoreApplication::applicationDirPath();
}

QString DataFilePath(const QString& fileName) {
    return ApplicationDirectory() + QLatin1Char('/') + fileName;
}

bool IsInstalledProgramDirectory(const QString& directory) {
    const QString installed = QDir::cleanPath(QString::fromUtf8(app_info::InstalledProgramFolder));
    const QString folder = QDir::cleanPath(directory);
    return folder == installed || folder.endsWith(QLatin1Char('/') + installed);
}
