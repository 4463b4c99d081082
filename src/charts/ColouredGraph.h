#pragma once
// A line whose segments take the colour of the point they lead to (an alarm
// point is drawn red, a no-answer point in its own colour), drawn plain, as
// steps, or with a marker at each point. Points without a colour of their own,
// fast lines and areas use the pen as usual.
#include <qcustomplot.h>

class PointAttributes;

class ColouredGraph : public QCPGraph {
    Q_OBJECT
public:
    ColouredGraph(QCPAxis *keyAxis, QCPAxis *valueAxis);

    // Not owned; nullptr detaches.
    void setAttributes(const PointAttributes *attributes) { m_attributes = attributes; }
    void setColourEachPoint(bool on) { m_colourEachPoint = on; }
    bool colourEachPoint() const { return m_colourEachPoint; }

    // The pen colour a point is drawn in.
    QColor pointColour(double key) const;

protected:
    void draw(QCPPainter *painter) override;

private:
    const PointAttributes *m_attributes = nullptr;
    bool m_colourEachPoint = true;
};
