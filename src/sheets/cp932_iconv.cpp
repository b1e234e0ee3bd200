#include "sheets/cp932.h"

#include "sheets/iconvcodec.h"

namespace {

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
    return IconvCodec::decode("CP932", bytes, invalidBase, extraByteChar);
}

std::optional<QByteArray> Cp932::encode(QStringView text)
{
    if (hasLookAlike(text))
        return std::nullopt;
    return IconvCodec::encode("CP932", text, 2, extraByteFor);
}
