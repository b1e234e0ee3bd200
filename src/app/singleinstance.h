#pragma once

#include <QString>
#include <memory>

class QLockFile;

// One running copy per program directory. The lock lives outside the program directory (the
// runtime or temp location), named from a hash of the directory's canonical path, so a second
// start touches no file of the program's.
class SingleInstance final {
public:
    // lockDir empty: the per-user runtime location, or the temp folder where there is none.
    explicit SingleInstance(const QString &programDir, const QString &lockDir = {});
    ~SingleInstance(); // releases the lock
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // False when another live holder has the lock: another process, or another SingleInstance
    // object of this process. A lock left by a process that is gone is taken over, however old.
    // True once held (calling again keeps it), and also when no lock can be made at all (an
    // unwritable lock folder): that is logged, and the program still starts.
    bool tryAcquire();
    QString lockPath() const;

private:
    QString lockPath_;
    std::unique_ptr<QLockFile> lock_;
};
