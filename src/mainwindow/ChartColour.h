#pragma once
// TColor (0x00BBGGRR, system colours 0xFF0000nn, clNone, clDefault) as Qt draws it.
#include "settings/SettingTypes.h"

#include <QColor>
#include <QPalette>

namespace chartcolour {

// System colours come from the palette (the application's when none is given);
// clNone is transparent; clDefault is the palette's base colour.
QColor toQColor(TColor colour);
QColor toQColor(TColor colour, const QPalette &palette);

// An RGB colour back as 0x00BBGGRR.
TColor fromQColor(const QColor &colour);

} // namespace chartcolour
