// Cost of the main window's plotting step (the status-page points, the
// timeline scroll and the replots they queue) once the charts hold a week of
// history, the resident memory that history takes, and the time to render all
// 31 charts to 900x300 images. The charts sit on tabs as in the main window,
// each laid out once at its page's size, as a user who has looked at every
// tab leaves them; the first tab is showing.
//
//   build/bench/bench_plotting [measured polls] [days of history]
#include "BenchSupport.h"
#include "common/Clock.h"
#include "common/DateTimePattern.h"
#include "charts/AxisScaling.h"
#include "charts/ChartInteraction.h"
#include "charts/ChartSet.h"
#include "charts/PlottingStep.h"
#include "settings/SettingsStore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QWidget>
#include <qcustomplot.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

namespace {

constexpr int kChartWidth = 900;
constexpr int kChartHeight = 300;
constexpr int kWindowWidth = 960;
constexpr int kWindowHeight = 640;

double mib(long kib)
{
    return double(kib) / 1024.0;
}

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    // Nearest rank.
    const double rank = std::ceil(p * double(v.size()));
    return v[size_t(std::clamp(rank - 1, 0.0, double(v.size() - 1)))];
}

struct Figures {
    std::mt19937 rng{20240304};
    std::normal_distribution<double> jitter{0.0, 1.0};
    std::uniform_int_distribution<int> dice{0, 999};
    qint64 poll = 0;

    // A line that drifts through the day, with the odd dip below the alarm
    // thresholds and the odd poll the router does not answer.
    void next(SampleFigures &f, bool &noAnswer)
    {
        const double day = std::sin(double(poll++) * 2 * std::numbers::pi / 4320.0);
        noAnswer = dice(rng) == 0;
        const bool dip = dice(rng) < 5;
        f.RxNoise = noAnswer ? 0.0f : float(6.0 + day + 0.3 * jitter(rng) - (dip ? 5 : 0));
        f.TxNoise = noAnswer ? 0.0f : float(12.0 + 0.5 * day + 0.2 * jitter(rng));
        f.RxSync = noAnswer ? 0.0f : float(dip ? 2048 : 7616 + 16 * std::round(jitter(rng)));
        f.TxSync = noAnswer ? 0.0f : 448.0f;
        f.UserValue1 = 40 + 10 * day + 3 * jitter(rng);
        f.UserValue2 = 1200 + 100 * day + 25 * jitter(rng);
    }
};

// Every series of the time charts the status-page step does not feed: the
// telnet charts and the ping chart, so memory reflects every time series.
std::vector<ChartSeries *> otherTimeSeries(ChartSet &charts)
{
    std::vector<ChartSeries *> out;
    for (const ChartDef &def : ChartTable::charts()) {
        if (!def.timeChart || def.isHttpChart())
            continue;
        for (const SeriesDef &s : def.series)
            if (ChartSeries *cs = charts.series(QLatin1String(s.name)))
                out.push_back(cs);
    }
    return out;
}

// Tabs and sub-tabs named after the chart table, one page per chart, as the
// main window places them.
void placeLikeMainWindow(ChartSet &charts, QWidget &window)
{
    auto *tabs = new QTabWidget(&window);
    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(tabs);
    const auto pageIn = [](QTabWidget *in, const QString &caption) -> QWidget * {
        for (int i = 0; i < in->count(); ++i)
            if (in->widget(i)->objectName() == caption)
                return in->widget(i);
        auto *page = new QWidget(in);
        page->setObjectName(caption);
        new QVBoxLayout(page);
        in->addTab(page, caption.trimmed());
        return page;
    };
    const auto subTabsOf = [](QWidget *page) -> QTabWidget * {
        if (auto *existing = page->findChild<QTabWidget *>(QString(), Qt::FindDirectChildrenOnly))
            return existing;
        auto *in = new QTabWidget(page);
        page->layout()->addWidget(in);
        return in;
    };
    for (const ChartDef &def : ChartTable::charts()) {
        QWidget *page = pageIn(tabs, QString::fromLatin1(def.tab));
        const QString sub = QString::fromLatin1(def.subTab);
        if (!sub.isEmpty())
            for (const QString &part : sub.split(QStringLiteral(" > ")))
                page = pageIn(subTabsOf(page), part);
        QCustomPlot *plot = charts.chart(def.number);
        plot->setMinimumHeight(120);
        page->layout()->addWidget(plot);
    }
}

// Shows every page once, sub-tabs included, so every chart has been laid out
// at its page's size (as after a user has looked at each tab), then goes back
// to the first page of each.
void visitEveryTab(QTabWidget *tabs)
{
    for (int i = tabs->count() - 1; i >= 0; --i) {
        tabs->setCurrentIndex(i);
        QCoreApplication::processEvents();
        if (auto *sub = tabs->widget(i)->findChild<QTabWidget *>(QString(), Qt::FindDirectChildrenOnly))
            visitEveryTab(sub);
    }
}

struct Result {
    QSize chartSize;
    QSize telnetChartSize;
    long rssBeforeKiB = 0;
    long rssFilledKiB = 0;
    double fillSeconds = 0;
    qint64 added = 0;
    qint64 kept = 0;
    qint64 firstKept = 0;
    qint64 cap = 0;
    int timeSeries = 0;
    std::vector<double> stepMs, plotMs, scrollMs, replotMs;
    std::vector<double> dragMs, zoomMs; // one drag or zoom step on Chart1 until it has repainted
    double dragMoved = 0;               // farthest the drag took the page, in points
    double replotsPerPoll = 0;
    double hiddenReplotsPerPoll = 0;
    double pngMs = 0;
    double pixmapMs = 0;
};

Result run(int sample, qint64 polls, int measured, const QString &folder)
{
    Result r;
    malloc_trim(0);
    r.rssBeforeKiB = residentKiB();

    SettingsEnvironment env = SettingsEnvironment::forFile(folder + QStringLiteral("/bench.ini"));
    TSettings settings = settingsstore::load(env).settings;
    settings.System.Sample = sample;
    RunState state;

    QDateTime start = QDateTime::fromString(QStringLiteral("2024-03-04T00:00:00"), Qt::ISODate);
    ManualClock clock(start);
    Clock::setInstance(&clock);

    // The window before the charts, so the charts go first and the plots the
    // window has taken in are the window's to delete.
    auto window = std::make_unique<QWidget>();
    ChartSet charts;
    AxisScaling scaling(charts, settings);
    PlottingStep plotting(charts, scaling, settings, state);
    charts.applyStartup(settings);

    int replots = 0;
    int hiddenReplots = 0;
    placeLikeMainWindow(charts, *window);
    for (const ChartDef &def : ChartTable::charts()) {
        QCustomPlot *plot = charts.chart(def.number);
        QObject::connect(plot, &QCustomPlot::afterReplot, [&replots, &hiddenReplots, plot] {
            ++replots;
            if (!plot->isVisible())
                ++hiddenReplots;
        });
    }
    window->resize(kWindowWidth, kWindowHeight);
    window->show();
    QCoreApplication::processEvents();
    visitEveryTab(window->findChild<QTabWidget *>(QString(), Qt::FindDirectChildrenOnly));
    r.chartSize = charts.chart(1)->size();
    r.telnetChartSize = charts.chart(5)->size();

    const std::vector<ChartSeries *> others = otherTimeSeries(charts);
    Figures figures;
    const QString pattern = QStringLiteral(" hh:nn:ss ");
    const TColor normal = settings.Graph.NoiseColour;
    const TColor silent = settings.Graph.NoRespondColour;

    const auto poll = [&](bool timed) {
        clock.advanceSecs(sample);
        state.SampleStamp = Clock::currentDateTime();
        const QString label = dtp::format(pattern, state.SampleStamp);
        bool noAnswer = false;
        figures.next(state.Figures, noAnswer);
        plotting.noteGap(settings.Graph.ShowGaps, false);
        if (!timed) {
            plotting.plotHttp(noAnswer ? silent : normal, label);
            const double v = double(figures.poll % 97);
            for (ChartSeries *s : others)
                s->add(v, label);
            plotting.scrollTimeline();
            return;
        }
        const int replotsBefore = replots;
        const int hiddenBefore = hiddenReplots;
        QElapsedTimer t;
        t.start();
        plotting.plotHttp(noAnswer ? silent : normal, label);
        const qint64 a = t.nsecsElapsed();
        plotting.scrollTimeline();
        const qint64 b = t.nsecsElapsed();
        // The queued replots are posted calls; their repaints are posted in turn.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        const qint64 c = t.nsecsElapsed();
        r.plotMs.push_back(double(a) / 1e6);
        r.scrollMs.push_back(double(b - a) / 1e6);
        r.replotMs.push_back(double(c - b) / 1e6);
        r.stepMs.push_back(double(c) / 1e6);
        r.replotsPerPoll += replots - replotsBefore;
        r.hiddenReplotsPerPoll += hiddenReplots - hiddenBefore;
    };

    QElapsedTimer fill;
    fill.start();
    for (qint64 i = 0; i < polls; ++i) {
        poll(false);
        // The window's event loop runs between polls; let it now and then.
        if (i % 5000 == 4999)
            QCoreApplication::processEvents();
    }
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    r.fillSeconds = double(fill.nsecsElapsed()) / 1e9;
    malloc_trim(0);
    r.rssFilledKiB = residentKiB();

    const ChartSeries *noise = charts.series(QStringLiteral("Series1"));
    r.added = noise->count();
    r.kept = noise->keptCount();
    r.firstKept = noise->firstIndex();
    r.cap = noise->historyCap();
    r.timeSeries = int(others.size());
    for (const ChartDef &def : ChartTable::charts())
        if (def.timeChart && def.isHttpChart())
            r.timeSeries += int(def.series.size());

    for (int i = 0; i < measured; ++i)
        poll(true);
    r.replotsPerPoll /= std::max(measured, 1);
    r.hiddenReplotsPerPoll /= std::max(measured, 1);

    // Dragging the showing chart back through its history, then zooming the
    // timeline in and out, each step timed until the chart has repainted.
    {
        ChartInteraction interaction(charts, settings);
        interaction.attach(1);
        QCustomPlot *plot = charts.chart(1);
        const QPoint from = plot->axisRect()->center();
        const auto send = [plot](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
            QMouseEvent e(type, QPointF(at), QPointF(plot->mapToGlobal(at)), button, buttons, Qt::NoModifier);
            QCoreApplication::sendEvent(plot, &e);
        };
        const double before = plot->xAxis->range().lower;
        send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        for (int i = 1; i <= measured; ++i) {
            QElapsedTimer d;
            d.start();
            send(QEvent::MouseMove, from + QPoint(3 * (i % 100), 0), Qt::NoButton, Qt::LeftButton);
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
            r.dragMs.push_back(double(d.nsecsElapsed()) / 1e6);
            r.dragMoved = std::max(r.dragMoved, std::abs(plot->xAxis->range().lower - before));
        }
        send(QEvent::MouseButtonRelease, from, Qt::LeftButton, Qt::NoButton);
        QCoreApplication::processEvents();
        for (int i = 0; i < measured; ++i) {
            QElapsedTimer z;
            z.start();
            if (i % 8 == 7)
                interaction.mnuRestoreClick();
            else
                interaction.mnuExpandClick();
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
            r.zoomMs.push_back(double(z.nsecsElapsed()) / 1e6);
        }
        interaction.mnuRestoreClick();
    }

    QTemporaryDir images;
    QElapsedTimer t;
    t.start();
    for (const ChartDef &def : ChartTable::charts())
        charts.chart(def.number)->savePng(images.filePath(def.objectName() + QStringLiteral(".png")), kChartWidth,
                                          kChartHeight);
    r.pngMs = double(t.nsecsElapsed()) / 1e6;
    t.restart();
    for (const ChartDef &def : ChartTable::charts())
        (void)charts.chart(def.number)->toPixmap(kChartWidth, kChartHeight);
    r.pixmapMs = double(t.nsecsElapsed()) / 1e6;

    Clock::setInstance(nullptr);
    return r;
}

void report(int sample, qint64 polls, const Result &r)
{
    std::printf("\nSample %d: a week is %lld polls\n", sample, static_cast<long long>(polls));
    std::printf("  filled %d time series in %.1f s; Series1 holds %lld of %lld points (x %lld..%lld)\n",
                r.timeSeries, r.fillSeconds, static_cast<long long>(r.kept), static_cast<long long>(r.added),
                static_cast<long long>(r.firstKept), static_cast<long long>(r.added - 1));
    if (r.kept < r.added)
        std::printf("  history cap applies: %lld points per series, oldest dropped in blocks\n",
                    static_cast<long long>(r.cap));
    else
        std::printf("  history cap (%lld points) not reached\n", static_cast<long long>(r.cap));
    std::printf("  charts laid out at %dx%d (Chart1), %dx%d (Chart5)\n", r.chartSize.width(), r.chartSize.height(),
                r.telnetChartSize.width(), r.telnetChartSize.height());
    std::printf("  resident memory: %.1f MiB before, %.1f MiB filled (+%.1f MiB)\n", mib(r.rssBeforeKiB),
                mib(r.rssFilledKiB), mib(r.rssFilledKiB - r.rssBeforeKiB));
    std::printf("  plotting step over %zu polls, ms:   median %7.3f   p90 %7.3f   max %7.3f\n", r.stepMs.size(),
                percentile(r.stepMs, 0.5), percentile(r.stepMs, 0.9), percentile(r.stepMs, 1.0));
    std::printf("    plotHttp                          median %7.3f   p90 %7.3f\n", percentile(r.plotMs, 0.5),
                percentile(r.plotMs, 0.9));
    std::printf("    scrollTimeline                    median %7.3f   p90 %7.3f\n", percentile(r.scrollMs, 0.5),
                percentile(r.scrollMs, 0.9));
    std::printf("    queued replots and repaint        median %7.3f   p90 %7.3f\n", percentile(r.replotMs, 0.5),
                percentile(r.replotMs, 0.9));
    std::printf("    charts replotted a poll: %.1f, of them on tabs not showing: %.1f\n", r.replotsPerPoll,
                r.hiddenReplotsPerPoll);
    std::printf("  drag step on Chart1 until repainted, ms: median %7.3f   p90 %7.3f   max %7.3f (page moved up to %.1f points)\n",
                percentile(r.dragMs, 0.5), percentile(r.dragMs, 0.9), percentile(r.dragMs, 1.0), r.dragMoved);
    std::printf("  zoom step (expand/restore) until repainted, ms: median %7.3f   p90 %7.3f\n",
                percentile(r.zoomMs, 0.5), percentile(r.zoomMs, 0.9));
    std::printf("  all 31 charts to PNG files: %.1f ms; to pixmaps: %.1f ms\n", r.pngMs, r.pixmapMs);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int measured = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const double days = argc > 2 ? std::max(0.01, std::atof(argv[2])) : 7.0;
    const qint64 week = qint64(days * 86400);

    QTemporaryDir dir;
    std::printf("Plotting step with %.4g days of history; %d charts on tabs in a %dx%d window; %d measured polls\n",
                days, int(ChartTable::charts().size()), kWindowWidth, kWindowHeight, measured);

    const qint64 polls20 = week / 20;
    const Result r20 = run(20, polls20, measured, dir.path());
    report(20, polls20, r20);
    const qint64 polls1 = week;
    const Result r1 = run(1, polls1, measured, dir.path());
    report(1, polls1, r1);

    const double step = percentile(r20.stepMs, 0.9);
    const double week20 = mib(r20.rssFilledKiB) * 1.048576;
    const double cap = mib(r1.rssFilledKiB) * 1.048576;
    std::printf("\nVerdict: plotting step p90 at a week of Sample 20 %.2f ms (aim < 5 ms) %s; resident at a week of "
                "Sample 20 %.0f MB (aim < 120 MB) %s; at the %lld-point cap %.0f MB (aim < 300 MB) %s\n",
                step, step < 5 ? "MET" : "MISSED", week20, week20 < 120 ? "MET" : "MISSED",
                static_cast<long long>(r1.cap), cap, cap < 300 ? "MET" : "MISSED");
    const double drag = std::max(percentile(r20.dragMs, 0.5), percentile(r20.zoomMs, 0.5));
    std::printf("Verdict at a week of Sample 20 (%lld points): drag and zoom step median %.2f ms (aim < 16 ms, one "
                "frame) %s\n",
                static_cast<long long>(r20.added), drag, drag < 16 ? "MET" : "MISSED");
    return 0;
}
