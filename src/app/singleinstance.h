#pragma once

#include <QString>
#include <memory>

// One running copy per data directory (the program's own directory, or the user's data folder
// for an installed copy), whoever starts it and from wherever: the lock depends on the directory
// alone, so a copy started from a root shell or a scheduled job meets the same lock as the
// user's own. It disappears with the process that held it, however that process ended. Per
// system: an advisory lock on a file in the directory that only its owner may open, LockFileName
// (POSIX), or a named mutex keyed by the directory's canonical path (Windows). A second start hands its request to the
// running copy through singleinstance_handover.h.
class SingleInstance final {
public:
    static inline const QString LockFileName = QStringLiteral("q7Zibo.lock");

    explicit SingleInstance(const QString &programDir);
    ~SingleInstance(); // releases the lock
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // False when another live holder has the lock: another process, or another SingleInstance
    // object of this process. True once held (calling again keeps it), and also when no lock can
    // be taken at all (the directory cannot be opened): that is logged, and the program still
    // starts.
    bool tryAcquire();

private:
    struct Lock; // the system's handle, defined per system
    QString programDir_;
    std::unique_ptr<Lock> lock_;
};
