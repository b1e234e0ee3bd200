#pragma once

// What the fuzz targets share: a failed check aborts (libFuzzer keeps the input), and a scratch
// folder for the readers that take a path.
#include "sheets/cp932variants.h"
#include "sheets/textcodec.h"

#include <QByteArray>
#include <QHash>
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

// Whether a CP932 file writes one character with two different codes: then only the first code
// comes back, and the bytes may differ where the other one stood. Told by walking the decoded
// text beside the bytes.
inline bool mixesCodes(const QByteArray &bytes, const QString &text)
{
    const auto &groups = Cp932Variants::groups();
    QHash<char16_t, quint16> seen;
    qsizetype at = 0;
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        const bool single = c < 0x80 || TextCodec::isRawByteChar(c)
                            || (c >= 0xFF61 && c <= 0xFF9F) || c == 0x80 || (c >= 0xF8F0 && c <= 0xF8F3);
        if (single) {
            ++at;
            continue;
        }
        FUZZ_CHECK(at + 2 <= bytes.size());
        const quint16 code = quint16(uchar(bytes[at]) << 8 | uchar(bytes[at + 1]));
        at += 2;
        if (groups.preferred.contains(c) && seen.value(c, code) != code)
            return true;
        seen.insert(c, code);
    }
    FUZZ_CHECK(at == bytes.size());
    return false;
}
