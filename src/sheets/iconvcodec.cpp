#include "sheets/iconvcodec.h"

#include <QSysInfo>

#include <cerrno>
#include <iconv.h>

namespace {

constexpr const char *Utf16Host =
        QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-16LE" : "UTF-16BE";

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

} // namespace

QString IconvCodec::decode(const char *encoding, const QByteArray &bytes, char16_t invalidBase,
                           char16_t (*extraChar)(uchar))
{
    // The Japanese encodings give at most one UTF-16 unit per byte.
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *const begin = reinterpret_cast<char16_t *>(text.data());
    char16_t *out = begin;
    const char *in = bytes.constData();
    size_t inLeft = size_t(bytes.size());

    Iconv cd(Utf16Host, encoding);
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
        // converter): an extra byte or an invalid one; go on after it.
        const uchar b = uchar(*in);
        const char16_t extra = extraChar ? extraChar(b) : 0;
        *out++ = extra ? extra : (cd.ok() || b >= 0x80 ? char16_t(invalidBase + b) : char16_t(b));
        ++in;
        --inLeft;
    }
    text.truncate(out - begin);
    return text;
}

std::optional<QByteArray> IconvCodec::encode(const char *encoding, QStringView text, int bytesPerUnit,
                                             int (*extraByte)(char16_t))
{
    QByteArray bytes(text.size() * bytesPerUnit, Qt::Uninitialized);
    char *const begin = bytes.data();
    char *out = begin;
    const char *in = reinterpret_cast<const char *>(text.utf16());
    size_t inLeft = size_t(text.size()) * 2;

    Iconv cd(encoding, Utf16Host);
    if (!cd.ok())
        return std::nullopt;
    while (inLeft > 0) {
        size_t oLeft = size_t(bytes.size() - (out - begin));
        if (cd.run(in, inLeft, out, oLeft) || inLeft == 0)
            break;
        if (errno != EILSEQ)
            return std::nullopt; // a surrogate cut off at the end
        const int extra = extraByte ? extraByte(*reinterpret_cast<const char16_t *>(in)) : -1;
        if (extra < 0)
            return std::nullopt;
        *out++ = char(extra);
        in += 2;
        inLeft -= 2;
    }
    bytes.truncate(out - begin);
    return bytes;
}
