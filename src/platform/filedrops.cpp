#include "platform/filedrops.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace FileDrops {

QStringList localFiles(const QMimeData *data)
{
    QStringList files;
    if (data && data->hasUrls())
        for (const QUrl &url : data->urls())
            if (url.isLocalFile())
                files << url.toLocalFile();
    return files;
}

bool filter(QEvent *event, const std::function<void(const QStringList &files)> &take)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (localFiles(drag->mimeData()).isEmpty())
            drag->ignore();
        else
            drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (const QStringList files = localFiles(drop->mimeData()); !files.isEmpty())
            take(files);
        drop->acceptProposedAction();
        return true;
    }
    default:
        return false;
    }
}

} // namespace FileDrops
