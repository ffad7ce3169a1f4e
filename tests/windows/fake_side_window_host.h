// Records what a side window asks of the main window, in order.
#pragma once

#include <QStringList>
#include <QWidget>

#include "platform/side_window_host.h"

class FakeSideWindowHost : public SideWindowHost {
public:
    void PauseRunningGame() override { calls << QStringLiteral("pause"); }
    void SetMainWindowEnabled(bool enabled) override {
        calls << (enabled ? QStringLiteral("enable") : QStringLiteral("disable"));
    }
    QWidget* MainWindow() override { return owner; }

    QStringList calls;
    QWidget* owner = nullptr;
};
