#pragma once
// What a poll does to the telnet charts: the telnet noise margin and sync
// speed with their alarm colours, their averages, the two user-defined
// figures, the twelve error counters (optionally counted from a base), and
// the WAN byte totals with their incremental count. Produces the poll's
// telnet log items for the log line.
//
// Called once per poll, so each series gets at most one point a poll.
#include "acquisition/LogLineBuilder.h"
#include "acquisition/RunState.h"
#include "acquisition/TelnetFigures.h"
#include "settings/TSettings.h"

#include <QList>
#include <QMap>
#include <QString>

class AxisScaling;
class ChartSet;

// What the window shows after a telnet noise or sync point.
struct TelnetPointShown {
    bool missing = false;    // no reply read the figure since the previous poll (plotted or not)
    bool plotted = false;
    double value = 0;        // as plotted
    TColor colour = 0;
    // Telnet-only: Label2 ("6.5 dB") or Label4 ("8128 Kbps") shows labelText,
    // which is empty when no reply read the figure.
    bool labelShown = false;
    QString labelText;
    bool redrawTrayIcon = false; // telnet-only: IconNoise in lime
};

class TelnetPlotting {
public:
    TelnetPlotting(ChartSet &charts, AxisScaling &scaling, TSettings &settings, RunState &run,
                   TelnetFigures &figures);

    // Poll step 18: the averages of the telnet noise and sync series.
    void telnetAverages(const QString &label);

    // The telnet noise point on Chart16: the reading of the replies parsed
    // since the last poll, or a gap when there is none.
    TelnetPointShown PlotTelnetNoise(const QString &label);
    // The telnet sync point on Chart17 and the sync overlay of Chart16, or a gap.
    TelnetPointShown PlotTelnetSync(const QString &label);

    // Poll step 20: noise and sync, the user-defined, counter and byte charts.
    // Returns the telnet log items in line order. A figure no reply read
    // since the last poll gets a gap and an item without a value; the
    // readings are then spent.
    QList<LogItem> plotTelnetCharts(const QString &label);

    // The counter re-base timer: the six downstream counters become the base.
    void tmr15MinsTimer();
    // "Reset To Current Value Now": both byte bases take the current totals.
    void SetMinimum();

    // Results of the latest noise and sync plots.
    const TelnetPointShown &lastNoise() const { return m_noise; }
    const TelnetPointShown &lastSync() const { return m_sync; }
    // Label5 and Label22 are enabled exactly when the status page is fetched.
    bool httpLabelsEnabled() const { return !m_settings.Telnet.DisableHTTP; }
    // Over-range signs set by the latest calls, by indicator name; signs not
    // listed keep their state.
    const QMap<QString, bool> &indicatorStates() const { return m_indicators; }

private:
    void addAverage(const char *average, const char *source, bool show, int samples, bool sourceChecked,
                    const QString &label);
    void plotUserChart(const char *series, const QString &label, bool checked, bool read, double value, bool log,
                       const QString &text, bool rx, QList<LogItem> &items);
    void plotCounters(const QString &label, QList<LogItem> &items);
    void plotBytes(int chart, const char *totalSeries, const char *incSeries, bool checked, bool read, double total,
                   double &base, QString &baseDate, bool showInc, bool logTotal, bool logInc,
                   const QString &label, QList<LogItem> &items);
    // Adds the point and records its chart's over-range sign.
    bool plot(const char *series, double value, const QString &label, TColor colour);
    void setIndicator(int chart, bool right, bool shown);
    QString axisTitle(int chart, bool right) const;

    ChartSet &m_charts;
    AxisScaling &m_scaling;
    TSettings &m_settings;
    RunState &m_run;
    TelnetFigures &m_figures;
    // No reply has read either figure before the first poll plots it.
    static TelnetPointShown noReadingYet()
    {
        TelnetPointShown shown;
        shown.missing = true;
        return shown;
    }
    TelnetPointShown m_noise = noReadingYet();
    TelnetPointShown m_sync = noReadingYet();
    QMap<QString, bool> m_indicators;
};
