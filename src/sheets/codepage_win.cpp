#include "sheets/codepage_win.h"

#include <algorithm>

#include <windows.h>

namespace {

constexpr qsizetype DecodeChunk = 4096;     // bytes
constexpr qsizetype EncodeChunk = 1 << 20;  // UTF-16 units

// One call for a run of bytes; it fails as a whole and does not say where, so the caller
// retries a failed run character by character.
bool decodeRun(UINT codePage, const char *bytes, qsizetype n, char16_t *out, int *units)
{
    *units = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes, int(n),
                                 reinterpret_cast<wchar_t *>(out), int(n));
    return *units > 0;
}

} // namespace

namespace CodePageCodec {

QString decode(unsigned codePage, const QByteArray &bytes, char16_t invalidBase, qsizetype (*charLength)(uchar))
{
    // At most one UTF-16 unit per byte.
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *const begin = reinterpret_cast<char16_t *>(text.data());
    char16_t *out = begin;
    const char *p = bytes.constData();
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    int units = 0;
    while (i < n) {
        // A chunk ending on a character boundary, as long as every character is whole.
        qsizetype end = i;
        while (end < n && end - i < DecodeChunk)
            end += (std::min)(charLength(uchar(p[end])), n - end);
        if (decodeRun(codePage, p + i, end - i, out, &units)) {
            out += units;
            i = end;
            continue;
        }
        while (i < end) {
            const uchar b = uchar(p[i]);
            const qsizetype len = charLength(b);
            if (i + len <= n && decodeRun(codePage, p + i, len, out, &units) && units == 1) {
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

std::optional<QByteArray> encode(unsigned codePage, QStringView text, int bytesPerUnit, unsigned long flags)
{
    QByteArray bytes(text.size() * bytesPerUnit, Qt::Uninitialized);
    char *out = bytes.data();
    qsizetype i = 0;
    while (i < text.size()) {
        qsizetype end = (std::min)(text.size(), i + EncodeChunk);
        if (end < text.size() && QChar::isHighSurrogate(text[end - 1].unicode()))
            --end; // keep a surrogate pair in one call
        BOOL usedDefault = FALSE;
        const int written = WideCharToMultiByte(
                codePage, flags, reinterpret_cast<const wchar_t *>(text.utf16() + i), int(end - i), out,
                int((end - i) * bytesPerUnit), nullptr, &usedDefault);
        if (written <= 0 || usedDefault)
            return std::nullopt;
        out += written;
        i = end;
    }
    bytes.truncate(out - bytes.data());
    return bytes;
}

} // namespace CodePageCodec
