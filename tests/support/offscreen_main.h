// main() for Qt Test programs: they draw offscreen unless a platform is set,
// so they run without a display (CI, test discovery at build time).
#pragma once

#include <QApplication>
#include <QTest>

#define STONERUSH_QTEST_MAIN(TestClass)                                                              \
    int main(int argc, char** argv) {                                                                \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen"); \
        QApplication app(argc, argv);                                                                \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                     \
        TestClass test;                                                                              \
        return QTest::qExec(&test, argc, argv);                                                      \
    }
