#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>

#include <functional>

class Dialogs;
class FindDialog;
class QAction;
class WindowHost;

// The find and replace command and its modeless dialog: one dialog at a time, brought forward
// while it is open and built afresh from the selection once it was closed.
class FindController final : public QObject {
    Q_OBJECT
public:
    // dialogs: the dialog's message boxes (none: nothing is shown). windowPosition: the window's
    // outer top-left in twips, from which the dialog is placed.
    FindController(WindowHost &host, Dialogs *dialogs, std::function<QPoint()> windowPosition, QObject *parent = nullptr);

    QAction *findAction() const { return findAction_; }

    // The toolbar's button and the status panel open it whatever the menu item's state.
    void showFind();

private:
    WindowHost &host_;
    Dialogs *dialogs_;
    std::function<QPoint()> windowPosition_;
    QAction *findAction_;
    QPointer<FindDialog> dialog_;
};
