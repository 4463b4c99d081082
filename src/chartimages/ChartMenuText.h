#pragma once
// The texts the chart popup menus show: statistics of a chart's figure with
// its unit, the expected IP profile for a sync speed, the timeline page
// length, the capture format and schedule captions.
#include "settings/TSettings.h"

#include <QString>

class ChartSeries;

struct ChartStatistics {
    QString max = QStringLiteral("Max. value: ");
    QString min = QStringLiteral("Min. value: ");
    QString avg = QStringLiteral("Avg. value: ");
    QString runningAvg;
};

class ChartMenuText {
public:
    // A figure with thousands separators and the given decimals ("12,345.6").
    static QString figure(double value, int decimals);

    // Max., min. and mean of the series, and the mean of the samples-1 points
    // before the newest. The running mean needs more than `samples` polls since
    // start-up and that many points kept in the series; otherwise it reads
    // "[not available]".
    static ChartStatistics statistics(const ChartSeries *series, int decimals, const QString &unit, int samples,
                                      qint64 sampleCount);

    // "Expected IP profile: 7,150 Kbps", or the bare caption when the speed
    // falls between rows or outside the table.
    static QString expectedIpProfile(qint64 kbps);
    static QString bareIpProfile() { return QStringLiteral("Expected IP profile:"); }

    // "Restore Timeline (1 hr : 23 min per page)".
    static QString restoreTimeline(int sampleSeconds, int points);

    // "Capture Now  [jpg]" (two blanks on the status-page charts' menu).
    static QString captureNow(const TSettings &s, bool twoBlanks);
    // The scheduled-capture item; mainPopup selects the wording of the no-schedule case.
    // Empty when the settings name no schedule mode (the item keeps its caption).
    static QString scheduledCapture(const TSettings &s, bool mainPopup);

    // "Swap Plots (Noise Margin && Average)" and the like.
    static QString swapPlots(int chart, const TSettings &s);

    // "Last Reset: 06 Dec 26  08:47:39 at 1,234.567 MiB".
    static QString lastReset(const QString &baseDate, double baseMiB);

    // "Reset To Current Value, Daily At 03:00".
    static QString resetDailyAt(const QString &time);
};
