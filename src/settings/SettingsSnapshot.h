#pragma once
// The values of every settings key at one moment, to tell which keys a change
// has altered since.
#include "settings/TSettings.h"

#include <QSet>
#include <QString>
#include <QVariant>
#include <array>
#include <vector>

// A setting named as the file names it: "Section/Key".
using SettingKeys = QSet<QString>;
QString settingKey(const char *section, const char *key);

// The values of every key (and the decoded telnet chart flags) at one moment.
class SettingsSnapshot {
public:
    explicit SettingsSnapshot(const TSettings &s);
    // The keys whose values differ in now; the snapshot then holds now's values.
    SettingKeys advanceTo(const TSettings &now);

private:
    std::vector<QVariant> m_values;
    std::array<bool, 17> m_captureFlags{};
    std::array<bool, 17> m_logFlags{};
};
