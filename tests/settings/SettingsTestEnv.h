#pragma once
// A settings file in a scratch folder, loaded and saved with a fixed clock,
// screen and locale so every computed default is known.
#include "TestSupport.h"
#include "settings/SettingsStore.h"

#include <QTemporaryDir>

struct SettingsTestEnv {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("veltrano.ini"));

    SettingsEnvironment env(const QLocale &locale = QLocale::c()) const
    {
        SettingsEnvironment e;
        e.settingsPath = path;
        e.screenSize = QSize(1920, 1080);
        e.now = QDateTime(QDate(2026, 12, 6), QTime(8, 47, 39));
        e.locale = locale;
        return e;
    }

    void write(const QByteArray &bytes) const { testsupport::writeAll(path, bytes); }
    QByteArray read() const { return testsupport::readAll(path); }

    SettingsLoadResult load(const QLocale &locale = QLocale::c()) const { return settingsstore::load(env(locale)); }

    SettingsSaveResult save(const TSettings &s, const QLocale &locale = QLocale::c()) const
    {
        return settingsstore::save(s, path, locale);
    }

    // The value of key in section of the file as it stands, or a null array.
    QByteArray fileValue(const QByteArray &section, const QByteArray &key) const
    {
        QByteArray current;
        for (const QByteArray &rawLine : read().split('\n')) {
            const QByteArray line = rawLine.trimmed();
            if (line.startsWith('[')) {
                current = line.mid(1, line.size() - 2);
                continue;
            }
            const qsizetype eq = line.indexOf('=');
            if (eq > 0 && current.compare(section, Qt::CaseInsensitive) == 0
                && line.left(eq).compare(key, Qt::CaseInsensitive) == 0)
                return line.mid(eq + 1);
        }
        return {};
    }
};
