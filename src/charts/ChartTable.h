#pragma once
// The 31 charts of the main window as data: where each sits, its position in
// the per-chart flag strings (its Tag), its series in drawing order, its axes,
// titles, check box, off-scale indicators, popup menu and design limits.
// Everything that builds or addresses a chart reads it from here.
#include "settings/TSettings.h"

#include <QString>
#include <vector>

enum class SeriesKind {
    Line,     // one colour per point, segment by segment
    FastLine, // one colour for the whole series
    Stairs,   // as Line, drawn as steps
    Points,   // line with a marker at each point
    Bars,     // one colour per bar
    Area,     // filled down to zero
};

enum class AxisSide { Left, Right };

struct SeriesDef {
    const char *name;
    SeriesKind kind;
    AxisSide axis;
    int penWidth;
    TColor colour;
    const char *role;
};

struct AxisLimits {
    double min;
    double max;
};

struct ChartDef {
    int number;            // ChartN
    int tag;               // ChartFlagIndex
    const char *tab;
    const char *subTab;    // "" when the chart sits on the tab itself
    std::vector<SeriesDef> series; // drawing order, index 0 drawn first
    int valueSeries;       // index in series of the plotted figure
    int averageSeries;     // index of its average series, -1 when none
    const char *box;       // "Check to plot graph" box, "" when none
    const char *leftIndicator;
    const char *rightIndicator;
    const char *popup;
    const char *leftTitle;
    const char *rightTitle; // "" when the chart has no right axis
    AxisLimits left;
    AxisLimits right;
    AxisLimits bottom;
    bool timeChart;        // one point per poll, labelled with the poll's time

    QString objectName() const { return QStringLiteral("Chart%1").arg(number); }
    bool hasRightAxis() const { return rightTitle[0] != '\0'; }
    // The status-page charts, whose flags are in the 8-character strings.
    bool isHttpChart() const;
    // Scrolled to the newest point after each poll.
    bool scrollsWithTimeline() const;
    // Page width follows [System] Points and the timeline zoom.
    bool pagedByPoints() const;
};

// One pair of the 40 axis limits read straight into the charts, in load order.
struct StoredLimitPair {
    int chart;
    int TSettings::GraphKeys::*max;
    int TSettings::GraphKeys::*min;
};

class ChartTable {
public:
    static const std::vector<ChartDef> &charts();
    // nullptr for a number that is not a chart of the window.
    static const ChartDef *find(int number);
    // The chart holding the series and its drawing index; nullptr when unknown.
    static const ChartDef *findSeries(const QString &name, int *index = nullptr);
    static const std::vector<StoredLimitPair> &storedLimits();
};
