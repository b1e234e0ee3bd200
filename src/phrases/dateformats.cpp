#include "phrases/dateformats.h"

#include <QDateTime>
#include <QLocale>

namespace DateFormats {

namespace {

// Formats are applied with the C locale: the Japanese defaults hold no names that a locale
// would translate, and the system's formats on Windows are applied with the system locale.
QLocale formatLocale()
{
#ifdef Q_OS_WIN
    return QLocale::system();
#else
    return QLocale::c();
#endif
}

} // namespace

Formats japaneseDefaults()
{
    return {QStringLiteral("yyyy/MM/dd"), QStringLiteral("yyyy年M月d日"), QStringLiteral("H:mm:ss"),
            QStringLiteral("午前"), QStringLiteral("午後")};
}

Formats current()
{
#ifdef Q_OS_WIN
    const QLocale user = QLocale::system();
    return {user.dateFormat(QLocale::ShortFormat), user.dateFormat(QLocale::LongFormat),
            user.timeFormat(QLocale::LongFormat), user.amText(), user.pmText()};
#else
    return japaneseDefaults();
#endif
}

QString shortDate(const QDate &date, const Formats &f)
{
    return formatLocale().toString(date, f.shortDate);
}

QString longDate(const QDate &date, const Formats &f)
{
    return formatLocale().toString(date, f.longDate);
}

QString longTime(const QTime &time, const Formats &f)
{
    return formatLocale().toString(time, f.longTime);
}

QString shortTime(const QTime &time)
{
    return QLocale::c().toString(time, QStringLiteral("HH:mm"));
}

QString mediumTime(const QTime &time, const Formats &f)
{
    const int h = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    return QStringLiteral("%1:%2 %3")
        .arg(h, 2, 10, QLatin1Char('0'))
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(time.hour() < 12 ? f.am : f.pm);
}

QString dateSeparator(const Formats &f)
{
    for (QChar c : f.shortDate)
        if (!c.isLetter() && c != u'\'')
            return QString(c);
    return QStringLiteral("/");
}

QString stamp(const QDateTime &at, const Formats &f)
{
    return shortTime(at.time()) + u' ' + shortDate(at.date(), f);
}

}
