// Cost of one bit-loading refresh on the tone charts: a 512-tone reply's
// bits, SNR, attenuation and bitswaps drawn on the telnet tone charts
// (Chart21, Chart29, Chart22) and a 585 refresh of 513 tones on its three
// (Chart26, Chart27, Chart28), each chart then redrawn at 900x300, as a user
// who watches the tone tabs sees it.
//
//   build/bench/bench_tonecharts [refreshes]
#include "acquisition/TelnetParseSupport.h"
#include "charts/AxisScaling.h"
#include "charts/ChartSet.h"
#include "charts/ToneCharts.h"
#include "settings/SettingsStore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QWidget>
#include <qcustomplot.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t rank = size_t(std::max(1.0, std::ceil(p * double(v.size()))));
    return v[std::min(rank, v.size()) - 1];
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int refreshes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;

    QTemporaryDir dir;
    SettingsEnvironment env = SettingsEnvironment::forFile(dir.filePath(QStringLiteral("bench.ini")));
    TSettings settings = settingsstore::load(env).settings;
    settings.Telnet.V123 = false;
    settings.Telnet.V4 = true;
    settings.Telnet.ADSL2 = true;
    settings.Telnet.ShowAttenuation = true;
    settings.Telnet.SepHistogram = true;
    ChartSet charts;
    AxisScaling scaling(charts, settings);
    charts.applyStartup(settings);
    TelnetFigures figures;
    ToneCharts tones(charts, scaling, settings, figures);
    tones.setStampLabel([] { return QStringLiteral(" 12:00:00"); });

    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    const int numbers[] = {21, 29, 22, 26, 27, 28};
    for (int n : numbers)
        layout->addWidget(charts.chart(n));
    tones.attach();
    window.resize(900, 300 * 6);
    window.show();
    QApplication::processEvents();

    std::mt19937 rng(20240304);
    std::uniform_int_distribution<int> bit(0, 15);
    std::uniform_real_distribution<double> snr(0, 60);
    std::vector<double> telnetMs, thomsonMs, plotMs;
    for (int r = 0; r < refreshes; ++r) {
        for (size_t t = 0; t < size_t(TelnetFigures::kTones); ++t) {
            const int b = bit(rng);
            figures.ToneSwapped[t] = b != figures.ToneBits[t];
            figures.ToneSwapCount[t] += figures.ToneSwapped[t];
            figures.ToneBits[t] = b;
            figures.ToneSnr[t] = float(snr(rng));
            figures.ToneHlog[t] = float(snr(rng));
        }
        QElapsedTimer timer;
        timer.start();
        ToneChartData d;
        d.LastTone = 511;
        d.AxisMaximum = 511;
        telnetparse::plotTones(d, figures, settings, true);
        d.HistogramVisible = true;
        for (int t : d.Tones) {
            d.Histogram.push_back(figures.ToneSwapCount[size_t(t)]);
            d.HistogramColours.push_back(tonecolour::Blue);
        }
        d.BitswapPoint = BitswapChartPoint{false, 3, 40};
        tones.plot(d, {});
        plotMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        for (int n : {21, 29, 22})
            charts.chart(n)->replot(QCustomPlot::rpImmediateRefresh);
        telnetMs.push_back(double(timer.nsecsElapsed()) / 1e6);

        timer.restart();
        tones.plotThomson(0, 512, 32, 40, QStringLiteral(" 12:00:00"), false);
        for (int n : {26, 27, 28})
            charts.chart(n)->replot(QCustomPlot::rpImmediateRefresh);
        thomsonMs.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("tone-chart refresh, %d refreshes\n", refreshes);
    std::printf("  telnet (512 tones, Chart21+29+22): median %.2f ms, p95 %.2f ms\n", percentile(telnetMs, 0.5),
                percentile(telnetMs, 0.95));
    std::printf("    of which the series themselves: median %.2f ms\n", percentile(plotMs, 0.5));
    std::printf("  585 (513 tones, Chart26+27+28):    median %.2f ms, p95 %.2f ms\n", percentile(thomsonMs, 0.5),
                percentile(thomsonMs, 0.95));
    return 0;
}
