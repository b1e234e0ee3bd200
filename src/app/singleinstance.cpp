#include "app/singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

namespace {

QString defaultLockDir()
{
#ifdef Q_OS_WIN
    // There the runtime location is the user's profile folder, which is no place for a lock.
    return QDir::tempPath();
#else
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
#endif
}

QString lockFileName(const QString &programDir)
{
    const QFileInfo info(programDir);
    QString dir = info.canonicalFilePath();
    if (dir.isEmpty()) // not there (yet): the same spelling still gives the same lock
        dir = QDir::cleanPath(info.absoluteFilePath());
#ifdef Q_OS_WIN
    dir = dir.toCaseFolded();
#endif
    // The home folder keeps users of one shared program directory apart when the lock falls
    // back to a temp folder they share.
    const QByteArray key = (QDir::homePath() + u'\n' + dir).toUtf8();
    const QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex();
    return QStringLiteral("q7Zibo-%1.lock").arg(QString::fromLatin1(hash.left(20)));
}

} // namespace

SingleInstance::SingleInstance(const QString &programDir, const QString &lockDir)
    : lockPath_(QDir(lockDir.isEmpty() ? defaultLockDir() : lockDir)
                    .absoluteFilePath(lockFileName(programDir)))
{
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::tryAcquire()
{
    if (lock_ && lock_->isLocked())
        return true;
    QDir().mkpath(QFileInfo(lockPath_).absolutePath());
    lock_ = std::make_unique<QLockFile>(lockPath_);
    // An editor stays open for days: only a dead holder makes the lock stale, never its age.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0))
        return true;
    if (lock_->error() == QLockFile::LockFailedError)
        return false;
    qWarning("q7Zibo: cannot create the lock file %ls; starting without the single-instance check",
             qUtf16Printable(QDir::toNativeSeparators(lockPath_)));
    return true;
}

QString SingleInstance::lockPath() const
{
    return lockPath_;
}
