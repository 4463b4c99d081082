#pragma once
// Bars that each take the colour of their own point (a swapped tone, say),
// falling back to the series brush.
#include <qcustomplot.h>

class PointAttributes;

class ColouredBars : public QCPBars {
    Q_OBJECT
public:
    ColouredBars(QCPAxis *keyAxis, QCPAxis *valueAxis);

    // Not owned; nullptr detaches.
    void setAttributes(const PointAttributes *attributes) { m_attributes = attributes; }

    QColor barColour(double key) const;

protected:
    void draw(QCPPainter *painter) override;

private:
    const PointAttributes *m_attributes = nullptr;
};
