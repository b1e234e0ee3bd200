#include "app/singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

#include <windows.h>

// A named mutex lives while any process has a handle to it, so it vanishes with its holder
// however that ends. Opening an existing name, even from this process, reports
// ERROR_ALREADY_EXISTS, which is what refuses the second copy.
struct SingleInstance::Lock {
    HANDLE mutex = nullptr;
    ~Lock() { ::CloseHandle(mutex); }
};

namespace {

// Only the directory goes into the name: the same folder reached through another spelling, a
// link or another letter case gives the same mutex.
QString mutexName(const QString &canonicalDir)
{
    const QByteArray key = QDir::toNativeSeparators(canonicalDir).toCaseFolded().toUtf8();
    const QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex();
    return QStringLiteral("Local\\q7Zibo-%1").arg(QString::fromLatin1(hash.left(32)));
}

} // namespace

SingleInstance::SingleInstance(const QString &programDir) : programDir_(programDir) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::tryAcquire()
{
    if (lock_)
        return true;
    const QFileInfo info(programDir_);
    const QString dir = info.isDir() ? info.canonicalFilePath() : QString();
    if (dir.isEmpty()) {
        qWarning("q7Zibo: cannot open the program directory %ls; starting without the single-instance check",
                 qUtf16Printable(QDir::toNativeSeparators(programDir_)));
        return true;
    }
    const QString name = mutexName(dir);
    const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, reinterpret_cast<LPCWSTR>(name.utf16()));
    const DWORD error = ::GetLastError();
    if (!mutex && error == ERROR_ACCESS_DENIED) // made by a copy running with other rights
        return false;
    if (!mutex) {
        qWarning("q7Zibo: cannot create the mutex %ls (error %lu); starting without the single-instance check",
                 qUtf16Printable(name), static_cast<unsigned long>(error));
        return true;
    }
    if (error == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(mutex);
        return false;
    }
    lock_.reset(new Lock{mutex});
    return true;
}
