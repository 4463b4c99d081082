#pragma once
// Settings colours (0x00BBGGRR, or a system colour) as Qt colours.
#include "settings/SettingTypes.h"

#include <QColor>

// System colours map to the application palette's nearest role; clNone and
// clDefault give an invalid colour (callers then keep their own default).
QColor toQColor(TColor colour);
