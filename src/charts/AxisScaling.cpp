#include "charts/ChartRefresh.h"
#include "charts/AxisScaling.h"

#include "widgets/ColourConversion.h"
#include "charts/ChartSet.h"
#include "settings/TSettings.h"

#include <qcustomplot.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

bool isNoiseChart(int chart)
{
    return chart == 1 || chart == 18 || chart == 16;
}

bool isByteChart(int chart)
{
    return chart == 23 || chart == 24;
}

} // namespace

void AxisScaling::replot(int chart)
{
    if (QCustomPlot *p = m_charts.chart(chart))
        chartrefresh::request(p);
}

AxisScaling::AxisScaling(ChartSet &charts, TSettings &settings) : m_charts(charts), m_settings(settings)
{
}

bool AxisScaling::flagAt(const QString &flags, int tag)
{
    return tag >= 0 && tag < flags.size() && flags.at(tag) == QLatin1Char('1');
}

bool AxisScaling::matchOn(const ChartDef &def) const
{
    const QString &flags = def.isHttpChart() ? m_settings.Graph.AutoRestoreHTTP : m_settings.Graph.AutoRestoreTelnet;
    return flagAt(flags, def.tag);
}

bool AxisScaling::AdjustYAxis(QCustomPlot *chart, const QString &axis, double value)
{
    return AdjustYAxis(m_charts.numberOf(chart), axis, value);
}

bool AxisScaling::AdjustYAxis(int chart, const QString &axis, double value)
{
    const ChartDef *def = ChartTable::find(chart);
    if (!def)
        return false;
    const double p = m_settings.Graph.GraphPercent;
    const double e = m_settings.Graph.GraphMaxError;
    const double v = value;
    const bool right = axis == QLatin1String("r");
    ChartAxis left = m_charts.leftAxis(chart);
    bool indicator = false;

    if (!right) {
        const bool unpinned =
            (chart == 3 && !m_settings.Graph.User1Pin) || (chart == 19 && !m_settings.Graph.User2Pin);
        // A value at or over the top widens the axis; a refusal ends the call.
        try {
            if (v >= left.maximum()) {
                left.setMaximum(v + p / 100 * (v - left.minimum()));
                if (unpinned) {
                    left.setMinimum(v - p * v / 100);
                    indicator = true;
                }
            }
        } catch (const ChartAxis::LimitError &) {
            replot(chart);
            return indicator;
        }

        // An unpinned user chart's minimum rises with a high value; it comes
        // down again for one at or below it, so no value falls off the plot (a
        // figure per sample swings from its peak to 0 between polls). The margin
        // is the one it rose by, P % of the value, but at least P % of a tenth
        // of the plot's height, so a 0 shows above the axis line, not on it.
        if (unpinned && v <= left.minimum())
            left.trySetMinimum(v - p / 100 * std::max(std::abs(v), (left.maximum() - v) / 10));

        // The noise margin charts follow a value down, to or below zero.
        if (isNoiseChart(chart) && v <= left.minimum()) {
            if (v <= 0)
                left.trySetMinimum(v + 20 * v / 100);
            else
                // A positive value at a raised minimum: keep it inside the range.
                left.trySetMinimum(v - 20 * v / 100);
        }
    } else {
        ChartAxis r = m_charts.rightAxis(chart);
        if (v > r.maximum())
            r.trySetMaximum(isByteChart(chart) ? v + (p + 10) * v / 100 : v + 40 * v / 100);
    }

    if (matchOn(*def)) {
        const ChartSeries *s = m_charts.valueSeries(chart);
        if (s && s->count() > 3) {
            const double last = s->lastValue();
            if (left.minimum() < -1)
                left.trySetMinimum(-1);
            if (e * last < left.maximum() && left.minimum() < last)
                left.trySetMaximum(last + p / 100 * (last - left.minimum()));
        }
    }
    replot(chart);
    return indicator;
}

bool AxisScaling::autoAdjustOn(int chart, AxisSide side) const
{
    const ChartDef *def = ChartTable::find(chart);
    if (!def)
        return false;
    const auto &g = m_settings.Graph;
    const QString &telnetAuto = m_settings.Telnet.TelnetAuto;
    const bool r = side == AxisSide::Right;
    switch (chart) {
    case 1: return r ? g.RxSyncAuto && g.ShowSync : g.RxNoiseAuto;
    case 2: return g.RxSyncAuto;
    case 3: return g.UserAuto;
    case 19: return g.User1Auto;
    case 18: return g.TxNoiseAuto;
    case 20: return g.TxSyncAuto;
    case 16: return flagAt(telnetAuto, 0) && (!r || g.TelnetShowSync);
    case 30: return flagAt(telnetAuto, def->tag) || !m_settings.Telnet.User1Adjusted;
    case 31: return flagAt(telnetAuto, def->tag) || !m_settings.Telnet.User2Adjusted;
    case 21: return r && !m_settings.Telnet.rbSNR; // the SNR margin scale follows its values
    default: break;
    }
    if (def->timeChart && std::strcmp(def->popup, "TelnetPopup") == 0)
        return flagAt(telnetAuto, def->tag);
    return false;
}

bool AxisScaling::addPoint(const QString &seriesName, double value, const QString &label, TColor colour)
{
    int index = -1;
    const ChartDef *def = ChartTable::findSeries(seriesName, &index);
    ChartSeries *s = m_charts.series(seriesName);
    if (!def || !s)
        return false;
    s->add(value, label, toQColor(colour));

    // Averages and gap markers carry no figure of their own to fit.
    // A gap (no reading) has no value to fit either.
    const bool figure = index != def->averageSeries && std::strcmp(def->series[size_t(index)].role, "gaps") != 0
                        && !std::isnan(value);
    const int chart = def->number;
    if (figure && autoAdjustOn(chart, s->axisSide()))
        AdjustYAxis(chart, s->axisSide() == AxisSide::Right ? QStringLiteral("r") : QString(), value);
    if (chart == 30 && !std::isnan(value))
        m_settings.Telnet.User1Adjusted = true;
    if (chart == 31 && !std::isnan(value))
        m_settings.Telnet.User2Adjusted = true;
    return m_charts.atOrAboveMaximum(chart, s->axisSide(), value);
}

void AxisScaling::resetHttpAxes(int chart)
{
    const auto &g = m_settings.Graph;
    ChartAxis left = m_charts.leftAxis(chart);
    // Set in the order the axis accepts, so a range dragged wholly past the
    // defaults still comes back.
    switch (chart) {
    case 1: left.setLimitsInSafeOrder(g.NoiseMin, g.NoiseMax); break;
    case 2: left.setLimitsInSafeOrder(g.SyncMin, g.SyncMax); break;
    case 3: left.setLimitsInSafeOrder(g.UserMin, g.UserMax); break;
    case 19: left.setLimitsInSafeOrder(g.User1Min, g.User1Max); break;
    case 18:
    case 20: left.setLimitsInSafeOrder(0, 10); break;
    default: return;
    }
    replot(chart);
}

void AxisScaling::resetTelnetAxes(int chart)
{
    if (!ChartTable::find(chart))
        return;
    m_charts.leftAxis(chart).setLimitsInSafeOrder(0, 10);
    m_charts.rightAxis(chart).setLimitsInSafeOrder(0, 10);
    if (chart == 30)
        m_settings.Telnet.User1Adjusted = false;
    if (chart == 31)
        m_settings.Telnet.User2Adjusted = false;
    replot(chart);
}
