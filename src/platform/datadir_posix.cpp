#include "platform/datadir.h"

#include <QFile>

#include <unistd.h>

bool DataDir::isWritable(const QString &dir)
{
    // The same test the kernel applies to creating a file there, read-only mounts included.
    return ::access(QFile::encodeName(dir).constData(), W_OK | X_OK) == 0;
}
