#include "sheets/cp932.h"

#include <QSysInfo>

#include <cerrno>
#include <iconv.h>

namespace {

constexpr const char *Utf16Host =
        QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-16LE" : "UTF-16BE";

// glibc's CP932 lacks five single bytes that the code page has.
char16_t extraByteChar(uchar b)
{
    switch (b) {
    case 0x80: return 0x0080;
    case 0xA0: return 0xF8F0;
    case 0xFD: return 0xF8F1;
    case 0xFE: return 0xF8F2;
    case 0xFF: return 0xF8F3;
    default: return 0;
    }
}

int extraByteFor(char16_t c)
{
    switch (c) {
    case 0x0080: return 0x80;
    case 0xF8F0: return 0xA0;
    case 0xF8F1: return 0xFD;
    case 0xF8F2: return 0xFE;
    case 0xF8F3: return 0xFF;
    default: return -1;
    }
}

class Iconv {
public:
    Iconv(const char *to, const char *from) : cd_(iconv_open(to, from)) {}
    ~Iconv()
    {
        if (ok())
            iconv_close(cd_);
    }
    Iconv(const Iconv &) = delete;
    Iconv &operator=(const Iconv &) = delete;

    bool ok() const { return cd_ != iconv_t(-1); }

    // Converts until the input ends or iconv stops; on a stop, errno tells why and
    // in points at the first unconverted byte.
    bool run(const char *&in, size_t &inLeft, char *&out, size_t &outLeft)
    {
        char *inPtr = const_cast<char *>(in);
        const size_t r = iconv(cd_, &inPtr, &inLeft, &out, &outLeft);
        in = inPtr;
        return r != size_t(-1);
    }

private:
    iconv_t cd_;
};

// glibc maps these characters outside the code page to a look-alike inside it (U+00A5 to 0x5C,
// U+301C to 0x8160, ...). The platform encoder, asked for no best fit, refuses them, and they
// would not read back, so a text holding one has no CP932 form. The whole list, found by
// encoding every BMP character and decoding it again.
bool hasLookAlike(QStringView text)
{
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c < 0x00A2 || (c > 0x00AC && c < 0x2014) || c > 0x301C)
            continue; // nearly every character: Japanese text lies above, ASCII below
        switch (c) {
        case 0x00A2: case 0x00A3: case 0x00A5: case 0x00AC: case 0x2014:
        case 0x2016: case 0x203E: case 0x2212: case 0x301C:
            return true;
        default:
            break;
        }
    }
    return false;
}

} // namespace

QString Cp932::decode(const QByteArray &bytes, char16_t invalidBase)
{
    // Every CP932 character is one byte or two and one UTF-16 unit, so the text is never
    // longer than the bytes.
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *const begin = reinterpret_cast<char16_t *>(text.data());
    char16_t *out = begin;
    const char *in = bytes.constData();
    size_t inLeft = size_t(bytes.size());

    Iconv cd(Utf16Host, "CP932");
    while (inLeft > 0) {
        if (cd.ok()) {
            char *o = reinterpret_cast<char *>(out);
            size_t oLeft = size_t(bytes.size() - (out - begin)) * 2;
            const bool done = cd.run(in, inLeft, o, oLeft);
            out = reinterpret_cast<char16_t *>(o);
            if (done || inLeft == 0)
                break;
        }
        // iconv stopped at a byte that does not start a character it knows (or there is no
        // converter): one of the five extra bytes or an invalid one; go on after it.
        const uchar b = uchar(*in);
        const char16_t extra = extraByteChar(b);
        *out++ = extra ? extra : (cd.ok() || b >= 0x80 ? char16_t(invalidBase + b) : char16_t(b));
        ++in;
        --inLeft;
    }
    text.truncate(out - begin);
    return text;
}

std::optional<QByteArray> Cp932::encode(QStringView text)
{
    if (hasLookAlike(text))
        return std::nullopt;

    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    char *const begin = bytes.data();
    char *out = begin;
    const char *in = reinterpret_cast<const char *>(text.utf16());
    size_t inLeft = size_t(text.size()) * 2;

    Iconv cd("CP932", Utf16Host);
    if (!cd.ok())
        return std::nullopt;
    while (inLeft > 0) {
        size_t oLeft = size_t(bytes.size() - (out - begin));
        if (cd.run(in, inLeft, out, oLeft) || inLeft == 0)
            break;
        if (errno != EILSEQ)
            return std::nullopt; // a surrogate cut off at the end
        const int extra = extraByteFor(*reinterpret_cast<const char16_t *>(in));
        if (extra < 0)
            return std::nullopt;
        *out++ = char(extra);
        in += 2;
        inLeft -= 2;
    }
    bytes.truncate(out - begin);
    return bytes;
}
