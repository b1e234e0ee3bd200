// The recovery journal's reader: whatever the bytes after a valid header, replaying them never
// reads or writes out of bounds. Read as a list of edits, each is applied exactly as a direct
// replacement would be, and a journal cut at any byte gives the text after its last whole record.
#include "fuzzcommon.h"
#include "sheets/recoveryjournal.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString base = QStringLiteral("ab\r\nc\u3042d\U0001F600e");
    const QByteArray header = RecoveryJournal::header({0, 0, base.size(), 0});

    // The bytes as a journal's records, as found on a damaged disk.
    QString damaged = base;
    RecoveryJournal::replay(damaged, QByteArray(header + input.toByteArray()));

    // The bytes as edits: position, removed and inserted length from one byte each, then the
    // inserted units.
    QString expected = base;
    QByteArray journal = header;
    std::vector<qsizetype> ends; // where each record ends
    std::vector<QString> after;  // the text after each record
    for (qsizetype at = 0; at + 3 <= input.size();) {
        const qsizetype position = uchar(input[at]) % (expected.size() + 1);
        const qsizetype removed = uchar(input[at + 1]) % (expected.size() - position + 1);
        const qsizetype count = qMin<qsizetype>(uchar(input[at + 2]) % 8, (input.size() - at - 3) / 2);
        QString inserted;
        for (qsizetype k = 0; k < count; ++k)
            inserted += QChar(char16_t(uchar(input[at + 3 + 2 * k]) | uchar(input[at + 4 + 2 * k]) << 8));
        at += 3 + 2 * count;
        expected.replace(position, removed, inserted);
        journal += RecoveryJournal::record({position, removed, expected.size(), inserted});
        ends.push_back(journal.size());
        after.push_back(expected);
    }
    QString replayed = base;
    FUZZ_CHECK(RecoveryJournal::replay(replayed, journal) == qsizetype(ends.size()));
    FUZZ_CHECK(replayed == expected);

    // Cut where the input's length says.
    if (ends.empty())
        return 0;
    const qsizetype cut = RecoveryJournal::HeaderBytes + qsizetype(size) % (journal.size() - RecoveryJournal::HeaderBytes);
    QString partial = base;
    const qsizetype applied = RecoveryJournal::replay(partial, QByteArrayView(journal).first(cut));
    const qsizetype whole = std::upper_bound(ends.begin(), ends.end(), cut) - ends.begin();
    FUZZ_CHECK(applied == whole);
    FUZZ_CHECK(partial == (whole == 0 ? base : after[whole - 1]));
    return 0;
}
