#include "platform/prompt.h"

#include <QInputDialog>

QString InputBox(QWidget* parent, const QString& message, const QString& title, const QString& defaultText) {
    bool accepted = false;
    const QString text =
        QInputDialog::getText(parent, title, message, QLineEdit::Normal, defaultText, &accepted);
    return accepted ? text : QString();
}
