#pragma once

// The window as a controller sees it, around a bare text box: message boxes answered from a
// script and recorded, notes recorded, a clock the test sets, work run at once and counted.
#include "editor/TextBox.h"
#include "editor/WindowHost.h"
#include "../app/fakes.h"

#include <QDateTime>
#include <QStringList>
#include <QWidget>

class FakeHost final : public WindowHost {
public:
    FakeHost() { box.setParent(&widget); }

    QWidget *window() override { return &widget; }
    TextBox *editor() override { return &box; }
    QMessageBox::StandardButton ask(const QString &prompt, const MessageStyle &style, const QString &title) override
    {
        return dialogs.MsgBox(&widget, prompt, style, title);
    }
    void note(const QString &text) override { notes << text; }
    QDateTime now() const override { return clock; }
    void runBeside(const std::function<void()> &work) override
    {
        ++besides;
        work();
    }
    bool inLongEdit() const override { return longEdit; }
    void updateCommandStates() override { ++stateUpdates; }

    QWidget widget;
    TextBox box;
    FakeDialogs dialogs;
    QStringList notes;
    QDateTime clock = QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5));
    bool longEdit = false;
    int stateUpdates = 0;
    int besides = 0; // work run beside the window's thread
};
