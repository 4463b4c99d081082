#pragma once
// What a series keeps for each point besides its value: the point's own colour
// and its label. Points are numbered from 0 as they are added; the oldest are
// dropped in blocks while the numbers of the rest stay as they were.
#include <QColor>
#include <QString>
#include <QtGlobal>
#include <deque>
#include <optional>

class PointAttributes {
public:
    void append(const QString &label, const QColor &colour);
    void clear();
    // Forgets the oldest n points kept.
    void dropFront(qint64 n);

    // Number of the oldest point kept, and one past the newest.
    qint64 firstIndex() const { return m_first; }
    qint64 endIndex() const { return m_first + qint64(m_points.size()); }
    qint64 keptCount() const { return qint64(m_points.size()); }
    bool holds(qint64 index) const { return index >= m_first && index < endIndex(); }

    // Invalid colour when the point has none of its own (or is not kept).
    QColor colourAt(qint64 index) const;
    std::optional<QString> labelAt(qint64 index) const;

private:
    struct Point {
        QString label;
        QRgb colour = 0;
        bool hasColour = false;
    };
    std::deque<Point> m_points;
    qint64 m_first = 0;
};
