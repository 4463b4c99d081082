#pragma once
// The six charts that show the line per tone: bits, SNR (or SNR margin) and
// attenuation per tone (Chart21), bitswaps per tone (Chart29), bitswaps per
// refresh over time (Chart22), and the SpeedTouch 585's bits, bitswaps per
// tone and bitswaps over time (Chart26, Chart27, Chart28). Draws what the
// parsers and the 585 session produce, keeps the axes where the user can
// read them (SNR scale, bitswap maximum, page of refreshes, the return of
// dragged axes) and gives the read-outs under the mouse.
#include "acquisition/TelnetFigures.h"
#include "acquisition/TelnetParseResult.h"
#include "settings/TSettings.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <optional>

class AxisScaling;
class ChartSet;
class QCustomPlot;
class QMouseEvent;

// The lines of a read-out panel; fallbacks are the bare captions.
struct ToneReadout {
    QString Tone = QStringLiteral("Tone number:");
    QString Frequency = QStringLiteral("Frequency:");
    QString Snr = QStringLiteral("SNR:");
    QString Bits = QStringLiteral("Bits:");
    QString Bitswaps = QStringLiteral("Bitswaps:");
    QString Attenuation = QStringLiteral("Attenuation:");
};

class ToneCharts : public QObject {
    Q_OBJECT
public:
    static constexpr double kToneSpacingKHz = 4.3125;
    static constexpr int kRestoreMs = 10000;

    ToneCharts(ChartSet &charts, AxisScaling &scaling, TSettings &settings, TelnetFigures &figures,
               QObject *parent = nullptr);

    // Mouse handling on the tone charts (they must exist).
    void attach();
    // Monitoring runs: the restore timer is restarted after a drag.
    void setRunning(bool running) { m_running = running; }
    // The "Bits && SNR / Tone" sub-tab is showing (the restore acts only then).
    void setBitsTabShowing(std::function<bool()> showing) { m_bitsTabShowing = std::move(showing); }
    // The point label of a bitswap point (SampleStamp in PointLabelFormat).
    void setStampLabel(std::function<QString()> label) { m_stampLabel = std::move(label); }

    // A telnet reply's tones; saves go through the callback ("Before Bitswap", "After Bitswap").
    void plot(const ToneChartData &t, const std::function<void(const QString &)> &save21);
    // The four tone series emptied (a fresh picture was asked for).
    void clearToneSeries();
    // Chart21's right axis for the SNR mode: title, range.
    void applySnrAxis();
    // rbSNR/rbSNRMargin: the axis, then the SNR series refilled from the tables.
    void snrModeChanged();
    // ResetGraphAxes1.
    void resetAxes();
    // tmrBitswapRestoreGraph: the dragged axes go back.
    void restoreAxes();
    // spBitswapMax; start-up also sets it.
    void setBitswapMaximum(int maximum);
    // Chart22's page in refreshes.
    void setBitsPage(int refreshes);
    // mnuSwapBitswapPlots: the two bitswap series change places.
    void swapBitswapPlots();
    // cbSNRPoints, rbSNRSteps, cbVerticalGrid and cbShowAttenuation's look.
    void applySnrLook();

    // The SpeedTouch 585's refresh on Chart26..Chart28.
    // Tones firstTone..lastTone from the tables; upTones: tones below it are upstream.
    // The swap total goes to Chart28 (a red gap mark at its top instead when gap).
    void plotThomson(int firstTone, int lastTone, int upTones, int swapTotal, const QString &label, bool gap);
    // rbLowBits/rbHiBits/rbAllBits: the 585 charts' bottom maximum.
    void setThomsonRange(int maximum);

    // Read-outs.
    static QString frequencyText(int tone);
    // Chart21 at index i (offset added), from the plotted series; nullopt: no point there.
    std::optional<ToneReadout> bitsReadout(int index) const;
    ToneReadout thomsonReadout(int chart, int index) const;
    // The tone with the most bitswaps (the first of equal maxima); nullopt when none swapped.
    static std::optional<int> mostBitswaps(const std::array<quint32, TelnetFigures::kTones> &counts);
    int toneOffset() const { return m_toneOffset; }
    // Largest and smallest margin plotted (margin mode's hold and restore).
    double largestMargin() const { return m_marginMax; }
    double smallestMargin() const { return m_marginMin; }
    const QTimer &restoreTimer() const { return m_restore; }
    bool readoutSelected() const { return m_selected; }

signals:
    // Panel35's lines (the panel hides when empty).
    void bitsReadoutChanged(const QStringList &lines, bool visible);
    // Read-outs of Chart26, Chart27, Chart28 and Chart29.
    void readoutChanged(int chart, const QStringList &lines);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillSnr();
    void holdAxes(int chart);
    void mousePress(int chart, QCustomPlot *plot, QMouseEvent *e);
    void mouseMove(int chart, QCustomPlot *plot, QMouseEvent *e);
    void mouseRelease(int chart, QCustomPlot *plot, QMouseEvent *e);
    int indexAt(QCustomPlot *plot, int chart, double x) const;

    ChartSet &m_charts;
    AxisScaling &m_scaling;
    TSettings &m_settings;
    TelnetFigures &m_figures;
    QTimer m_restore;
    std::function<bool()> m_bitsTabShowing;
    std::function<QString()> m_stampLabel;
    bool m_running = false;
    bool m_selected = false;
    bool m_dragging = false;
    bool m_plainDrag = false;
    bool m_holding = false;
    int m_toneOffset = 0;
    int m_lastTone = 255;
    int m_thomsonOffset = 0;
    double m_marginMax = 20;
    double m_marginMin = 0;
};
