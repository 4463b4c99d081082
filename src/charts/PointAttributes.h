#pragma once
// A series' history in compact form: per point its value as a plain number,
// the number of its label in the shared label table and the index of its own
// colour in the series' small palette. Points are numbered from 0 as they are
// added; the oldest are dropped in blocks while the numbers of the rest stay.
#include "charts/TimeLabels.h"

#include <QColor>
#include <QString>
#include <QtGlobal>
#include <deque>
#include <optional>
#include <vector>

class PointAttributes : private TimeLabels::Holder {
public:
    PointAttributes();
    ~PointAttributes() override;
    PointAttributes(const PointAttributes &) = delete;
    PointAttributes &operator=(const PointAttributes &) = delete;

    void append(double value, const QString &label, const QColor &colour);
    void clear();
    // Forgets the oldest n points kept.
    void dropFront(qint64 n);

    // Number of the oldest point kept, and one past the newest.
    qint64 firstIndex() const { return m_first; }
    qint64 endIndex() const { return m_first + qint64(m_values.size()); }
    qint64 keptCount() const { return qint64(m_values.size()); }
    bool holds(qint64 index) const { return index >= m_first && index < endIndex(); }

    // NaN when the point is not kept.
    double valueAt(qint64 index) const;
    // Invalid colour when the point has none of its own (or is not kept).
    QColor colourAt(qint64 index) const;
    std::optional<QString> labelAt(qint64 index) const;

private:
    quint32 oldestLabel() const override;
    quint16 colourIndex(const QColor &colour);

    std::deque<double> m_values;
    std::deque<quint32> m_labels;  // TimeLabels numbers
    std::deque<quint16> m_colours; // 0: none, else palette index + 1
    std::vector<QRgb> m_palette;
    qint64 m_first = 0;
};
