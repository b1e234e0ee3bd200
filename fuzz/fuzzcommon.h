#pragma once

// What the fuzz targets share: a failed check aborts (libFuzzer keeps the input), and a scratch
// folder for the readers that take a path.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#define FUZZ_CHECK(cond)                                                                     \
    do {                                                                                     \
        if (!(cond)) {                                                                       \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond);   \
            std::abort();                                                                    \
        }                                                                                    \
    } while (false)

inline QString fuzzFile(const QString &name)
{
    static const QString dir = [] {
        const QString d = QDir::temp().filePath(QStringLiteral("q7fuzz-%1").arg(getpid()));
        QDir().mkpath(d);
        return d;
    }();
    return dir + u'/' + name;
}

inline bool putFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

inline QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
