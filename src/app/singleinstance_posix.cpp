#include "app/singleinstance.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// flock() belongs to the open file description, not to the process: a second open of the same
// file conflicts even inside this process, and the kernel drops the lock when the last
// descriptor closes, which includes the process being killed. The file is the folder owner's
// alone (0600): a lock on anything others may open, the folder itself included, would let any
// other user keep this one's editor from starting.
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
    const QByteArray dir = QFile::encodeName(programDir_);
    const QByteArray path = dir + "/" + QFile::encodeName(LockFileName);
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        qWarning("q7Zibo: cannot open the program directory %ls (%s); starting without the single-instance check",
                 qUtf16Printable(QDir::toNativeSeparators(programDir_)), std::strerror(errno));
        return true;
    }
    // Made by root in a user's folder, the file goes to that user, or the user's own later
    // starts could not open it.
    struct stat folder, file;
    if (::geteuid() == 0 && ::stat(dir.constData(), &folder) == 0 && ::fstat(fd, &file) == 0
        && file.st_uid != folder.st_uid && ::fchown(fd, folder.st_uid, folder.st_gid) != 0)
        qWarning("q7Zibo: cannot give %s to the folder's owner (%s)", path.constData(), std::strerror(errno));
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
