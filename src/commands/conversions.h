#pragma once

#include <QString>
#include <QStringView>

// Character conversions of the selection: width, kana and case. Characters that a conversion
// does not cover stay as they are. Each is one pass over the text.
namespace Conversions {

// ASCII, the space, half-width katakana and the other half-width forms to their full-width
// forms; a half-width katakana followed by a half-width voiced or semi-voiced mark becomes the
// one voiced katakana ("ｶﾞ" -> "ガ").
QString toWide(QStringView text);
// The reverse; a voiced katakana whose base has a half-width form becomes two characters
// ("ガ" -> "ｶﾞ"). Hiragana and katakana without a half-width form stay.
QString toNarrow(QStringView text);
// Hiragana to katakana (including ゔ and the iteration marks ゝゞ).
QString toKatakana(QStringView text);
// Katakana to hiragana; katakana that have no hiragana form (ヷ to ヺ) stay.
QString toHiragana(QStringView text);
// Simple one-to-one case mapping of every letter, so the length never changes.
QString toUpper(QStringView text);
QString toLower(QStringView text);
// Lower case everywhere, then upper case at the start of the text and after every half-width
// space and every CR LF. Nothing else starts a word.
QString capitalise(QStringView text);

enum class Conversion { Wide, Narrow, Katakana, Hiragana, Upper, Lower, Capitalise };
QString convert(Conversion conversion, QStringView text);

}
