// The About box: the program's title, version, a few words about the game and
// its legal notice, with one "OK" button.
#pragma once

#include <QDialog>

#include "platform/side_window.h"

class QLabel;
class QPushButton;

class frmAbout : public SideWindow<QDialog> {
    Q_OBJECT
public:
    // Construction is the window's Load: it fills in the texts, disables the
    // main window and pauses a running game. The caller shows it.
    explicit frmAbout(SideWindowHost& host);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void LayOutControls();

    QLabel* picIcon;
    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblDescription;
    QLabel* lblCopyright;
    QPushButton* cmdOK;
};
