#pragma once

#include <QString>

class QWidget;

// Message boxes in the classic style: one call with a prompt, a button-and-icon style and a
// title, returning the button chosen. Production shows Qt's message boxes; tests script a fake.
namespace MsgBoxStyle {
enum : int {
    OKOnly = 0,
    OKCancel = 1,
    YesNoCancel = 3,
    YesNo = 4,
    Critical = 16,
    Question = 32,
    Exclamation = 48,
    Information = 64,
    DefaultButton2 = 256,  // the second button is the default: for questions whose first answer discards text
};
}

namespace MsgBoxResult {
enum : int { OK = 1, Cancel = 2, Yes = 6, No = 7 };
}

// The program's title, used for message boxes that have no fixed title of their own.
inline const QString AppTitle = QStringLiteral("q7Zibo");

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual int MsgBox(QWidget *parent, const QString &prompt, int style, const QString &title) = 0;
    // A one-line answer; a cancelled box answers the empty text.
    virtual QString InputBox(QWidget *parent, const QString &prompt, const QString &title) = 0;
};

class QtDialogs final : public Dialogs {
public:
    int MsgBox(QWidget *parent, const QString &prompt, int style, const QString &title) override;
    QString InputBox(QWidget *parent, const QString &prompt, const QString &title) override;
};
