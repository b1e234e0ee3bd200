#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// How a message box looks: its icon, its buttons and the one Enter presses (none: the first).
// A question whose first answer discards text names the safe one.
struct MessageStyle {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;

    bool operator==(const MessageStyle &) const = default;
};

// The program's title, used for message boxes that have no fixed title of their own.
inline const QString AppTitle = QStringLiteral("q7Zibo");

// Message boxes and the one-line input box. Production shows Qt's; tests script a fake.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // The button chosen; closed with Esc or the close box, the one that changes nothing.
    virtual QMessageBox::StandardButton MsgBox(QWidget *parent, const QString &prompt, const MessageStyle &style,
                                               const QString &title) = 0;
    // A one-line answer; a cancelled box answers the empty text.
    virtual QString InputBox(QWidget *parent, const QString &prompt, const QString &title) = 0;
};

class QtDialogs final : public Dialogs {
public:
    QMessageBox::StandardButton MsgBox(QWidget *parent, const QString &prompt, const MessageStyle &style,
                                       const QString &title) override;
    QString InputBox(QWidget *parent, const QString &prompt, const QString &title) override;
};
