#pragma once
// Shared by the fuzz targets: default settings loaded once with a fixed
// clock and screen, and the input's bytes as the parsers see router text.
#include "settings/SettingsStore.h"

#include <QString>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

namespace fuzzsupport {

inline const TSettings &defaults()
{
    static const TSettings s = [] {
        SettingsEnvironment env;
        env.settingsPath = QStringLiteral("/nonexistent/veltrano-fuzz.ini");
        env.screenSize = QSize(1920, 1080);
        env.now = QDateTime(QDate(2026, 12, 6), QTime(8, 47, 39));
        env.locale = QLocale::c();
        return settingsstore::load(env).settings;
    }();
    return s;
}

// Router pages and replies are read one character per byte.
inline QString latin1(const std::string &bytes)
{
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}

// A number from the settings file: mostly ordinary, sometimes at the type's edges.
inline int settingInt(FuzzedDataProvider &p, int ordinaryMax)
{
    switch (p.ConsumeIntegralInRange(0, 3)) {
    case 0:
        return p.ConsumeIntegral<int>();
    default:
        return p.ConsumeIntegralInRange(-100, ordinaryMax);
    }
}

} // namespace fuzzsupport
