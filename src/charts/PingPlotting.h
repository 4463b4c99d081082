#pragma once
// The ping chart's side of a ping: the time on both Chart25 series (blue
// under 1000 ms, red otherwise), which series is shown, the log item, and the
// chart's spin and data-pane rules.
#include "acquisition/LogLineBuilder.h"
#include "settings/SettingTypes.h"

#include <QString>
#include <optional>

class AxisScaling;
class ChartSet;

class PingPlotting {
public:
    explicit PingPlotting(AxisScaling &scaling);

    // Both series get the point; returns true when it is at or above the axis maximum.
    bool plotPing(double value, const QString &label);

    static TColor pointColour(double value);
    // "Ping" with PingMs as an integer; without a value when no ping ran.
    static LogItem logItem(std::optional<int> pingMs);
    // cbFilled: Series20 (area) when filled, Series19 (line) otherwise.
    static void applyFilled(ChartSet &charts, bool filled);
    // spPingNum keeps 1..3.
    static int clampPacketCount(int value);

private:
    AxisScaling &m_scaling;
};
