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

    // Ticks between these pixels keep their line but lose their label: the
    // place of a text drawn over the axis on chart images. Empty: none.
    void setLabelFreeSpan(double fromPx, double toPx);
    void clearLabelFreeSpan() { m_freeFrom = m_freeTo = 0; }

protected:
    double getTickStep(const QCPRange &range) override;
    int getSubTickCount(double tickStep) override;
    QString getTickLabel(double tick, const QLocale &locale, QChar formatChar, int precision) override;
    QVector<double> createTickVector(double tickStep, const QCPRange &range) override;

private:
    LabelLookup m_lookup;
    QPointer<QCPAxis> m_axis;
    double m_minSpacing;
    double m_freeFrom = 0;
    double m_freeTo = 0;
};
