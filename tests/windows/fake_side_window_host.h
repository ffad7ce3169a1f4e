// Records what a side window asks of the main window, in order.
#pragma once

#include <QStringList>

#include "platform/side_window_host.h"

class FakeSideWindowHost : public SideWindowHost {
public:
    void PauseRunningGame() override { calls << QStringLiteral("pause"); }
    void SetMainWindowEnabled(bool enabled) override {
        calls << (enabled ? QStringLiteral("enable") : QStringLiteral("disable"));
    }

    int Count(const QString& call) const { return int(calls.count(call)); }

    QStringList calls;
};
