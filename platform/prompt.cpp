#include "platform/prompt.h"

#include <QInputDialog>
#include <QPointer>

namespace {
QPointer<QInputDialog> openPrompt;
}  // namespace

QString InputBox(QWidget* parent, const QString& message, const QString& title, const QString& defaultText) {
    QPointer<QInputDialog> dialog = new QInputDialog(parent);
    dialog->setWindowTitle(title);
    dialog->setLabelText(message);
    dialog->setTextValue(defaultText);
    openPrompt = dialog;
    const bool accepted = dialog->exec() == QDialog::Accepted;
    if (!dialog) return QString();  // its parent went first
    const QString text = accepted ? dialog->textValue() : QString();
    delete dialog;
    return text;
}

bool AcceptOpenPrompt() {
    if (!openPrompt || !openPrompt->isVisible()) return false;
    openPrompt->accept();
    return true;
}
