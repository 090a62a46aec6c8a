#pragma once
// Helpers for tests of the main window: settings kept away from the user's own file,
// files made in a temporary directory, and the status line recorded as it changes.

#include "shell/mainform.h"
#include "shell/panelstatusbar.h"
#include "shell/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

namespace pelorin::test {

// Qt's test mode moves the settings file under ~/.qttest, and each test process gets a
// home of its own so that test programs running side by side do not share the file.
// Each test starts without one.
inline void isolateSettings()
{
    static QTemporaryDir home;
    if (qgetenv("HOME") != QFile::encodeName(home.path()))
        qputenv("HOME", QFile::encodeName(home.path()));
    QStandardPaths::setTestModeEnabled(true);
    QFile::remove(SettingsStore::defaultFile());
}

inline void writeSetting(const QString &section, const QString &name, const QVariant &value)
{
    QSettings settings(SettingsStore::defaultFile(), QSettings::IniFormat);
    settings.setValue(section + QLatin1Char('/') + name, value);
}

inline QString readSetting(const QString &section, const QString &name)
{
    QSettings settings(SettingsStore::defaultFile(), QSettings::IniFormat);
    return settings.value(section + QLatin1Char('/') + name).toString();
}

inline void makeFile(const QString &dir, const QString &name, qint64 size = 10)
{
    QFile file(dir + QLatin1Char('/') + name);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.resize(size));
}

// Every text that status panel 1 of the window shows, in order.
struct StatusLog
{
    explicit StatusLog(TMainForm &form)
    {
        mConnection = QObject::connect(form.StatusBar1, &PanelStatusBar::panelTextChanged, form.StatusBar1,
                         [this](int panel, const QString &text) {
                             if (panel == 1)
                                 texts.append(text);
                         });
    }
    ~StatusLog() { QObject::disconnect(mConnection); }
    StatusLog(const StatusLog &) = delete;
    StatusLog &operator=(const StatusLog &) = delete;
    QStringList texts;

private:
    QMetaObject::Connection mConnection;
};

} // namespace pelorin::test
