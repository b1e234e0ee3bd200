#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class DateDialog;
class Dialogs;
class QAction;
class SettingsStore;
class WindowHost;

// The date formats and boilerplate phrases: two commands onto the two pages of one modeless
// dialog, which keeps its lines and list while it stays open.
class DateController final : public QObject {
    Q_OBJECT
public:
    enum Page { DatePage = 0, PhrasePage = 1 };

    // insert replaces the sheet's selection as a rewrite (the whole text kept for Undo first).
    DateController(WindowHost &host, SettingsStore *settings, Dialogs *dialogs, const QString &programDir,
                   std::function<void(const QString &)> insert, QObject *parent = nullptr);

    QAction *dateFormatAction() const { return dateFormatAction_; }
    QAction *phraseAction() const { return phraseAction_; }

    void showDialog(Page page);
    // The phrase list is the user's data: a closing dialog writes its file.
    void closeDialog();

private:
    QAction *newAction(const char *name, const QString &caption, const QKeySequence &shortcut, Page page);

    WindowHost &host_;
    SettingsStore *settings_;
    Dialogs *dialogs_;
    QString programDir_;
    std::function<void(const QString &)> insert_;
    QAction *dateFormatAction_;
    QAction *phraseAction_;
    QPointer<DateDialog> dialog_;
};
