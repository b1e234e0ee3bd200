#include "app/singleinstance.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

// flock() belongs to the open file description, not to the process: a second open of the same
// directory conflicts even inside this process, and the kernel drops the lock when the last
// descriptor closes, which includes the process being killed.
struct SingleInstance::Lock {
    int fd = -1;
    ~Lock() { ::close(fd); }
};

SingleInstance::SingleInstance(const QString &programDir) : programDir_(programDir) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::tryAcquire()
{
    if (lock_)
        return true;
    const QByteArray path = QFile::encodeName(programDir_);
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        qWarning("q7Zibo: cannot open the program directory %ls (%s); starting without the single-instance check",
                 qUtf16Printable(QDir::toNativeSeparators(programDir_)), std::strerror(errno));
        return true;
    }
    int rc;
    do
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    if (rc == 0) {
        lock_.reset(new Lock{fd});
        return true;
    }
    const int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK)
        return false;
    // Some network file systems refuse the lock; starting twice there is the lesser harm.
    qWarning("q7Zibo: cannot lock the program directory %ls (%s); starting without the single-instance check",
             qUtf16Printable(QDir::toNativeSeparators(programDir_)), std::strerror(error));
    return true;
}
