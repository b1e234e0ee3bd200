#pragma once

#include "platform/dialogs.h"

#include <QList>
#include <QString>

#include <functional>
#include <utility>

// A message box's style as tests compare it within a string.
inline QString styleText(const MessageStyle &style)
{
    return QStringLiteral("icon %1 buttons %2 default %3").arg(style.icon).arg(int(style.buttons)).arg(style.defaultButton);
}

// Message boxes answered from a script; every call is recorded.
class FakeDialogs final : public Dialogs {
public:
    struct Call {
        QString prompt;
        MessageStyle style;
        QString title;
    };

    QMessageBox::StandardButton MsgBox(QWidget *, const QString &prompt, const MessageStyle &style, const QString &title) override
    {
        calls.append({prompt, style, title});
        if (whileAsking)
            std::exchange(whileAsking, nullptr)();
        if (!answers.isEmpty())
            return answers.takeFirst();
        // Unscripted: the first button (OK or Yes).
        return style.buttons & QMessageBox::Yes ? QMessageBox::Yes : QMessageBox::Ok;
    }

    QString InputBox(QWidget *, const QString &prompt, const QString &title) override
    {
        calls.append({prompt, {}, title});
        return inputAnswers.isEmpty() ? QString() : inputAnswers.takeFirst();
    }

    QStringList prompts() const
    {
        QStringList out;
        for (const Call &c : calls)
            out << c.prompt;
        return out;
    }

    QList<Call> calls;
    // Runs once while the next box is open, as a signal arriving then would.
    std::function<void()> whileAsking;
    QList<QMessageBox::StandardButton> answers;
    QStringList inputAnswers;
};
