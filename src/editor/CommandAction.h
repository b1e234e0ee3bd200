#pragma once

#include <QKeySequence>
#include <QString>

class QAction;
class QObject;

// A command's action as every controller makes it: its caption, its C++ name as object name (so
// tests find it), and a shortcut that works wherever the focus is in the main window.
QAction *newCommandAction(QObject *owner, const char *name, const QString &caption, const QKeySequence &shortcut = {});
