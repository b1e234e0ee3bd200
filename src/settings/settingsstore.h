#pragma once

#include "settings/settingskeys.h"

#include <QString>
#include <memory>

class QSettings;

// The per-user settings store: application "q7Zibo", sections and keys as spelled, every value
// a text. A key that was written with the empty text exists and reads back empty.
class SettingsStore final {
public:
    // The platform's native per-user store (the registry on Windows,
    // $XDG_CONFIG_HOME/q7Zibo/q7Zibo.conf elsewhere).
    SettingsStore();
    // An INI file at the given path; tests use this.
    explicit SettingsStore(const QString &iniPath);
    ~SettingsStore();
    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    // The stored text, or def when the key does not exist. A value that a hand edit turned into
    // a list ("a, b" unquoted) reads back joined with ", "; one that holds no text at all
    // (@Invalid(), a binary @Variant) gives def with a warning.
    QString readValue(const QString &section, const QString &key, const QString &def) const;
    bool contains(const QString &section, const QString &key) const;
    void writeValue(const QString &section, const QString &key, const QString &value);
    // The same through the key table; number picks one key of a numbered family.
    QString read(const SettingsKeys::Key &key, const QString &current, int number = 0) const
    {
        return readValue(key.sectionName(), key.keyName(number), current);
    }
    void write(const SettingsKeys::Key &key, const QString &value, int number = 0)
    {
        writeValue(key.sectionName(), key.keyName(number), value);
    }

    // Pushes pending writes to the backing store; false when that failed. A failure sticks:
    // once the store could not be read or written, every later sync() reports false too.
    bool sync();
    QString location() const;

private:
    std::unique_ptr<QSettings> settings_;
};
