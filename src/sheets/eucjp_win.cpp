#include "sheets/eucjp.h"

#include "sheets/codepage_win.h"

namespace {

constexpr unsigned CodePage = 20932;

qsizetype charLength(uchar b)
{
    if (b == 0x8F)
        return 3;
    return b == 0x8E || (b >= 0xA1 && b <= 0xFE) ? 2 : 1;
}

} // namespace

QString EucJp::decode(const QByteArray &bytes, char16_t invalidBase)
{
    return CodePageCodec::decode(CodePage, bytes, invalidBase, charLength);
}

std::optional<QByteArray> EucJp::encode(QStringView text)
{
    // This code page takes no conversion flags.
    auto bytes = CodePageCodec::encode(CodePage, text, 3, 0);
    // A character the table only has a look-alike for would come back as another one.
    if (bytes && decode(*bytes, 0xF700) != text)
        return std::nullopt;
    return bytes;
}
