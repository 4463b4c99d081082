#pragma once
// One series of a chart: its points (value, label, colour) and how it is drawn.
// A point's x is its number since the series was last cleared, so the numbers
// keep counting when the oldest points are dropped to bound the history.
// The history is kept compact; the plot holds only the points around what its
// horizontal axis shows, filled in again when the axis moves.
#include "charts/ChartTable.h"
#include "charts/PointAttributes.h"

#include <QColor>
#include <QMetaObject>
#include <QPointer>
#include <QString>
#include <optional>

class QCPAbstractPlottable;
class QCPAxis;
class QCPRange;
class QCustomPlot;
class ColouredGraph;
class ColouredBars;

class ChartSeries {
public:
    // Generous, so weeks of polls stay scrollable; dropping is done in blocks
    // so it is rare and each add stays cheap.
    static constexpr qint64 kDefaultHistoryCap = 200000;
    static constexpr qint64 kDefaultDropBlock = 10000;

    ChartSeries(const SeriesDef &def, int chartNumber, QCPAxis *keyAxis, QCPAxis *valueAxis);
    ~ChartSeries();
    ChartSeries(const ChartSeries &) = delete;
    ChartSeries &operator=(const ChartSeries &) = delete;

    QString name() const { return m_name; }
    int chartNumber() const { return m_chart; }
    SeriesKind kind() const { return m_kind; }
    AxisSide axisSide() const { return m_side; }
    QCPAbstractPlottable *plottable() const;

    // Points added since the last clear: the x of the next point.
    qint64 count() const { return m_attributes.endIndex(); }
    // x of the oldest point still kept.
    qint64 firstIndex() const { return m_attributes.firstIndex(); }
    qint64 keptCount() const { return m_attributes.keptCount(); }

    // An invalid colour draws the point in the series colour.
    void add(double value, const QString &label = QString(), const QColor &colour = QColor());
    void clear();

    // NaN when the point is not kept.
    double valueAt(qint64 index) const;
    double lastValue() const;
    QColor colourAt(qint64 index) const { return m_attributes.colourAt(index); }
    std::optional<QString> labelAt(qint64 index) const { return m_attributes.labelAt(index); }
    // Mean of the last n points kept (all of them when fewer), summed in single
    // precision, gaps (NaN) left out; 0 when there are no points, NaN when
    // they are all gaps.
    float meanOfLast(qint64 n) const;

    void setVisible(bool on);
    bool isVisible() const;
    void setColour(const QColor &colour);
    QColor colour() const;
    void setPenWidth(int width);
    void setStairs(bool on);
    bool isStairs() const;
    void setPointsVisible(bool on);
    bool pointsVisible() const;

    void setHistoryCap(qint64 cap, qint64 dropBlock);
    qint64 historyCap() const { return m_cap; }

    // Points the plot holds now: those around the axis range.
    qint64 plottedCount() const { return m_windowEnd - m_windowFirst; }

private:
    // Makes the plot hold the points around the range (a page either side).
    void followRange(const QCPRange &range);
    void fillWindow(qint64 first, qint64 end);
    void dropPlottedBefore(qint64 index);

    QString m_name;
    int m_chart;
    SeriesKind m_kind;
    AxisSide m_side;
    PointAttributes m_attributes;
    QPointer<ColouredGraph> m_graph;
    QPointer<ColouredBars> m_bars;
    qint64 m_cap = kDefaultHistoryCap;
    qint64 m_block = kDefaultDropBlock;
    qint64 m_windowFirst = 0; // points [first, end) are in the plot
    qint64 m_windowEnd = 0;
    QMetaObject::Connection m_rangeConnection;
};
