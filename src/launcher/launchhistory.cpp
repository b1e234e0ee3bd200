#include "launcher/launchhistory.h"

namespace LaunchHistory {

QStringList afterRun(QStringList history, const QString &command)
{
    // The ten places are compared, a place beyond the last entry counting as the empty text.
    for (int i = 0; i < MaxEntries; ++i)
        if (command == (i < history.size() ? history.at(i) : QString()))
            return history;
    while (history.size() >= MaxEntries)
        history.removeFirst();
    history.append(command);
    return history;
}

} // namespace LaunchHistory
