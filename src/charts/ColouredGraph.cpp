#include "charts/ColouredGraph.h"

#include "charts/PointAttributes.h"

#include <cmath>

namespace {

// Liang-Barsky: cuts the segment to the rectangle; false when nothing is left.
// Far-off points (a gap marker thousands of units above the range) would
// otherwise reach the painter as huge coordinates.
bool clipSegment(QPointF &a, QPointF &b, const QRectF &r)
{
    double t0 = 0, t1 = 1;
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const QPointF start = a;
    a = QPointF(start.x() + t0 * dx, start.y() + t0 * dy);
    b = QPointF(start.x() + t1 * dx, start.y() + t1 * dy);
    return true;
}

bool finite(const QPointF &p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

} // namespace

ColouredGraph::ColouredGraph(QCPAxis *keyAxis, QCPAxis *valueAxis) : QCPGraph(keyAxis, valueAxis)
{
}

QColor ColouredGraph::pointColour(double key) const
{
    if (m_attributes) {
        const QColor c = m_attributes->colourAt(qint64(std::llround(key)));
        if (c.isValid())
            return c;
    }
    return mPen.color();
}

void ColouredGraph::draw(QCPPainter *painter)
{
    const bool plain = !m_colourEachPoint || !m_attributes || mBrush.style() != Qt::NoBrush
                       || (mLineStyle != lsLine && mLineStyle != lsStepLeft && mLineStyle != lsNone);
    if (plain) {
        QCPGraph::draw(painter);
        return;
    }
    if (!mKeyAxis || !mValueAxis || mKeyAxis->range().size() <= 0 || mDataContainer->isEmpty())
        return;

    QCPGraphDataContainer::const_iterator begin, end;
    getVisibleDataBounds(begin, end, QCPDataRange(0, dataCount()));
    if (begin == end)
        return;

    const double margin = mPen.widthF() + 2;
    const QRectF clip = QRectF(clipRect()).adjusted(-margin, -margin, margin, margin);
    applyDefaultAntialiasingHint(painter);

    if (mLineStyle != lsNone && mPen.style() != Qt::NoPen) {
        QPen pen = mPen;
        QVector<QLineF> run;
        QColor runColour;
        const auto flush = [&] {
            if (run.isEmpty())
                return;
            pen.setColor(runColour);
            painter->setPen(pen);
            painter->drawLines(run);
            run.clear();
        };
        const auto addLine = [&](QPointF a, QPointF b) {
            if (finite(a) && finite(b) && clipSegment(a, b, clip))
                run.append(QLineF(a, b));
        };
        for (auto it = begin + 1; it != end; ++it) {
            const auto prev = it - 1;
            if (std::isnan(prev->value) || std::isnan(it->value))
                continue;
            const QColor c = pointColour(it->key);
            if (c != runColour) {
                flush();
                runColour = c;
            }
            const QPointF a = coordsToPixels(prev->key, prev->value);
            const QPointF b = coordsToPixels(it->key, it->value);
            if (mLineStyle == lsStepLeft) {
                const QPointF corner = coordsToPixels(it->key, prev->value);
                addLine(a, corner);
                addLine(corner, b);
            } else {
                addLine(a, b);
            }
        }
        flush();
    }

    if (!mScatterStyle.isNone()) {
        for (auto it = begin; it != end; ++it) {
            if (std::isnan(it->value))
                continue;
            const QPointF p = coordsToPixels(it->key, it->value);
            if (!finite(p) || !clip.contains(p))
                continue;
            QCPScatterStyle style = mScatterStyle;
            QPen pen = mPen;
            pen.setColor(pointColour(it->key));
            style.setPen(pen);
            style.applyTo(painter, pen);
            style.drawShape(painter, p);
        }
    }
}
