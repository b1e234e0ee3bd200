#pragma once

#include "platform/dialogs.h"

#include <QList>
#include <QString>

#include <functional>
#include <utility>

// Message boxes answered from a script; every call is recorded.
class FakeDialogs final : public Dialogs {
public:
    struct Call {
        QString prompt;
        int style;
        QString title;
    };

    int MsgBox(QWidget *, const QString &prompt, int style, const QString &title) override
    {
        calls.append({prompt, style, title});
        if (whileAsking)
            std::exchange(whileAsking, nullptr)();
        if (!answers.isEmpty())
            return answers.takeFirst();
        // Unscripted: the first button (OK or Yes).
        return (style & 7) == MsgBoxStyle::YesNo || (style & 7) == MsgBoxStyle::YesNoCancel ? MsgBoxResult::Yes
                                                                                            : MsgBoxResult::OK;
    }

    QString InputBox(QWidget *, const QString &prompt, const QString &title) override
    {
        calls.append({prompt, -1, title});
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
    QList<int> answers;
    QStringList inputAnswers;
};
