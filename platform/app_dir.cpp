#include "platform/app_dir.h"

#include <QCoreApplication>
#include <QDir>

#include "platform/app_info.h"

namespace stonerush {

QString applicationDirectory() {
    return QCoreApplication::applicationDirPath();
}

bool isInstalledProgramDirectory(const QString& directory) {
    const QString installed = QDir::cleanPath(QString::fromUtf8(appinfo::installedProgramFolder));
    const QString folder = QDir::cleanPath(directory);
    return folder == installed || folder.endsWith(QLatin1Char('/') + installed);
}

}  // namespace stonerush
