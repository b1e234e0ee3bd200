#include "platform/dialogs.h"

#include <QInputDialog>

QMessageBox::StandardButton QtDialogs::MsgBox(QWidget *parent, const QString &prompt, const MessageStyle &style,
                                              const QString &title)
{
    QMessageBox box(style.icon, title, prompt, style.buttons, parent);
    if (style.defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(style.defaultButton);
    // Esc and the close box answer what changes nothing: Cancel or No where the box has one.
    QMessageBox::StandardButton safe = QMessageBox::Ok;
    for (const QMessageBox::StandardButton b : {QMessageBox::Cancel, QMessageBox::No})
        if (style.buttons & b) {
            safe = b;
            break;
        }
    box.setEscapeButton(safe);
    const auto chosen = QMessageBox::StandardButton(box.exec());
    return style.buttons & chosen ? chosen : safe;
}

QString QtDialogs::InputBox(QWidget *parent, const QString &prompt, const QString &title)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, QString(), &ok);
    return ok ? answer : QString();
}
