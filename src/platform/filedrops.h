#pragma once

#include <QStringList>
#include <functional>

class QEvent;
class QMimeData;

// Files dragged from the file manager onto the program: the boxes that take a dropped file's
// path and the main window share these rules.
namespace FileDrops {

// The local files of dropped data, in the order the file manager gave them.
QStringList localFiles(const QMimeData *data);

// For an event filter on a box that takes dropped files only: a drag that carries files is
// accepted and one that does not is refused (so a drop never types text into the box); the
// files of a drop go to take. True when the event was a drag or drop event, now handled.
bool filter(QEvent *event, const std::function<void(const QStringList &files)> &take);

} // namespace FileDrops
