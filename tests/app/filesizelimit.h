#pragma once

// A full disk for the tests: while one of these lives, no file of the process may grow past the
// given size, and a write that would is cut short (EFBIG), as on a disk that has no
// room left. (Mounting a small file system needs rights a test run may not have.)
#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <QTest>

#include <csignal>
#include <sys/resource.h>

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        QVERIFY(getrlimit(RLIMIT_FSIZE, &saved_) == 0);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN); // else the process ends
        QVERIFY(setrlimit(RLIMIT_FSIZE, &limit) == 0);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit saved_ {};
    void (*oldHandler_)(int) = nullptr;
};
#endif
