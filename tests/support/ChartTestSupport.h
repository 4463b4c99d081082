#pragma once
// Settings as a fresh install has them, for the chart tests.
#include "settings/SettingsStore.h"

#include <QTemporaryDir>

namespace charttest {

inline TSettings defaultSettings()
{
    QTemporaryDir dir;
    SettingsEnvironment env;
    env.settingsPath = dir.filePath(QStringLiteral("none.ini"));
    env.screenSize = QSize(1920, 1080);
    env.now = QDateTime(QDate(2026, 12, 6), QTime(8, 47, 39));
    env.locale = QLocale::c();
    return settingsstore::load(env).settings;
}

} // namespace charttest
