#pragma once

#include "platform/commondialog.h"

#include <QList>
#include <QString>

// File dialogs answered from a script: each show takes the next answer, a path to choose or a
// cancel. Every show is recorded with the properties it was shown with.
class FakeCommonDialog final : public CommonDialog {
public:
    enum class Kind { Open, Save, Font, Color };
    struct Call {
        Kind kind;
        QString fileName;   // what the dialog started with
        int filterIndex;
        int flags;
    };

    void choose(const QString &path) { answers.append({false, path}); }
    void cancel() { answers.append({true, QString()}); }

    Result ShowOpen(QWidget *) override { return show(Kind::Open); }
    Result ShowSave(QWidget *) override { return show(Kind::Save); }
    Result ShowFont(QWidget *) override { return show(Kind::Font); }
    Result ShowColor(QWidget *) override { return show(Kind::Color); }

    QList<Call> calls;

private:
    struct Answer {
        bool cancel;
        QString path;
    };

    Result show(Kind kind)
    {
        calls.append({kind, FileName, FilterIndex, Flags});
        // An unscripted dialog is cancelled, as a user who closes it would.
        if (answers.isEmpty() || answers.first().cancel) {
            if (!answers.isEmpty())
                answers.removeFirst();
            return Result::Cancelled;
        }
        FileName = answers.takeFirst().path;
        return Result::Accepted;
    }

    QList<Answer> answers;
};
