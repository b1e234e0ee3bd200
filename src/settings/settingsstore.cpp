#include "settings/settingsstore.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <QVariant>

namespace {

const QString AppName = QStringLiteral("q7Zibo");

QString settingsKey(const QString &section, const QString &key)
{
    return section.isEmpty() ? key : section + u'/' + key;
}

} // namespace

SettingsStore::SettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            AppName, AppName))
{
    // Only the user's own store counts: a key missing there must read as missing, not come from
    // a system-wide or organisation-wide file.
    settings_->setFallbacksEnabled(false);
}

SettingsStore::SettingsStore(const QString &iniPath)
    : settings_(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::readValue(const QString &section, const QString &key,
                                   const QString &def) const
{
    const QString name = settingsKey(section, key);
    const QVariant value = settings_->value(name);
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::QStringList:
        // An unquoted "a, b" typed into the file by hand reads as a list; the user meant text.
        return value.toStringList().join(QStringLiteral(", "));
    case QMetaType::QByteArray:
        return QString::fromUtf8(value.toByteArray());
    case QMetaType::UnknownType:
        if (!settings_->contains(name))
            return def;
        break;
    default:
        if (value.canConvert<QString>())
            return value.toString();
        break;
    }
    // Only a hand-edited file gets here (an @Invalid() or a binary @Variant blob): say so
    // rather than hand the caller an empty text it would take as a real value.
    qWarning("q7Zibo settings: %ls/%ls holds no text (%s); using the default",
             qUtf16Printable(section), qUtf16Printable(key),
             value.isValid() ? value.typeName() : "invalid");
    return def;
}

bool SettingsStore::contains(const QString &section, const QString &key) const
{
    return settings_->contains(settingsKey(section, key));
}

void SettingsStore::writeValue(const QString &section, const QString &key, const QString &value)
{
    settings_->setValue(settingsKey(section, key), value);
}

bool SettingsStore::sync()
{
    settings_->sync();
    switch (settings_->status()) {
    case QSettings::NoError:
        return true;
    case QSettings::AccessError:
        return false;
    case QSettings::FormatError:
        break;
    }
    // QSettings keeps only its first error, so a file it found malformed on reading hides a
    // later failure to write; judge by whether the file could have been replaced.
    const QFileInfo file(settings_->fileName());
    return file.isFile() && file.isWritable() && QFileInfo(file.absolutePath()).isWritable();
}

QString SettingsStore::location() const
{
    return settings_->fileName();
}
