#include "sheets/eucjp.h"

#include <algorithm>

#define NOMINMAX
#include <windows.h>

namespace {

constexpr UINT CodePage = 20932;
constexpr qsizetype DecodeChunk = 4096;     // bytes
constexpr qsizetype EncodeChunk = 1 << 20;  // UTF-16 units

// How many bytes the character starting with b takes.
qsizetype lengthFrom(uchar b)
{
    if (b == 0x8F)
        return 3;
    return b == 0x8E || (b >= 0xA1 && b <= 0xFE) ? 2 : 1;
}

// One call for a run of bytes; it fails as a whole and does not say where, so the caller
// retries a failed run character by character.
bool decodeRun(const char *bytes, qsizetype n, char16_t *out, int *units)
{
    *units = MultiByteToWideChar(CodePage, MB_ERR_INVALID_CHARS, bytes, int(n),
                                 reinterpret_cast<wchar_t *>(out), int(n));
    return *units > 0;
}

} // namespace

QString EucJp::decode(const QByteArray &bytes, char16_t invalidBase)
{
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *const begin = reinterpret_cast<char16_t *>(text.data());
    char16_t *out = begin;
    const char *p = bytes.constData();
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    int units = 0;
    while (i < n) {
        qsizetype end = i;
        while (end < n && end - i < DecodeChunk)
            end += std::min(lengthFrom(uchar(p[end])), n - end);
        if (decodeRun(p + i, end - i, out, &units)) {
            out += units;
            i = end;
            continue;
        }
        while (i < end) {
            const uchar b = uchar(p[i]);
            const qsizetype len = lengthFrom(b);
            if (i + len <= n && decodeRun(p + i, len, out, &units) && units == 1) {
                ++out;
                i += len;
            } else {
                *out++ = char16_t(invalidBase + b); // go on at the next byte
                ++i;
            }
        }
    }
    text.truncate(out - begin);
    return text;
}

std::optional<QByteArray> EucJp::encode(QStringView text)
{
    QByteArray bytes(text.size() * 3, Qt::Uninitialized);
    char *out = bytes.data();
    qsizetype i = 0;
    while (i < text.size()) {
        qsizetype end = std::min(text.size(), i + EncodeChunk);
        if (end < text.size() && QChar::isHighSurrogate(text[end - 1].unicode()))
            --end; // keep a surrogate pair in one call
        BOOL usedDefault = FALSE;
        const int written = WideCharToMultiByte(
                CodePage, 0, reinterpret_cast<const wchar_t *>(text.utf16() + i), int(end - i), out,
                int((end - i) * 3), nullptr, &usedDefault);
        if (written <= 0 || usedDefault)
            return std::nullopt;
        out += written;
        i = end;
    }
    bytes.truncate(out - bytes.data());
    // A character the table only has a look-alike for would come back as another one.
    if (decode(bytes, 0xF700) != text)
        return std::nullopt;
    return bytes;
}
