#include "platform/datadir.h"

#include <QFileInfo>
#include <QtGlobal>

#if QT_VERSION < QT_VERSION_CHECK(6, 6, 0)
extern Q_CORE_EXPORT int qt_ntfs_permission_lookup;
#endif

bool DataDir::isWritable(const QString &dir)
{
    // Without the ACL lookup Qt reports only the read-only attribute, which folders under
    // Program Files do not carry although a user cannot write there.
#if QT_VERSION < QT_VERSION_CHECK(6, 6, 0)
    ++qt_ntfs_permission_lookup;
    const bool writable = QFileInfo(dir).isWritable();
    --qt_ntfs_permission_lookup;
    return writable;
#else
    QNtfsPermissionCheckGuard permissions;
    return QFileInfo(dir).isWritable();
#endif
}
