#include "phrases/datelines.h"

#include "phrases/dateformats.h"

#include <array>

namespace DateLines {

namespace {

struct Era {
    QDate start;
    const char16_t *name;
};

const std::array<Era, 5> &eras()
{
    static const std::array<Era, 5> table = {{
        {QDate(2019, 5, 1), u"令和"},
        {QDate(1989, 1, 8), u"平成"},
        {QDate(1926, 12, 25), u"昭和"},
        {QDate(1912, 7, 30), u"大正"},
        {QDate(1868, 1, 1), u"明治"},
    }};
    return table;
}

const Era *eraOf(QDate date)
{
    for (const Era &era : eras())
        if (date >= era.start)
            return &era;
    return nullptr;
}

QString weekdayName(QDate date)
{
    static const char16_t *const names[7] = {u"月曜日", u"火曜日", u"水曜日", u"木曜日",
                                             u"金曜日", u"土曜日", u"日曜日"};
    return QString::fromUtf16(names[date.dayOfWeek() - 1]);
}

QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n % 100, 2, 10, QLatin1Char('0'));
}

} // namespace

QString eraName(QDate date)
{
    const Era *era = eraOf(date);
    return era ? QString::fromUtf16(era->name) : QString();
}

int eraYear(QDate date)
{
    const Era *era = eraOf(date);
    // The first (partial) year of an era is year 1.
    return era ? date.year() - era->start.year() + 1 : date.year();
}

QString format(QStringView code, QDate date)
{
    QString out;
    qsizetype i = 0;
    auto take = [&](QStringView token) {
        if (!code.mid(i).startsWith(token))
            return false;
        i += token.size();
        return true;
    };
    while (i < code.size()) {
        if (take(u"yyyy"))
            out += QString::number(date.year());
        else if (take(u"yy"))
            out += twoDigits(date.year());
        else if (take(u"mm"))
            out += twoDigits(date.month());
        else if (take(u"m"))
            out += QString::number(date.month());
        else if (take(u"dd"))
            out += twoDigits(date.day());
        else if (take(u"d"))
            out += QString::number(date.day());
        else if (take(u"ggg"))
            out += eraName(date);
        else if (take(u"e"))
            out += QString::number(eraYear(date));
        else if (take(u"aaaa"))
            out += weekdayName(date);
        else if (take(u"/"))
            out += DateFormats::dateSeparator();
        else
            out += code[i++];
    }
    return out;
}

QStringList all(const QDateTime &at)
{
    const QDate d = at.date();
    const QTime t = at.time();
    return {
        DateFormats::shortDate(d),
        DateFormats::longDate(d),
        format(u"ggge年 m月d日 aaaa", d),
        format(u"ggge年 m月d日", d),
        format(u"yyyy年m月", d),
        format(u"yyyy/m/d", d),
        format(u"yymmdd", d),
        DateFormats::mediumTime(t),
        DateFormats::longTime(t),
        DateFormats::shortTime(t),
        format(u"ggge年 m月", d),
        format(u"yyyy年 m月d日 aaaa", d),
        format(u"m/d/yy", d),
        format(u"m/d/yyyy", d),
        format(u"yyyy-mm-dd", d),
        format(u"m. d. yy", d),
        format(u"m/d/yy", d) + u' ' + DateFormats::shortTime(t),
        format(u"m/d/yy", d) + u' ' + DateFormats::longTime(t),
    };
}

} // namespace DateLines
