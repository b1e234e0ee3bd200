#pragma once

#include "platform/commondialog.h"

#include <QStringList>

// Dialogs answered from a script: each show takes the next answer; a null one, or none left, cancels.
// Answers: a file dialog's the path, a colour dialog's a colour name ("#0000ff"), a font dialog's "name,size[,bold][,italic]".
// Every show is recorded with what it started from: "<Open|Save> filter <index> flags <flags>
// from <file name>", "Color from <#rrggbb>", "Font flags <flags> from <name> <size>[ bold][ italic]".
class FakeCommonDialog final : public CommonDialog {
public:
    Result ShowOpen(QWidget *) override { return show("Open"); }
    Result ShowSave(QWidget *) override { return show("Save"); }
    Result ShowFont(QWidget *) override
    {
        shown << QStringLiteral("Font flags %1 from %2 %3%4%5")
                     .arg(Flags).arg(FontName).arg(FontSize)
                     .arg(FontBold ? " bold" : "", FontItalic ? " italic" : "");
        const QString answer = next();
        if (answer.isNull())
            return Result::Cancelled;
        const QStringList parts = answer.split(u',');
        FontName = parts.value(0);
        FontSize = parts.value(1).toDouble();
        FontBold = parts.contains(QStringLiteral("bold"));
        FontItalic = parts.contains(QStringLiteral("italic"));
        return Result::Accepted;
    }
    Result ShowColor(QWidget *) override
    {
        shown << QStringLiteral("Color from %1").arg(Color.name());
        const QString answer = next();
        Color = answer.isNull() ? Color : QColor(answer);
        return answer.isNull() ? Result::Cancelled : Result::Accepted;
    }

    QStringList answers;
    QStringList shown;

private:
    Result show(const char *kind)
    {
        shown << QStringLiteral("%1 filter %2 flags %3 from %4").arg(kind).arg(FilterIndex).arg(Flags).arg(FileName);
        const QString answer = next();
        FileName = answer.isNull() ? FileName : answer;
        return answer.isNull() ? Result::Cancelled : Result::Accepted;
    }
    QString next() { return answers.isEmpty() ? QString() : answers.takeFirst(); }
};
