// The text-file reader: detection (whole and piece by piece), decoding, the second CP932 codes
// and the line rule, and the write-back. Aborts when a decoded file does not encode back to its
// own bytes, or when a file read, written back and read again changes.
#include "fuzzcommon.h"
#include "sheets/textfile.h"

#include <algorithm>


using TextCodec::Encoding;

namespace {

// Whether two raw bytes stand side by side: moved into UTF-8 (a CP932 file whose bytes would
// read back as another encoding), such a run may form a well-formed character. No encoding
// keeps the run apart then; the next save settles the file.
bool rawBytesSideBySide(const QString &text)
{
    for (qsizetype i = 1; i < text.size(); ++i)
        if (TextCodec::isRawByteChar(text[i - 1].unicode()) && TextCodec::isRawByteChar(text[i].unicode()))
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    // Detection gives the same answer for the bytes in any pieces.
    const TextCodec::Decoded decoded = TextCodec::decode(bytes);
    FUZZ_CHECK(TextCodec::detect(bytes) == decoded.encoding);
    TextCodec::Detector pieces;
    const qsizetype step = size > 0 ? 1 + data[0] % 7 : 1;
    for (qsizetype at = 0; at < bytes.size(); at += step)
        pieces.feed(QByteArrayView(bytes).sliced(at, std::min(step, bytes.size() - at)));
    FUZZ_CHECK(pieces.encoding() == decoded.encoding);

    // The decoded text, with the file's own second codes, is the file's bytes again.
    const Cp932Variants variants = decoded.encoding == Encoding::Cp932 ? Cp932Variants::scan(bytes) : Cp932Variants();
    Encoding used = Encoding::Utf16Be;
    const QByteArray again = TextCodec::encodePreferring(decoded.text, decoded.encoding, &used,
                                                         TextCodec::LineEnds::CrLf, &variants);
    FUZZ_CHECK(used == decoded.encoding);
    const bool utf16 = used == Encoding::Utf16Le || used == Encoding::Utf16Be || used == Encoding::Utf16LeNoBom
                       || used == Encoding::Utf16BeNoBom;
    const bool oddUtf16 = utf16 && bytes.size() % 2 == 1;
    const bool mixed = used == Encoding::Cp932 && mixesCodes(bytes, decoded.text);
    // EUC-JP and ISO-2022-JP are written in one form: a JIS file with other escapes (ESC ( J,
    // ESC $ @, a switch that changes nothing) or a character with two codes gets other bytes
    // for the same text.
    const bool oneForm = used == Encoding::EucJp || used == Encoding::Iso2022Jp;
    // A printable byte that a damaged JIS file keeps raw reads raw only in the set it was read
    // in, which the text does not tell; written in another, it may read as a character.
    const bool jisRawBytes = used == Encoding::Iso2022Jp && std::any_of(decoded.text.begin(), decoded.text.end(),
            [](QChar c) { return c.unicode() > TextCodec::RawByteBase + 0x20 && c.unicode() < TextCodec::RawByteBase + 0x7F; });
    if (oneForm) {
        FUZZ_CHECK(jisRawBytes || TextCodec::decodeAs(again, used) == decoded.text);
    } else if (oddUtf16) {
        // The odd last byte becomes a whole code unit, so that what follows stays in step.
        FUZZ_CHECK(again.size() == bytes.size() + 1 && again.startsWith(bytes.chopped(1)));
    } else if (again != bytes) {
        // Only the codes of a character the file writes in two ways differ (one code replaces
        // the other: the same length).
        FUZZ_CHECK(mixed);
        FUZZ_CHECK(again.size() == bytes.size());
    }

    // Through a real file: read, written back, read again: the same text, form and codes; a
    // second write-back changes no byte.
    const QString path = fuzzFile(QStringLiteral("text.txt"));
    FUZZ_CHECK(putFile(path, bytes));
    const TextFile::ReadResult first = TextFile::read(path);
    FUZZ_CHECK(first.ok);
    FUZZ_CHECK(first.encoding == decoded.encoding);
    FUZZ_CHECK(first.text == TextFile::joinLines(decoded.text));
    FUZZ_CHECK(first.variants == variants);
    const TextFile::WriteResult firstWrite =
            TextFile::write(path, first.text, TextFile::LineEndPolicy::KeepExisting, first.variants);
    FUZZ_CHECK(firstWrite.ok);
    const bool movedRawBytes = first.encoding != firstWrite.encoding && rawBytesSideBySide(first.text);
    QByteArray written = fileBytes(path);
    TextFile::ReadResult second = TextFile::read(path);
    FUZZ_CHECK(second.ok);
    if (oddUtf16 || mixed || movedRawBytes || (oneForm && again != bytes)) {
        // The odd last byte of a UTF-16 file was completed to a whole character, which may be
        // a line end; a character written in two codes got one of them, which next to a raw
        // byte may read as another pair; a file in one form was written in the other, which
        // may read in another encoding: one more save settles the file.
        FUZZ_CHECK(TextFile::write(path, second.text, TextFile::LineEndPolicy::KeepExisting, second.variants).ok);
        written = fileBytes(path);
        second = TextFile::read(path);
        FUZZ_CHECK(second.ok);
    } else {
        FUZZ_CHECK(second.text == first.text);
        FUZZ_CHECK(second.lineEnds == first.lineEnds);
    }
    FUZZ_CHECK(TextFile::write(path, second.text, TextFile::LineEndPolicy::KeepExisting, second.variants).ok);
    FUZZ_CHECK(fileBytes(path) == written);
    return 0;
}
