#pragma once
// The 31 charts of the main window, built from the chart table: the plot
// widgets (made when first asked for; the window places them on its tabs),
// their series by name, their axes with the component's limit rules, the
// horizontal timeline, and the settings applied to them at start-up.
#include "charts/ChartAxis.h"
#include "charts/ChartSeries.h"
#include "charts/ChartTable.h"
#include "settings/TSettings.h"

#include <QObject>
#include <QPointer>
#include <map>
#include <memory>
#include <vector>

class QCustomPlot;

class ChartSet : public QObject {
    Q_OBJECT
public:
    explicit ChartSet(QObject *parent = nullptr);
    ~ChartSet() override;

    // ChartN; nullptr for a number that is not a chart of the window.
    QCustomPlot *chart(int number);
    bool isCreated(int number) const;
    void createAll();
    // 0 when the plot is not one of these charts.
    int numberOf(const QObject *plot) const;
    static const ChartDef *definition(int number) { return ChartTable::find(number); }

    // By component name ("Series1", "LineSeries16"); nullptr when unknown.
    ChartSeries *series(const QString &name);
    // By position in the chart's present drawing order (swaps change it).
    ChartSeries *seriesAt(int chart, int drawIndex);
    int seriesCount(int chart);
    // The plotted figure, wherever a swap has put it.
    ChartSeries *valueSeries(int chart);
    // nullptr for charts without an average.
    ChartSeries *averageSeries(int chart);

    ChartAxis leftAxis(int chart);
    ChartAxis rightAxis(int chart);
    ChartAxis bottomAxis(int chart);
    ChartAxis axisOf(const ChartSeries *series);

    // The off-scale indicator rule: the value is at or above the axis maximum.
    bool atOrAboveMaximum(int chart, AxisSide side, double value);

    // Exchanges the first two series in the drawing order.
    void swapFirstTwo(int chart);
    bool isSwapped(int chart) const;

    // Timeline: a page shows Points / factor points.
    void setPagePoints(int points);
    int pagePoints() const { return m_points; }
    void setTimelineExpandFactor(int factor);
    int timelineExpandFactor() const { return m_factor; }
    // Page length of the bitswaps-over-time chart, in refreshes.
    void setBitsPageLength(int refreshes) { m_bitsPage = refreshes; }
    // Bottom maximum := bottom minimum + page, on every chart paged by points
    // and on the bitswaps-over-time chart.
    void applyPageWidth();
    // End of each poll: a chart whose value series holds at least Points points
    // scrolls so its newest point sits at the right edge.
    void scrollTimeline();

    // Everything start-up does to the charts, once: the 40 stored limits, the
    // swaps, the look, the status-page and ping limits, the page width.
    void applyStartup(const TSettings &s);
    // The 40 limits TxNoiseMax .. Chart31Min, each maximum before its minimum;
    // the first refusal abandons the rest. False when that happened.
    bool applyStoredLimits(const TSettings &s);
    // Chart1, Chart2, Chart3, Chart19 and Chart25 limits; refusals are ignored.
    void applyHttpLimits(const TSettings &s);
    // Colours, titles, visibility, stairs, grids, drag direction; repeatable.
    void applyAppearance(const TSettings &s);

    void replotAll();

private:
    struct Entry {
        const ChartDef *def = nullptr;
        QPointer<QCustomPlot> plot;
        std::vector<std::unique_ptr<ChartSeries>> series; // table order
        std::vector<ChartSeries *> order;                 // drawing order
        bool swapped = false;
    };
    Entry *entry(int number);
    void build(Entry &e);

    std::map<int, Entry> m_entries;
    int m_points = 250;
    int m_factor = 1;
    int m_bitsPage = 0;
};
