#include "sheets/encodingname.h"

QString encodingName(TextCodec::Encoding encoding)
{
    using TextCodec::Encoding;
    switch (encoding) {
    case Encoding::Cp932:
        return QStringLiteral("Shift_JIS (CP932)");
    case Encoding::Utf8:
        return QStringLiteral("UTF-8 (BOM なし)");
    case Encoding::Utf8Bom:
        return QStringLiteral("UTF-8 (BOM 付き)");
    case Encoding::Utf16Le:
        return QStringLiteral("UTF-16 LE (BOM 付き)");
    case Encoding::Utf16Be:
        return QStringLiteral("UTF-16 BE (BOM 付き)");
    case Encoding::Utf16LeNoBom:
        return QStringLiteral("UTF-16 LE (BOM なし)");
    case Encoding::Utf16BeNoBom:
        return QStringLiteral("UTF-16 BE (BOM なし)");
    case Encoding::EucJp:
        return QStringLiteral("EUC-JP");
    case Encoding::Iso2022Jp:
        return QStringLiteral("JIS (ISO-2022-JP)");
    }
    return {};
}
