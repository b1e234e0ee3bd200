// The settings value decoders, alone and through a hand-edited settings file read into the
// holders: nothing crashes, every value taken is one the program can use, and what the holders
// write reads back to the same holders.
#include "fuzzcommon.h"
#include "settings/holders.h"
#include "settings/settingsstore.h"
#include "settings/settingstext.h"

#include <cmath>

namespace {

void checkDecoders(const QString &text)
{
    const auto number = SettingsText::toNumber(text);
    if (number && std::isfinite(*number)) {
        // What is written reads back, and writing that again changes nothing.
        const QString spelled = SettingsText::fromNumber(*number);
        const auto back = SettingsText::toNumber(spelled);
        FUZZ_CHECK(back && SettingsText::fromNumber(*back) == spelled);
        const QString tab = SettingsText::fromTabFontSize(*number);
        const auto tabBack = SettingsText::toNumber(tab);
        FUZZ_CHECK(tabBack && SettingsText::fromTabFontSize(*tabBack) == tab);
    }
    if (const auto whole = SettingsText::toLong(text)) {
        FUZZ_CHECK(number && std::fabs(*number - *whole) <= 0.5);
        FUZZ_CHECK(SettingsText::toLong(SettingsText::fromColour(*whole)) == whole);
        const int system = SettingsText::systemColourIndex(*whole);
        FUZZ_CHECK(system >= -1 && system < SettingsText::SystemColourCount);
        FUZZ_CHECK(SettingsText::isValidColour(*whole) == (system >= 0 || (*whole >= 0 && *whole <= 0xFFFFFF)));
    }
    if (const auto flag = SettingsText::toBool(text))
        FUZZ_CHECK(SettingsText::toBool(SettingsText::fromBool(*flag)) == flag);
}

bool sameFont(const Holders::Font &a, const Holders::Font &b)
{
    return a.name == b.name && a.size == b.size && a.bold == b.bold && a.italic == b.italic;
}

bool sameHolders(const Holders &a, const Holders &b)
{
    bool apps = true;
    for (int i = 0; i < Holders::AppCount; ++i)
        apps = apps && a.apps[i].path == b.apps[i].path && a.apps[i].name == b.apps[i].name;
    return apps && a.ime == b.ime && a.restoreSize == b.restoreSize && a.restorePosition == b.restorePosition
           && a.quoteMark == b.quoteMark && sameFont(a.textFont, b.textFont) && a.foreColor == b.foreColor
           && a.backColor == b.backColor && sameFont(a.tabFont, b.tabFont) && a.tabCaptions == b.tabCaptions;
}

void checkHolders(const Holders &h)
{
    FUZZ_CHECK(Holders::isFontSize(h.tabFont.size));
    FUZZ_CHECK(h.textFont.size == 0 || Holders::isFontSize(h.textFont.size));
    FUZZ_CHECK(SettingsText::isValidColour(h.foreColor) && SettingsText::isValidColour(h.backColor));
    for (const QString &caption : h.tabCaptions)
        FUZZ_CHECK(caption.size() <= Holders::MaxCaptionLength);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const QByteArray &line : bytes.split('\n'))
        checkDecoders(QString::fromUtf8(line));

    // The same bytes as a settings file.
    const QString path = fuzzFile(QStringLiteral("q7Zibo.conf"));
    FUZZ_CHECK(putFile(path, bytes));
    Holders read;
    {
        const SettingsStore store(path);
        read.read(store);
    }
    checkHolders(read);
    const QString copy = fuzzFile(QStringLiteral("copy.conf"));
    QFile::remove(copy);
    {
        SettingsStore store(copy);
        read.write(store);
        FUZZ_CHECK(store.sync());
    }
    Holders again;
    {
        const SettingsStore store(copy);
        again.read(store);
    }
    FUZZ_CHECK(sameHolders(read, again));
    return 0;
}
