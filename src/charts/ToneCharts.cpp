#include "charts/ToneCharts.h"

#include "acquisition/TelnetParseSupport.h"
#include "common/NumberFormat.h"
#include "charts/AxisScaling.h"
#include "charts/ChartRefresh.h"
#include "charts/ChartSet.h"
#include "widgets/ColourConversion.h"
#include "settings/ColourNames.h"

#include <QMouseEvent>
#include <qcustomplot.h>
#include <cmath>

namespace {

constexpr int kToneCharts[] = {21, 22, 26, 27, 28, 29};

QColor tcolour(TColor c) { return toQColor(c); }

QString general(double v) { return numfmt::general(v); }

} // namespace

ToneCharts::ToneCharts(ChartSet &charts, AxisScaling &scaling, TSettings &settings, TelnetFigures &figures,
                       QObject *parent)
    : QObject(parent), m_charts(charts), m_scaling(scaling), m_settings(settings), m_figures(figures)
{
    m_restore.setObjectName(QStringLiteral("tmrBitswapRestoreGraph"));
    m_restore.setInterval(kRestoreMs);
    connect(&m_restore, &QTimer::timeout, this, [this] {
        if (m_bitsTabShowing && !m_bitsTabShowing())
            return;
        m_restore.stop();
        restoreAxes();
    });
}

void ToneCharts::attach()
{
    for (int n : kToneCharts) {
        QCustomPlot *p = m_charts.chart(n);
        if (!p)
            continue;
        // Hundreds of bars a pixel or two wide: smoothing their edges only costs time.
        for (int i = 0; i < p->plottableCount(); ++i) {
            p->plottable(i)->setAntialiased(false);
            p->plottable(i)->setAntialiasedFill(false);
        }
        p->installEventFilter(this);
        p->setMouseTracking(true);
        p->setInteraction(QCP::iRangeDrag, true);
        p->axisRect()->setRangeDrag(Qt::Vertical);
        p->axisRect()->setRangeZoom(Qt::Orientations());
        // The held limits apply however the range moved.
        connect(p->yAxis, qOverload<const QCPRange &>(&QCPAxis::rangeChanged), this, [this, n] { holdAxes(n); });
        connect(p->yAxis2, qOverload<const QCPRange &>(&QCPAxis::rangeChanged), this, [this, n] { holdAxes(n); });
    }
}

QString ToneCharts::frequencyText(int tone)
{
    return QStringLiteral("Frequency:       ") + general(tone * kToneSpacingKHz) + QStringLiteral(" KHz");
}

std::optional<int> ToneCharts::mostBitswaps(const std::array<quint32, TelnetFigures::kTones> &counts)
{
    int best = -1;
    for (int t = 0; t < TelnetFigures::kTones; ++t)
        if (counts[size_t(t)] > 0 && (best < 0 || counts[size_t(t)] > counts[size_t(best)]))
            best = t;
    return best < 0 ? std::nullopt : std::optional<int>(best);
}

// ---- telnet tones -----------------------------------------------------------------

void ToneCharts::clearToneSeries()
{
    for (const char *name : {"LineSeries18", "Series4", "Series15", "Series16"})
        if (ChartSeries *s = m_charts.series(QLatin1String(name)))
            s->clear();
    for (int n : {21, 29})
        chartrefresh::request(m_charts.chart(n));
}

void ToneCharts::plot(const ToneChartData &t, const std::function<void(const QString &)> &save21)
{
    if (t.SaveBefore && save21)
        save21(QStringLiteral("Before Bitswap"));
    ChartSeries *bits = m_charts.series(QStringLiteral("LineSeries18"));
    ChartSeries *attenuation = m_charts.series(QStringLiteral("Series15"));
    for (ChartSeries *series : {bits, attenuation})
        series->clear();
    m_toneOffset = t.ToneOffset;
    m_lastTone = t.LastTone;
    for (int chart : {21, 29})
        m_charts.bottomAxis(chart).setLimitsInSafeOrder(0, t.AxisMaximum);
    if (t.AxisTitle)
        m_charts.chart(21)->xAxis->setLabel(*t.AxisTitle);
    for (size_t i = 0; i < t.Tones.size(); ++i) {
        const QString label = QString::number(t.Tones[i]);
        if (i < t.Bits.size())
            bits->add(t.Bits[i], label, i < t.BitColours.size() ? tcolour(t.BitColours[i]) : QColor());
        // On the bits scale in tens of dB ("Bits & Attenuation (dBx10)").
        if (i < t.Attenuation.size())
            attenuation->add(t.Attenuation[i] / 10.0, label);
    }
    fillSnr();
    if (t.SaveAfter && save21)
        save21(QStringLiteral("After Bitswap"));
    ChartSeries *histogram = m_charts.series(QStringLiteral("Series16"));
    histogram->clear();
    histogram->setVisible(t.HistogramVisible);
    for (size_t i = 0; i < t.Histogram.size(); ++i)
        histogram->add(double(t.Histogram[i]), QString::number(i < t.Tones.size() ? t.Tones[i] : int(i)),
                       i < t.HistogramColours.size() ? tcolour(t.HistogramColours[i]) : QColor());
    if (t.BitswapPoint) {
        const QString label = m_stampLabel ? m_stampLabel() : QString();
        ChartSeries *up = m_charts.series(QStringLiteral("BarSeries4"));
        ChartSeries *down = m_charts.series(QStringLiteral("Series14"));
        ChartAxis left = m_charts.leftAxis(22);
        if (t.BitswapPoint->Gap) {
            // A gap in the refreshes is marked at the top of the chart.
            up->add(left.maximum(), label, colours::clRed);
            down->add(left.maximum(), label, colours::clRed);
        } else {
            up->add(t.BitswapPoint->Upstream, label, tcolour(tonecolour::Green));
            down->add(t.BitswapPoint->Downstream, label, tcolour(tonecolour::Blue));
            if (m_settings.Telnet.BitswapScale) {
                m_scaling.AdjustYAxis(22, QStringLiteral("l"), t.BitswapPoint->Upstream);
                m_scaling.AdjustYAxis(22, QStringLiteral("l"), t.BitswapPoint->Downstream);
            }
        }
        // A full page scrolls by one refresh.
        ChartAxis bottom = m_charts.bottomAxis(22);
        const double by = double(up->count()) - bottom.maximum() - 1;
        if (by > 0)
            bottom.scroll(by);
    }
    for (int chart : {21, 22, 29})
        chartrefresh::request(m_charts.chart(chart));
}

void ToneCharts::fillSnr()
{
    ChartSeries *snr = m_charts.series(QStringLiteral("Series4"));
    snr->clear();
    ToneChartData d;
    d.LastTone = m_lastTone;
    d.ToneOffset = m_toneOffset;
    telnetparse::plotTones(d, m_figures, m_settings, false);
    const QColor red = tcolour(tonecolour::Red);
    for (size_t i = 0; i < d.Tones.size(); ++i)
        snr->add(d.Snr[i], QString::number(d.Tones[i]), red);
    if (!d.MarginFit.empty()) {
        // Only the plotted (clipped) margins decide what must stay in view.
        m_marginMax = *std::max_element(d.Snr.begin(), d.Snr.end());
        m_marginMin = *std::min_element(d.Snr.begin(), d.Snr.end());
        for (double v : d.MarginFit)
            m_scaling.AdjustYAxis(21, QStringLiteral("r"), v);
    }
}

void ToneCharts::applySnrAxis()
{
    QCustomPlot *p = m_charts.chart(21);
    ChartAxis snr = m_charts.rightAxis(21);
    m_holding = true;
    if (m_settings.Telnet.rbSNR) {
        p->yAxis2->setLabel(QStringLiteral("SNR (dB)"));
        snr.setLimitsInSafeOrder(0, 64);
    } else {
        p->yAxis2->setLabel(QStringLiteral("SNR Margin (dB)"));
        snr.setLimitsInSafeOrder(0, 20);
    }
    m_holding = false;
    chartrefresh::request(p);
}

void ToneCharts::snrModeChanged()
{
    applySnrAxis();
    if (m_charts.series(QStringLiteral("LineSeries18"))->count() > 0)
        fillSnr();
    chartrefresh::request(m_charts.chart(21));
}

void ToneCharts::applySnrLook()
{
    ChartSeries *snr = m_charts.series(QStringLiteral("Series4"));
    snr->setPointsVisible(m_settings.Telnet.SNRPoints);
    snr->setStairs(m_settings.Telnet.Steps);
    m_charts.series(QStringLiteral("Series15"))->setVisible(m_settings.Telnet.ShowAttenuation);
    m_charts.chart(21)->xAxis->grid()->setVisible(m_settings.Telnet.Grid);
    chartrefresh::request(m_charts.chart(21));
}

void ToneCharts::resetAxes()
{
    m_holding = true;
    m_charts.leftAxis(21).setLimitsInSafeOrder(0, 16);
    m_holding = false;
    applySnrAxis();
}

void ToneCharts::restoreAxes()
{
    m_holding = true;
    m_charts.leftAxis(21).setLimitsInSafeOrder(0, 16);
    if (m_settings.Telnet.rbSNR)
        m_charts.rightAxis(21).setLimitsInSafeOrder(-0.5, 64);
    else
        m_charts.rightAxis(21).setLimitsInSafeOrder(std::min(m_marginMin, m_marginMax - 1), m_marginMax);
    ChartAxis bitswaps = m_charts.leftAxis(22);
    bitswaps.setLimitsInSafeOrder(-0.1, std::max(bitswaps.maximum(), 10.0));
    m_holding = false;
    for (int n : {21, 22})
        chartrefresh::request(m_charts.chart(n));
}

void ToneCharts::setBitswapMaximum(int maximum)
{
    ChartAxis left = m_charts.leftAxis(22);
    left.setLimitsInSafeOrder(std::min(left.minimum(), -0.1), std::max(maximum, 10));
    chartrefresh::request(m_charts.chart(22));
}

void ToneCharts::setBitsPage(int refreshes)
{
    m_charts.setBitsPageLength(refreshes);
    ChartAxis bottom = m_charts.bottomAxis(22);
    bottom.setLimitsInSafeOrder(bottom.minimum(), bottom.minimum() + std::max(refreshes, 1));
    chartrefresh::request(m_charts.chart(22));
}

void ToneCharts::swapBitswapPlots()
{
    m_charts.swapFirstTwo(22);
}

// ---- SpeedTouch 585 ---------------------------------------------------------------

void ToneCharts::setThomsonRange(int maximum)
{
    for (int n : {26, 27, 29})
        m_charts.bottomAxis(n).setLimitsInSafeOrder(0, maximum);
    for (int n : {26, 27, 29})
        chartrefresh::request(m_charts.chart(n));
}

void ToneCharts::plotThomson(int firstTone, int lastTone, int upTones, int swapTotal, const QString &label, bool gap)
{
    ChartSeries *bits = m_charts.series(QStringLiteral("BarSeries1"));
    ChartSeries *counts = m_charts.series(QStringLiteral("BarSeries2"));
    ChartSeries *time = m_charts.series(QStringLiteral("BarSeries3"));
    bits->clear();
    counts->clear();
    m_thomsonOffset = firstTone;
    const QColor lime = toQColor(0x00FF00), green = toQColor(0x008000), blue = toQColor(0xFF0000);
    for (int t = firstTone; t <= lastTone && t < TelnetFigures::kTones; ++t) {
        const size_t i = size_t(t);
        const QString tone = QString::number(t);
        const QColor band = t < upTones ? green : blue;
        bits->add(m_figures.ToneBits[i], tone, m_figures.ToneSwapped[i] ? lime : band);
        counts->add(double(m_figures.ToneSwapCount[i]), tone, band);
        m_scaling.AdjustYAxis(27, QStringLiteral("l"), double(m_figures.ToneSwapCount[i]));
    }
    ChartAxis left28 = m_charts.leftAxis(28);
    if (gap) {
        time->add(left28.maximum(), label, colours::clRed);
    } else {
        time->add(swapTotal, label, colours::clBlue);
        m_scaling.AdjustYAxis(28, QStringLiteral("l"), swapTotal);
    }
    ChartAxis bottom = m_charts.bottomAxis(28);
    const double by = double(time->count()) - bottom.maximum() - 1;
    if (by > 0)
        bottom.scroll(by);
    for (int n : {26, 27, 28})
        chartrefresh::request(m_charts.chart(n));
}

// ---- read-outs --------------------------------------------------------------------

std::optional<ToneReadout> ToneCharts::bitsReadout(int index) const
{
    ChartSet &c = m_charts;
    const ChartSeries *bits = c.series(QStringLiteral("LineSeries18"));
    if (index < 0 || index >= bits->count())
        return std::nullopt;
    const int tone = index + m_toneOffset;
    ToneReadout r;
    r.Tone = QStringLiteral("Tone number:   ") + QString::number(tone);
    r.Frequency = frequencyText(tone);
    const double snr = c.series(QStringLiteral("Series4"))->valueAt(index);
    const QString prefix =
        m_settings.Telnet.rbSNR ? QStringLiteral("SNR:                 ") : QStringLiteral("SNR Margin:      ");
    r.Snr = prefix + (std::isnan(snr) ? QString() : snr < 0 ? QStringLiteral("0") : general(snr)) + QStringLiteral(" dB");
    r.Bits = QStringLiteral("Bits:                  ") + general(bits->valueAt(index));
    const double swaps = c.series(QStringLiteral("Series16"))->valueAt(index);
    r.Bitswaps = QStringLiteral("Bitswaps:         ") + (std::isnan(swaps) ? QStringLiteral("0") : general(swaps));
    if (m_settings.Telnet.V4) {
        const double att = c.series(QStringLiteral("Series15"))->valueAt(index);
        r.Attenuation = QStringLiteral("Attenuation:      ") + (std::isnan(att) ? QString() : general(att * 10))
                        + QStringLiteral(" dB");
    }
    return r;
}

ToneReadout ToneCharts::thomsonReadout(int chart, int index) const
{
    ToneReadout r;
    r.Bitswaps = QStringLiteral("Bitswaps");
    const ChartSeries *series = m_charts.series(chart == 26   ? QStringLiteral("BarSeries1")
                                                : chart == 27 ? QStringLiteral("BarSeries2")
                                                              : QStringLiteral("Series16"));
    if (index < 0 || index >= series->count())
        return r;
    const int tone = index + (chart == 29 ? m_toneOffset : m_thomsonOffset);
    r.Tone = QStringLiteral("Tone number:   ") + QString::number(tone);
    r.Frequency = frequencyText(tone);
    if (chart == 26) {
        r.Bits = QStringLiteral("Bits:                  ") + general(series->valueAt(index));
        r.Bitswaps = QStringLiteral("Bitswaps:         ")
                     + general(m_charts.series(QStringLiteral("BarSeries2"))->valueAt(index));
    } else {
        r.Bitswaps = QStringLiteral("Bitswaps:         ") + general(series->valueAt(index));
    }
    return r;
}

// ---- mouse ------------------------------------------------------------------------

int ToneCharts::indexAt(QCustomPlot *plot, int chart, double x) const
{
    const double key = plot->xAxis->pixelToCoord(x);
    const int i = int(std::lround(key));
    if (std::fabs(key - i) > 0.5)
        return -1;
    const char *name = chart == 21 ? "LineSeries18" : chart == 26 ? "BarSeries1" : chart == 27 ? "BarSeries2"
                                                                                               : "Series16";
    const ChartSeries *s = m_charts.series(QLatin1String(name));
    return i >= 0 && i < s->count() ? i : -1;
}

bool ToneCharts::eventFilter(QObject *watched, QEvent *event)
{
    auto *plot = qobject_cast<QCustomPlot *>(watched);
    const int chart = plot ? m_charts.numberOf(plot) : 0;
    if (!chart)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: mousePress(chart, plot, static_cast<QMouseEvent *>(event)); break;
    case QEvent::MouseMove: mouseMove(chart, plot, static_cast<QMouseEvent *>(event)); break;
    case QEvent::MouseButtonRelease: mouseRelease(chart, plot, static_cast<QMouseEvent *>(event)); break;
    default: break;
    }
    return false;
}

void ToneCharts::mousePress(int chart, QCustomPlot *plot, QMouseEvent *e)
{
    const bool left = e->button() == Qt::LeftButton;
    plot->setInteraction(QCP::iRangeDrag, left);
    m_plainDrag = left && !(e->modifiers() & (Qt::ShiftModifier | Qt::AltModifier));
    m_dragging = left;
    if (left)
        plot->setCursor(m_plainDrag ? Qt::SizeVerCursor : Qt::UpArrowCursor);
    if (chart == 21) {
        m_restore.stop();
        // A click on a series selects it for the read-out; on SNR the cursor is a hand.
        if (left && plot->plottableAt(e->position(), false)) {
            m_selected = true;
            if (plot->plottableAt(e->position(), false) == m_charts.series(QStringLiteral("Series4"))->plottable())
                plot->setCursor(Qt::PointingHandCursor);
            mouseMove(chart, plot, e);
        }
    }
}

void ToneCharts::mouseMove(int chart, QCustomPlot *plot, QMouseEvent *e)
{
    const int i = indexAt(plot, chart, e->position().x());
    if (chart == 21) {
        if (!m_selected)
            return;
        const ToneReadout r = bitsReadout(i).value_or(ToneReadout());
        QStringList lines{r.Tone, r.Frequency, r.Snr, r.Bits, r.Bitswaps};
        if (m_settings.Telnet.V4)
            lines << r.Attenuation;
        emit bitsReadoutChanged(lines, !m_dragging || i >= 0);
        return;
    }
    if (chart == 22 || chart == 28)
        return;
    if (!m_dragging)
        plot->setCursor(i >= 0 ? Qt::CrossCursor : Qt::ArrowCursor);
    const ToneReadout r = thomsonReadout(chart, i);
    emit readoutChanged(chart, chart == 26 ? QStringList{r.Tone, r.Frequency, r.Bits, r.Bitswaps}
                                           : QStringList{r.Tone, r.Frequency, r.Bitswaps});
}

void ToneCharts::mouseRelease(int chart, QCustomPlot *plot, QMouseEvent *e)
{
    m_dragging = false;
    m_plainDrag = false;
    plot->unsetCursor();
    if (chart != 21)
        return;
    m_selected = false;
    emit bitsReadoutChanged({}, false);
    if (m_running)
        m_restore.start();
    // Released near an edge: the grid follows that side's axis.
    const double x = e->position().x();
    if (x < 100) {
        plot->yAxis->grid()->setVisible(true);
        plot->yAxis2->grid()->setVisible(false);
        m_settings.Telnet.LeftVisible21 = true;
    } else if (x > plot->width() - 100) {
        plot->yAxis->grid()->setVisible(false);
        plot->yAxis2->grid()->setVisible(true);
        m_settings.Telnet.LeftVisible21 = false;
    }
}

void ToneCharts::holdAxes(int chart)
{
    if (m_holding)
        return;
    m_holding = true;
    auto hold = [](ChartAxis axis, double minLow, double maxLow, double maxHigh = NAN) {
        double lo = std::max(axis.minimum(), minLow);
        double hi = std::max(axis.maximum(), maxLow);
        if (!std::isnan(maxHigh))
            hi = std::max(hi, maxHigh);
        if (lo != axis.minimum() || hi != axis.maximum())
            axis.setLimitsInSafeOrder(lo, std::max(lo, hi));
    };
    switch (chart) {
    case 21: {
        hold(m_charts.leftAxis(21), 0, m_plainDrag ? 16 : -1e300);
        ChartAxis snr = m_charts.rightAxis(21);
        if (m_settings.Telnet.rbSNR) {
            hold(snr, -0.5, 64);
        } else {
            // The plotted margins stay in view.
            const double lo = std::min(snr.minimum(), m_marginMin);
            const double hi = std::max(snr.maximum(), m_marginMax);
            if (lo != snr.minimum() || hi != snr.maximum())
                snr.setLimitsInSafeOrder(lo, hi);
        }
        break;
    }
    case 22: {
        ChartAxis left = m_charts.leftAxis(22);
        const double lo = m_dragging ? -0.001 : left.minimum();
        const double hi = std::max(left.maximum(), 10.0);
        if (lo != left.minimum() || hi != left.maximum())
            left.setLimitsInSafeOrder(lo, std::max(lo, hi));
        break;
    }
    case 27:
    case 28:
    case 29: {
        ChartAxis left = m_charts.leftAxis(chart);
        if (left.minimum() < 0)
            left.setLimitsInSafeOrder(0, std::max(left.maximum() - left.minimum(), 1.0));
        break;
    }
    default: break;
    }
    m_holding = false;
}
