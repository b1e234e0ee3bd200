// The phrase-file reader: whatever a file holds, its entries survive a save and a load
// unchanged, and the text composed for them parses back to them.
#include "fuzzcommon.h"
#include "phrases/phrasefile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzzFile(PhraseFile::FileName);
    FUZZ_CHECK(putFile(path, QByteArray(reinterpret_cast<const char *>(data), qsizetype(size))));
    const PhraseFile::LoadResult loaded = PhraseFile::load(path);
    FUZZ_CHECK(loaded.status == PhraseFile::LoadResult::Status::Ok);
    for (const QString &entry : loaded.entries)
        FUZZ_CHECK(!entry.isEmpty() && !entry.contains(QStringLiteral("\r\n")));
    FUZZ_CHECK(PhraseFile::parse(PhraseFile::compose(loaded.entries)) == loaded.entries);
    FUZZ_CHECK(PhraseFile::save(path, loaded.entries, loaded.variants).ok);
    PhraseFile::LoadResult again = PhraseFile::load(path);
    FUZZ_CHECK(again.status == PhraseFile::LoadResult::Status::Ok);
    // The odd last byte of a UTF-16 file is completed to a whole character at the first save.
    // A CP932 file that writes a character in two codes gets one of them, which next to a raw
    // byte may read as another pair. From then on, nothing changes.
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const TextCodec::Decoded decoded = TextCodec::decode(bytes);
    const bool oddUtf16 = size % 2 == 1 && size >= 2
                          && ((data[0] == 0xFF && data[1] == 0xFE) || (data[0] == 0xFE && data[1] == 0xFF));
    const bool mixed = decoded.encoding == TextCodec::Encoding::Cp932 && mixesCodes(bytes, decoded.text);
    if (oddUtf16 || mixed) {
        const QStringList settled = again.entries;
        FUZZ_CHECK(PhraseFile::save(path, settled, again.variants).ok);
        again = PhraseFile::load(path);
        FUZZ_CHECK(again.entries == settled);
        return 0;
    }
    FUZZ_CHECK(again.entries == loaded.entries);
    return 0;
}
