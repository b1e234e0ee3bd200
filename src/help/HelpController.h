#pragma once

#include <QObject>
#include <QPointer>

class HelpViewer;
class QAction;
class WindowHost;

// The help command: the manual in the program's own modeless viewer.
class HelpController final : public QObject {
    Q_OBJECT
public:
    // helpFile: the manual; empty means q7Zibo.hlp in programDir.
    HelpController(WindowHost &host, const QString &helpFile, const QString &programDir, QObject *parent = nullptr);

    QAction *helpAction() const { return helpAction_; }

private:
    void showHelp();

    WindowHost &host_;
    QString helpFile_;
    QAction *helpAction_;
    QPointer<HelpViewer> viewer_;
};
