#pragma once
// Bottom-axis ticks of a time chart: at point numbers, labelled with the text
// stored for that point (the poll's time), at least a set number of pixels apart
// so the rotated labels never crowd; ticks where no point is kept are left out.
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>
#include <qcustomplot.h>

class PointLabelTicker : public QCPAxisTicker {
public:
    using LabelLookup = std::function<std::optional<QString>(qint64 index)>;

    PointLabelTicker(LabelLookup lookup, QCPAxis *axis, double minSpacingPx = 100.0);

protected:
    double getTickStep(const QCPRange &range) override;
    int getSubTickCount(double tickStep) override;
    QString getTickLabel(double tick, const QLocale &locale, QChar formatChar, int precision) override;
    QVector<double> createTickVector(double tickStep, const QCPRange &range) override;

private:
    LabelLookup m_lookup;
    QPointer<QCPAxis> m_axis;
    double m_minSpacing;
};
