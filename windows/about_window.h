// The About box: the program's title, version, a few words about the game and
// its legal notice, with one "OK" button.
#pragma once

#include <QDialog>

#include "platform/side_window_host.h"
#include "platform/side_window_unload.h"

class QLabel;
class QPushButton;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    // Construction is the window's Load: it fills in the texts, disables the
    // main window and pauses a running game. The caller shows it; closing it
    // deletes it.
    explicit frmAbout(SideWindowHost& host);

    void done(int result) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void LayOutControls();

    SideWindowUnload unload_;
    QLabel* picIcon;
    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblDescription;
    QLabel* lblCopyright;
    QPushButton* cmdOK;
};
