#include "platform/dialogs.h"

#include <QInputDialog>
#include <QMessageBox>

int QtDialogs::MsgBox(QWidget *parent, const QString &prompt, int style, const QString &title)
{
    QMessageBox box(parent);
    box.setWindowTitle(title);
    box.setText(prompt);
    switch (style & 0x70) {
    case MsgBoxStyle::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgBoxStyle::Question: box.setIcon(QMessageBox::Question); break;
    case MsgBoxStyle::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgBoxStyle::Information: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    struct Choice { QMessageBox::StandardButton button; int result; };
    Choice choices[3];
    int count = 0;
    switch (style & 0x7) {
    case MsgBoxStyle::OKCancel:
        choices[count++] = {QMessageBox::Ok, MsgBoxResult::OK};
        choices[count++] = {QMessageBox::Cancel, MsgBoxResult::Cancel};
        break;
    case MsgBoxStyle::YesNoCancel:
        choices[count++] = {QMessageBox::Yes, MsgBoxResult::Yes};
        choices[count++] = {QMessageBox::No, MsgBoxResult::No};
        choices[count++] = {QMessageBox::Cancel, MsgBoxResult::Cancel};
        break;
    case MsgBoxStyle::YesNo:
        choices[count++] = {QMessageBox::Yes, MsgBoxResult::Yes};
        choices[count++] = {QMessageBox::No, MsgBoxResult::No};
        break;
    default:
        choices[count++] = {QMessageBox::Ok, MsgBoxResult::OK};
        break;
    }
    QMessageBox::StandardButtons buttons;
    for (int i = 0; i < count; ++i)
        buttons |= choices[i].button;
    box.setStandardButtons(buttons);
    box.setDefaultButton(choices[(style & MsgBoxStyle::DefaultButton2) && count > 1 ? 1 : 0].button);
    const auto chosen = QMessageBox::StandardButton(box.exec());
    for (int i = 0; i < count; ++i)
        if (choices[i].button == chosen)
            return choices[i].result;
    // Closed with Esc or the close box: the answer that changes nothing.
    return count > 1 ? choices[count - 1].result : MsgBoxResult::OK;
}

QString QtDialogs::InputBox(QWidget *parent, const QString &prompt, const QString &title)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, QString(), &ok);
    return ok ? answer : QString();
}
