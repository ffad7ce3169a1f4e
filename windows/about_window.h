// The About box: the program's title, version, a few words about the game and
// its legal notice, with one "OK" button.
#pragma once

#include <QDialog>

#include "platform/zoom.h"

class QLabel;
class QPushButton;

namespace stonerush {

class AboutWindow : public QDialog {
    Q_OBJECT
public:
    // Fills in the texts; the caller shows it.
    explicit AboutWindow(Zoom zoom = Zoom(), QWidget* parent = nullptr);

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
