#include "platform/app_dir.h"

#include <QCoreApplication>

QString ApplicationDirectory() {
    return QCoreApplication::applicationDirPath();
}

QString DataFilePath(const QString& fileName) {
    return ApplicationDirectory() + QLatin1Char('/') + fileName;
}
