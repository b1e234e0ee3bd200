#include "sheets/cp932.h"

#include "sheets/codepage_win.h"

#include <windows.h>

namespace {

constexpr unsigned CodePage = 932;

qsizetype charLength(uchar b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC) ? 2 : 1;
}

} // namespace

QString Cp932::decode(const QByteArray &bytes, char16_t invalidBase)
{
    return CodePageCodec::decode(CodePage, bytes, invalidBase, charLength);
}

std::optional<QByteArray> Cp932::encode(QStringView text)
{
    return CodePageCodec::encode(CodePage, text, 2, WC_NO_BEST_FIT_CHARS);
}
