#pragma once

#include "platform/commondialog.h"

#include <QStringList>

// File dialogs answered from a script: each show takes the next answer, a path to choose, or a
// null string (or no answer left) to cancel, as a user who closes it would. Every show is
// recorded as "<kind> filter <index> flags <flags> from <the file name it started with>".
class FakeCommonDialog final : public CommonDialog {
public:
    Result ShowOpen(QWidget *) override { return show("Open"); }
    Result ShowSave(QWidget *) override { return show("Save"); }
    Result ShowFont(QWidget *) override { return show("Font"); }
    Result ShowColor(QWidget *) override { return show("Color"); }

    QStringList answers;
    QStringList shown;

private:
    Result show(const char *kind)
    {
        shown << QStringLiteral("%1 filter %2 flags %3 from %4").arg(kind).arg(FilterIndex).arg(Flags).arg(FileName);
        const QString answer = answers.isEmpty() ? QString() : answers.takeFirst();
        if (answer.isNull())
            return Result::Cancelled;
        FileName = answer;
        return Result::Accepted;
    }
};
