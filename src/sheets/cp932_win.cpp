#include "sheets/cp932.h"

#include <algorithm>

#define NOMINMAX
#include <windows.h>

namespace {

constexpr UINT CodePage = 932;
constexpr qsizetype DecodeChunk = 4096;     // bytes
constexpr qsizetype EncodeChunk = 1 << 20;  // UTF-16 units

bool isLeadByte(uchar b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
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

QString Cp932::decode(const QByteArray &bytes, char16_t invalidBase)
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
        // A chunk ending on a character boundary, as long as every lead byte has a valid trail.
        qsizetype end = i;
        while (end < n && end - i < DecodeChunk)
            end += (isLeadByte(uchar(p[end])) && end + 1 < n) ? 2 : 1;
        if (decodeRun(p + i, end - i, out, &units)) {
            out += units;
            i = end;
            continue;
        }
        while (i < end) {
            const uchar b = uchar(p[i]);
            const qsizetype len = (isLeadByte(b) && i + 1 < n) ? 2 : 1;
            if (!(isLeadByte(b) && len == 1) && decodeRun(p + i, len, out, &units) && units == 1) {
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

std::optional<QByteArray> Cp932::encode(QStringView text)
{
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    char *out = bytes.data();
    qsizetype i = 0;
    while (i < text.size()) {
        qsizetype end = std::min(text.size(), i + EncodeChunk);
        if (end < text.size() && QChar::isHighSurrogate(text[end - 1].unicode()))
            --end; // keep a surrogate pair in one call
        BOOL usedDefault = FALSE;
        const int written = WideCharToMultiByte(
                CodePage, WC_NO_BEST_FIT_CHARS,
                reinterpret_cast<const wchar_t *>(text.utf16() + i), int(end - i), out,
                int((end - i) * 2), nullptr, &usedDefault);
        if (written <= 0 || usedDefault)
            return std::nullopt;
        out += written;
        i = end;
    }
    bytes.truncate(out - bytes.data());
    return bytes;
}
