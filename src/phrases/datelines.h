#pragma once

#include <QDateTime>
#include <QStringList>

// The date and time lines the date dialog offers, and the classic date format codes they use:
// "yyyy" "yy" four/two-digit year, "m"/"mm" month, "d"/"dd" day (without/with leading zero),
// "ggg" the Japanese era's name, "e" the year within the era, "aaaa" the weekday's Japanese name;
// "/" is the date separator; every other character stands for itself.
namespace DateLines {

// 明治 from 1868-01-01, 大正 1912-07-30, 昭和 1926-12-25, 平成 1989-01-08, 令和 2019-05-01.
// Before the first era there is none: the name is empty and the year is the calendar year.
QString eraName(QDate date);
int eraYear(QDate date);

QString format(QStringView code, QDate date);

// The eighteen lines, in the dialog's order, for one instant.
QStringList all(const QDateTime &at);

} // namespace DateLines
