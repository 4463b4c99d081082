#pragma once
// The titles of the telnet counter charts, which depend on the telnet
// firmware family and the error period chosen.
#include "settings/TSettings.h"

#include <QMap>
#include <QString>

// Chart number -> left-axis title; charts a family leaves alone are absent.
QMap<int, QString> telnetChartTitles(const TSettings &s);

// The bit-loading chart's left-axis title.
QString bitLoadingTitle(const TSettings &s);
