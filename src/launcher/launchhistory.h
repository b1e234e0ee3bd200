#pragma once

#include <QString>
#include <QStringList>

// The quick launcher's history: the last ten distinct commands run, oldest first.
namespace LaunchHistory {

constexpr int MaxEntries = 10;

// The history after command ran: unchanged when it equals an entry exactly (letter case
// counts); otherwise the command is appended last, the oldest entry going when ten are held.
QStringList afterRun(QStringList history, const QString &command);

} // namespace LaunchHistory
