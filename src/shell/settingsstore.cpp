#include "shell/settingsstore.h"

#include "platform/error.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace pelorin {

QString SettingsStore::defaultFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
         + QStringLiteral("/Korvel/Pelorin.ini");
}

SettingsStore::SettingsStore(const QString &file)
    : mSettings(std::make_unique<QSettings>(file, QSettings::IniFormat))
{
}

SettingsStore::~SettingsStore()
{
    try {
        close();
    } catch (...) {
        // A destructor must not throw; callers that care call close() themselves.
    }
}

QVariant SettingsStore::rawValue(const QString &section, const QString &name)
{
    const QVariant value = mSettings->value(section + QLatin1Char('/') + name);
    if (value.isValid() && value.typeId() != QMetaType::QString)
        throw Error(QStringLiteral("Invalid data type for '%1'").arg(name));
    return value;
}

int SettingsStore::readInteger(const QString &section, const QString &name, int defaultValue)
{
    const QVariant value = rawValue(section, name);
    return value.isValid() ? parseSettingInteger(value.toString(), defaultValue) : defaultValue;
}

QString SettingsStore::readString(const QString &section, const QString &name, const QString &defaultValue)
{
    const QVariant value = rawValue(section, name);
    return value.isValid() ? value.toString() : defaultValue;
}

void SettingsStore::checkWritable(const QString &name)
{
    if (!mSettings->isWritable() || mSettings->status() != QSettings::NoError)
        throw Error(QStringLiteral("Failed to set data for '%1'").arg(name));
}

void SettingsStore::writeInteger(const QString &section, const QString &name, int value)
{
    writeString(section, name, QString::number(value));
}

void SettingsStore::writeString(const QString &section, const QString &name, const QString &value)
{
    checkWritable(name);
    mSettings->setValue(section + QLatin1Char('/') + name, value);
    mLastWritten = name;
}

void SettingsStore::close()
{
    if (mLastWritten.isEmpty())
        return;
    mSettings->sync();
    const QString name = std::exchange(mLastWritten, QString());
    if (mSettings->status() != QSettings::NoError)
        throw Error(QStringLiteral("Failed to set data for '%1'").arg(name));
}

int parseSettingInteger(const QString &text, int defaultValue)
{
    bool ok = false;
    qlonglong value = 0;
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        const QStringView digits = QStringView(text).mid(2);
        if (digits.isEmpty() || digits.startsWith(u'+') || digits.startsWith(u'-'))
            return defaultValue;
        value = digits.toLongLong(&ok, 16);
        // Hexadecimal text names the 32-bit pattern, so 0xFFFFFFFF reads as -1.
        if (ok && value > 0xFFFFFFFFLL)
            ok = false;
        else if (ok)
            value = static_cast<qint32>(static_cast<quint32>(value));
    } else {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (!(c.isDigit() && c.unicode() < 128) && !(i == 0 && (c == u'+' || c == u'-')))
                return defaultValue;
        }
        value = text.toLongLong(&ok, 10);
        if (ok && (value < INT_MIN || value > INT_MAX))
            ok = false;
    }
    return ok ? static_cast<int>(value) : defaultValue;
}

} // namespace pelorin
