#pragma once
// The process-wide settings: one member per key of the settings file, grouped
// by section, so [Graph] NoiseMax is Settings.Graph.NoiseMax. Members are
// value-initialised here; the load gives every one its default or file value.
#include "settings/SettingTypes.h"

#include <QChar>
#include <array>

struct TSettings {
#define VT_SECTION(S, NAME) struct S##Keys {
#define VT_SECTION_END(S) } S;
#define VT_KEY(S, M, NAME, TYPE, DEF, RANGE) SettingValueT<KeyType::TYPE> M{};
#define VT_KEY_WRITTEN_AS(S, M, NAME, TYPE, DEF, RANGE, WNAME) VT_KEY(S, M, NAME, TYPE, DEF, RANGE)
#define VT_KEY_READ_ONLY(S, M, NAME, TYPE, DEF, RANGE) VT_KEY(S, M, NAME, TYPE, DEF, RANGE)
#define VT_KEY_WRITE_ONLY(S, M, NAME, TYPE, DEF, RANGE) VT_KEY(S, M, NAME, TYPE, DEF, RANGE)
#include "settings/SettingsKeys.inc"
#undef VT_SECTION
#undef VT_SECTION_END
#undef VT_KEY
#undef VT_KEY_WRITTEN_AS
#undef VT_KEY_READ_ONLY
#undef VT_KEY_WRITE_ONLY

    // Decoded forms of [CaptureTelnet] CaptureTelnet and LogTelnet, one flag per
    // telnet chart. They are the working copy: a save rebuilds the two strings from them.
    std::array<bool, 17> CaptureTelnetFlags{};
    std::array<bool, 17> LogTelnetFlags{};

    // Decimal and group signs of router figures, from [System] Numbering.
    QChar NumberDecimalChar = QLatin1Char('.');
    QChar NumberGroupChar = QLatin1Char(',');
};
