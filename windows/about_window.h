// The About box: the program's title, version, a few words about the game and
// its legal notice, with one "OK" button.
#pragma once

#include <QDialog>

#include "platform/zoom.h"
#include "windows/side_window.h"

class QLabel;
class QPushButton;

namespace stonerush {

class AboutWindow : public SideWindow<QDialog> {
    Q_OBJECT
public:
    // Fills in the texts, disables the main window and pauses a running game.
    // The caller shows it.
    explicit AboutWindow(SideWindowHost& host, Zoom zoom = Zoom());

private:
    void layOutControls(Zoom zoom);

    QLabel* m_iconLabel = nullptr;
    QLabel* m_titleLabel = nullptr;
    QLabel* m_versionLabel = nullptr;
    QLabel* m_descriptionLabel = nullptr;
    QLabel* m_copyrightLabel = nullptr;
    QPushButton* m_okButton = nullptr;
};

}  // namespace stonerush
