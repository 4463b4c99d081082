#pragma once
// What a poll does to the status-page charts: gap marks, the points of the
// six figures in their colours with the alarm thresholds, the average series
// and the timeline scroll.
//
// Every series of these charts gets exactly one point per plotted poll (a gap
// mark, a value, or a hole where a figure is not a number), so a poll's marks
// and averages sit at the x of that poll's points.
#include "acquisition/RunState.h"
#include "settings/TSettings.h"

#include <QString>

class AxisScaling;
class ChartSet;

class PlottingStep {
public:
    PlottingStep(ChartSet &charts, AxisScaling &scaling, TSettings &settings, RunState &run);

    // Poll step 2: remembers whether this poll follows a gap; the marks are
    // drawn with the poll's points.
    void noteGap(bool showGaps, bool isGap);

    // Poll step 15: the six figures, their gap marks and averages. Returns the
    // colour the tray icon takes (the noise point's colour).
    TColor plotHttp(TColor colour, const QString &label);

    // Poll step 20: every time chart shows its newest point at the right edge.
    void scrollTimeline();

    // The last n Rx noise readings plotted, newest last (the change alarms'
    // average); a gap is no reading and is passed over.
    QList<double> recentRxNoise(int n) const;

    // Which over-range signs the latest poll left showing, by indicator name.
    const QStringList &indicatorsShown() const { return m_indicators; }

private:
    void addGapPoints(const QString &label);
    void addAverage(int chart, bool show, int samples, bool sourceChecked, const QString &label);
    TColor thresholdColour(TColor colour, double value, bool aboveOn, int above, bool belowOn, int below);

    ChartSet &m_charts;
    AxisScaling &m_scaling;
    TSettings &m_settings;
    RunState &m_run;
    bool m_gapPending = false;
    QStringList m_indicators;
};
