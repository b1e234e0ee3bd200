#include "sheets/eucjp.h"

#include "sheets/iconvcodec.h"

namespace {

// glibc's table with the NEC and IBM rows, which files typed on Windows use.
constexpr const char *Table = "EUC-JP-MS";

} // namespace

QString EucJp::decode(const QByteArray &bytes, char16_t invalidBase)
{
    return IconvCodec::decode(Table, bytes, invalidBase);
}

std::optional<QByteArray> EucJp::encode(QStringView text)
{
    // A character the table only has a look-alike for would come back as another one.
    auto bytes = IconvCodec::encode(Table, text, 3);
    if (bytes && decode(*bytes, 0xF700) != text)
        return std::nullopt;
    return bytes;
}
