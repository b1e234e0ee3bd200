#pragma once

#include <QString>

class QDate;
class QDateTime;
class QTime;

// The locale's named date and time formats, in one place for the date-time stamp, the status
// bar and the date dialog. On Windows they are the user's own formats; elsewhere the Japanese
// defaults.
namespace DateFormats {

struct Formats {
    QString shortDate; // Qt date format
    QString longDate;
    QString longTime;  // Qt time format
    QString am;        // designators of the twelve-hour "Medium Time"
    QString pm;
};

// yyyy/MM/dd, yyyy年M月d日, H:mm:ss, 午前, 午後.
Formats japaneseDefaults();
// The formats of this system: the user's on Windows, japaneseDefaults() elsewhere.
Formats current();

QString shortDate(const QDate &date, const Formats &f = current());
QString longDate(const QDate &date, const Formats &f = current());
QString longTime(const QTime &time, const Formats &f = current());
// Hours and minutes in 24-hour form, always two digits each: 17:45, 09:05.
QString shortTime(const QTime &time);
// Hours in twelve-hour form and minutes, a blank and the designator: 05:45 午後.
QString mediumTime(const QTime &time, const Formats &f = current());

// The separator the short date puts between its parts ("/" in the Japanese default).
QString dateSeparator(const Formats &f = current());

// The date-time stamp: short time, a blank, short date ("17:45 1998/10/05").
QString stamp(const QDateTime &at, const Formats &f = current());

}
