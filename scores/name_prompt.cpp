#include "scores/name_prompt.h"

#include <QInputDialog>
#include <QPointer>

namespace stonerush {
namespace {
QPointer<QInputDialog> openPrompt;
}  // namespace

QString askPlayerName(QWidget* parent, Zoom zoom) {
    QPointer<QInputDialog> dialog = new QInputDialog(parent);
    dialog->setFont(zoom(dialog->font()));  // its layout grows with the text
    dialog->setWindowTitle(QStringLiteral("High Score!"));
    dialog->setLabelText(QStringLiteral("Please Enter Your Name"));
    openPrompt = dialog;
    const bool accepted = dialog->exec() == QDialog::Accepted;
    if (!dialog) return QString();  // its parent went first
    const QString text = accepted ? dialog->textValue() : QString();
    delete dialog;
    return text;
}

bool acceptOpenPrompt() {
    if (!openPrompt || !openPrompt->isVisible()) return false;
    openPrompt->accept();
    return true;
}

}  // namespace stonerush
