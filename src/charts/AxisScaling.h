#pragma once
// The vertical axis rules of the charts: AdjustYAxis widens an axis for a new
// value (and, with "Match vertical axis with current plot value", brings the
// top back down), the pins keep the user charts' minimum, and the reset items
// put the axes back to their defaults. Axes move only through here, the drag
// handlers and the resets; they are never automatic.
#include "charts/ChartTable.h"

#include <QString>

class ChartSet;
class QCustomPlot;
struct TSettings;

class AxisScaling {
public:
    AxisScaling(ChartSet &charts, TSettings &settings);

    // axis "r" names the right axis, anything else the left one. True when the
    // call showed the chart's off-scale indicator (Image2 on Chart3, Image13 on
    // Chart19, when their minimum is not pinned).
    bool AdjustYAxis(int chart, const QString &axis, double value);
    bool AdjustYAxis(QCustomPlot *chart, const QString &axis, double value);

    // Whether the plotting code should call AdjustYAxis for this chart and axis:
    // the chart's "Adjust vertical axis automatically" switch (and, for the
    // overlays, their "Overlay" item); Chart30/Chart31 also for their first value.
    bool autoAdjustOn(int chart, AxisSide side) const;

    // Adding a point: the point, then AdjustYAxis when the switch is on. True
    // when the value is at or above the axis maximum (the off-scale indicator).
    bool addPoint(const QString &series, double value, const QString &label, TColor colour);

    // "Reset vertical axis to default values" of ChartPopup (status-page charts).
    void resetHttpAxes(int chart);
    // The same item of TelnetPopup: both axes 0..10; Chart30/Chart31 fit their next value again.
    void resetTelnetAxes(int chart);

    // Flag strings indexed by the chart's Tag; a character past the end is not "1".
    static bool flagAt(const QString &flags, int tag);

private:
    bool matchOn(const ChartDef &def) const;
    void replot(int chart);

    ChartSet &m_charts;
    TSettings &m_settings;
};
