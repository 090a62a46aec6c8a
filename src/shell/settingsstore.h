#pragma once
// The settings store: an INI file with sections "Main" and "Window" whose values are
// all strings, in $XDG_CONFIG_HOME/Korvel/Pelorin.ini. Integers are written as decimal
// text and read as decimal or "0x" hexadecimal; anything else gives the default.

#include <QString>

#include <memory>

class QSettings;

namespace pelorin {

class SettingsStore
{
public:
    // The file of the running user: $XDG_CONFIG_HOME/Korvel/Pelorin.ini (~/.config by default).
    static QString defaultFile();

    explicit SettingsStore(const QString &file = defaultFile());
    ~SettingsStore(); // closes the store
    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    // A missing section or value, or a value that is not a number, gives defaultValue.
    // A value stored as anything but text raises Error("Invalid data type for '<name>'").
    int readInteger(const QString &section, const QString &name, int defaultValue);
    QString readString(const QString &section, const QString &name, const QString &defaultValue);

    // A write the store refuses raises Error("Failed to set data for '<name>'").
    void writeInteger(const QString &section, const QString &name, int value);
    void writeString(const QString &section, const QString &name, const QString &value);

    // Writes everything out; raises like a refused write when the file cannot be written.
    void close();

private:
    QVariant rawValue(const QString &section, const QString &name);
    void checkWritable(const QString &name);

    std::unique_ptr<QSettings> mSettings;
    QString mLastWritten;
};

// The parsing rule for integer values: optional sign and decimal digits, or "0x"/"0X"
// followed by hexadecimal digits, within 32 bits; anything else yields defaultValue.
int parseSettingInteger(const QString &text, int defaultValue);

} // namespace pelorin
