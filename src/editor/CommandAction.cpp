#include "editor/CommandAction.h"

#include <QAction>

QAction *newCommandAction(QObject *owner, const char *name, const QString &caption, const QKeySequence &shortcut)
{
    auto *action = new QAction(caption, owner);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    return action;
}
