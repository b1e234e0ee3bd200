#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>

// About 400 characters have more than one code in code page 932: the NEC-selected IBM
// extensions (lead bytes ED, EE) repeat the IBM extensions (FA-FC), and NEC row 13 (87) repeats
// JIS symbols of row 2 (81), e.g. ∵ ≒ ≡ ∫ √ ⊥ ∠ ∩ ∪ and ￢. Decoding loses which code a file
// used and the converter writes its own preferred one, so a file opened and saved would change
// where the user changed nothing. A Cp932Variants remembers, per character, the code a file
// used when it is not the preferred one, and puts it back into the converter's output.
//
// The groups come from the platform's own converter (every two-byte code decoded and encoded
// again), not from a table of our own.
class Cp932Variants final {
public:
    // The codes that the bytes of a file read as CP932 use. For a character the file writes with
    // two different codes, the first one counts.
    static Cp932Variants scan(QByteArrayView bytes);

    // Rewrites, in bytes the converter produced (whole characters, nothing else), each preferred
    // code of a remembered character to the code remembered for it. Same length.
    void apply(QByteArray &converted) const;

    // Takes the other's choices for characters this one has none for (a file inserted into a
    // sheet brings its codes, the sheet's own win).
    void merge(const Cp932Variants &other);

    bool isEmpty() const { return codes_.isEmpty(); }
    // The code remembered for a character, or 0 when it is written with the preferred one.
    quint16 codeFor(char16_t c) const { return codes_.value(c, 0); }
    bool operator==(const Cp932Variants &other) const { return codes_ == other.codes_; }

    // Every code of every character that has more than one, grouped: code -> character, and
    // character -> the code the converter writes. For tests and the scan.
    struct Groups {
        QHash<quint16, char16_t> character;
        QHash<char16_t, quint16> preferred;
    };
    static const Groups &groups();

private:
    QHash<char16_t, quint16> codes_; // only characters whose code is not the preferred one
};
