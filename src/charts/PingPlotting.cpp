#include "charts/PingPlotting.h"

#include "charts/AxisScaling.h"
#include "charts/ChartSeries.h"
#include "charts/ChartSet.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr TColor kBlue = 16711680;
constexpr TColor kRed = 255;
} // namespace

PingPlotting::PingPlotting(AxisScaling &scaling) : m_scaling(scaling) {}

TColor PingPlotting::pointColour(double value)
{
    return value < 1000.0 ? kBlue : kRed;
}

bool PingPlotting::plotPing(double value, const QString &label)
{
    const TColor colour = pointColour(value);
    // Both series hold the same times so switching "Filled" shows the whole history.
    const bool area = m_scaling.addPoint(QStringLiteral("Series20"), value, label, colour);
    const bool line = m_scaling.addPoint(QStringLiteral("Series19"), value, label, colour);
    return area || line;
}

LogItem PingPlotting::logItem(std::optional<int> pingMs)
{
    return LogItem{QStringLiteral("Ping"), pingMs ? QString::number(*pingMs) : QString()};
}

void PingPlotting::applyFilled(ChartSet &charts, bool filled)
{
    if (ChartSeries *s = charts.series(QStringLiteral("Series19")))
        s->setVisible(!filled);
    if (ChartSeries *s = charts.series(QStringLiteral("Series20")))
        s->setVisible(filled);
}

int PingPlotting::clampPacketCount(int value)
{
    return std::clamp(value, 1, 3);
}
