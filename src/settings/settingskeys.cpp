#include "settings/settingskeys.h"

namespace SettingsKeys {

QString Key::keyName(int number) const
{
    const QString stem = QLatin1String(name);
    return count > 1 ? stem + QString::number(number) : stem;
}

QString Key::builtInValue(int number) const
{
    const QString value = builtIn ? QString::fromUtf8(builtIn) : QString();
    return count > 1 && !value.isEmpty() ? value + QString::number(number) : value;
}

} // namespace SettingsKeys
