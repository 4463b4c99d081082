#pragma once

#include <QByteArray>
#include <QString>

class ChartSet;
struct TSettings;

// "Copy to log": the line figures' points as text lines, one per point, each led by its time label.

// The points to write: one less than the longest of the figure series (the newest is still being drawn).
qint64 chartLogPoints(ChartSet &charts);

// The heading line, then points 1..points with the columns the graph settings show, in the log's
// separator (comma or tab); lines end in CR LF, in the local 8-bit encoding.
QByteArray chartLogText(ChartSet &charts, const TSettings &settings, const QString &heading, qint64 points);
