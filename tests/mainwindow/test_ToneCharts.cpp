// The tone charts on the main window: filled by Run's bit-loading request
// for each telnet family, their scales (SNR, SNR margin, bitswaps), the
// read-outs and the return of dragged axes.
#include "SimWindowFixture.h"
#include "acquisition/BitLoadingRefresh.h"
#include "notify/AlarmActions.h"
#include "charts/AxisScaling.h"
#include "acquisition/TelnetScriptRunner.h"
#include "acquisition/ThomsonSession.h"
#include "pages/BitloadingPage.h"
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include "pages/BitsTonePage.h"
#include "charts/ChartSet.h"
#include "charts/ToneCharts.h"
#include "LayoutCheck.h"
#include "OnlyChild.h"

#include <QAction>
#include <QMouseEvent>
#include <QTabWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <qcustomplot.h>

using testsupport::onlyChild;

namespace {

struct ToneWindowTest : SimWindowTest {
    QByteArray telnet(const QByteArray &family)
    {
        return "[Router]\nTelnet=1\n[Telnet]\nUseHttpDebug=0\nExtended=0\nTelnetIP=127.0.0.1\nTelnetPort="
               + QByteArray::number(sim.telnetPort()) + "\n" + family;
    }
    ChartSeries *series(const char *name) { return onlyChild<ChartSet>(*form)->series(QLatin1String(name)); }
    void useAdslctlRouter()
    {
        profile = QStringLiteral("other");
        statusPath = "/status.htm";
        startSim();
    }
    bool runUntilTonesPlotted()
    {
        form->btnStart->click();
        return testsupport::waitFor([&] { return series("LineSeries18")->count() > 0; }, 15000);
    }
};

} // namespace

TEST_F(ToneWindowTest, RunFillsTheToneChartsForEachTelnetFamily)
{
    struct Case {
        const char *profile;
        QByteArray family;
    };
    const Case cases[] = {
        {"v1234", "V123=1\n"},
        {"other", "V123=0\nV4=1\nShowAttenuation=1\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.profile);
        form.reset();
        profile = QLatin1String(c.profile);
        statusPath = profile == QLatin1String("other") ? "/status.htm" : "/setup.cgi?next_file=stattbl.htm";
        startSim();
        open(telnet(c.family), 5);
        ASSERT_TRUE(runUntilTonesPlotted());
        EXPECT_EQ(256, series("LineSeries18")->count());
        EXPECT_EQ(256, series("Series4")->count());
        const auto &tones = sim.state().tones();
        EXPECT_EQ(tones.bits(100), series("LineSeries18")->valueAt(100));
        EXPECT_EQ(tones.bits(100), form->telnetFigures().ToneBits[100]);
        auto *page = onlyChild<BitsTonePage>(*form);
        EXPECT_TRUE(page->Label61->text().startsWith(QStringLiteral("Last updated: ")));
        EXPECT_TRUE(testsupport::waitFor([&] { return page->btnBitsRefresh->isEnabled(); }));
        EXPECT_TRUE(onlyChild<BitLoadingRefresh>(*form)->timer().isActive());
        form->btnStop->click();
        EXPECT_FALSE(onlyChild<BitLoadingRefresh>(*form)->timer().isActive());
    }
}

TEST_F(ToneWindowTest, MarginModeSubtractsThreeDecibelsPerBitAndClips)
{
    sim.execute(QStringLiteral("tone 40 snr 30"));
    sim.execute(QStringLiteral("tone 40 bits 5"));
    sim.execute(QStringLiteral("tone 41 snr 30"));
    sim.execute(QStringLiteral("tone 41 bits 2"));
    sim.execute(QStringLiteral("tone 20 snr 30"));
    open(telnet("V123=1\n"), 5);
    ASSERT_TRUE(runUntilTonesPlotted());
    ChartSeries *snr = series("Series4");
    EXPECT_EQ(30, snr->valueAt(40));
    auto *page = onlyChild<BitsTonePage>(*form);
    page->rbSNRMargin->click();
    EXPECT_FALSE(form->settings().Telnet.rbSNR);
    EXPECT_EQ(QStringLiteral("SNR Margin per tone"), page->Label59->text());
    EXPECT_EQ(QStringLiteral("SNR Margin (dB)"), onlyChild<ChartSet>(*form)->chart(21)->yAxis2->label());
    EXPECT_EQ(256, snr->count());
    EXPECT_EQ(15, snr->valueAt(40));
    EXPECT_EQ(20, snr->valueAt(41)); // 24, clipped at the default 20
    EXPECT_EQ(0, snr->valueAt(20));  // the upstream band reads 0
    page->spClipSNRMargin->setValue(30);
    EXPECT_EQ(24, snr->valueAt(41));
    page->rbSNR->click();
    EXPECT_EQ(30, snr->valueAt(40));
    EXPECT_EQ(QStringLiteral("SNR (dB)"), onlyChild<ChartSet>(*form)->chart(21)->yAxis2->label());
    EXPECT_EQ(64, onlyChild<ChartSet>(*form)->rightAxis(21).maximum());
    form->btnStop->click();
}

TEST_F(ToneWindowTest, BitswapChartFollowsASwapBurstAndItsMaximum)
{
    open(telnet("V123=1\n"), 1);
    EXPECT_EQ(10, onlyChild<ChartSet>(*form)->leftAxis(22).maximum());
    onlyChild<BitsTonePage>(*form)->spBitswapMax->setValue(25);
    EXPECT_EQ(25, onlyChild<ChartSet>(*form)->leftAxis(22).maximum());
    onlyChild<BitsTonePage>(*form)->spBitswapMax->setValue(10);
    ASSERT_TRUE(runUntilTonesPlotted());
    // Bitswaps count once the run has a few polls behind it.
    ASSERT_TRUE(testsupport::waitFor([&] { return form->runState().SampleCount > 3; }, 15000));
    const auto &tones = sim.state().tones();
    for (int t = 100; t < 140; ++t)
        sim.execute(QStringLiteral("tone %1 bits %2").arg(t).arg(tones.bits(t) == 15 ? 1 : tones.bits(t) + 1));
    ChartSeries *down = series("Series14");
    const qint64 before = down->count();
    ASSERT_TRUE(testsupport::waitFor([&] { return onlyChild<BitsTonePage>(*form)->btnBitsRefresh->isEnabled(); }));
    onlyChild<BitsTonePage>(*form)->btnBitsRefresh->click();
    ASSERT_TRUE(testsupport::waitFor([&] { return down->count() > before && down->lastValue() == 40; }, 10000));
    EXPECT_GT(onlyChild<ChartSet>(*form)->leftAxis(22).maximum(), 40);
    EXPECT_EQ(1u, form->telnetFigures().ToneSwapCount[100]);
    form->btnStop->click();
}

TEST_F(ToneWindowTest, ReadoutFollowsTheMouseAndDraggedAxesComeBack)
{
    useAdslctlRouter();
    sim.execute(QStringLiteral("set linemode ADSL2+"));
    open(telnet("V123=0\nV4=1\nShowTop=2\nShowAttenuation=0\n"), 5);
    form->resize(1000, 700);
    form->show();
    ASSERT_TRUE(runUntilTonesPlotted());
    ToneCharts *tones = onlyChild<ToneCharts>(*form);
    EXPECT_EQ(256, tones->toneOffset());
    EXPECT_EQ(QStringLiteral("Tone number:   266"), tones->bitsReadout(10)->Tone);
    EXPECT_EQ(QStringLiteral("Frequency:       431.25 KHz"), ToneCharts::frequencyText(100));
    EXPECT_FALSE(tones->bitsReadout(5000).has_value());
    EXPECT_FALSE(onlyChild<BitsTonePage>(*form)->Image84->isHidden());
    EXPECT_EQ(QStringLiteral("<<"), onlyChild<BitsTonePage>(*form)->Label88->text());

    // Show the chart and press on a bar: the read-out follows the mouse.
    QCustomPlot *plot = onlyChild<ChartSet>(*form)->chart(21);
    for (QWidget *w = plot; w; w = w->parentWidget())
        if (auto *tabs = qobject_cast<QTabWidget *>(w->parentWidget() ? w->parentWidget()->parentWidget() : nullptr))
            tabs->setCurrentWidget(w);
    plot->replot();
    QTest::qWait(50);
    const int index = 20;
    const QPoint at(int(plot->xAxis->coordToPixel(index)),
                    int(plot->yAxis->coordToPixel(series("LineSeries18")->valueAt(index) / 2)));
    QTest::mousePress(plot, Qt::LeftButton, {}, at);
    EXPECT_TRUE(tones->readoutSelected());
    EXPECT_TRUE(onlyChild<BitsTonePage>(*form)->Panel35->text().startsWith(QStringLiteral("Tone number:   276")));
    // Dragged out of shape, held while dragging, and back after the release.
    onlyChild<ChartSet>(*form)->leftAxis(21).setLimitsInSafeOrder(-5, 8);
    EXPECT_EQ(0, onlyChild<ChartSet>(*form)->leftAxis(21).minimum());
    EXPECT_EQ(16, onlyChild<ChartSet>(*form)->leftAxis(21).maximum()); // a plain drag keeps the whole scale
    QTest::mouseRelease(plot, Qt::LeftButton, {}, at);
    EXPECT_FALSE(tones->readoutSelected());
    EXPECT_TRUE(onlyChild<BitsTonePage>(*form)->Panel35->isHidden());
    EXPECT_TRUE(tones->restoreTimer().isActive());
    onlyChild<ChartSet>(*form)->rightAxis(21).setLimitsInSafeOrder(10, 100);
    auto *reset = form->findChild<QAction *>(QStringLiteral("ResetGraphAxes1"));
    ASSERT_NE(nullptr, reset);
    onlyChild<ChartSet>(*form)->leftAxis(21).setLimitsInSafeOrder(2, 30);
    reset->trigger();
    EXPECT_EQ(0, onlyChild<ChartSet>(*form)->leftAxis(21).minimum());
    EXPECT_EQ(16, onlyChild<ChartSet>(*form)->leftAxis(21).maximum());
    EXPECT_EQ(0, onlyChild<ChartSet>(*form)->rightAxis(21).minimum());
    onlyChild<ChartSet>(*form)->rightAxis(21).setLimitsInSafeOrder(10, 100);
    tones->restoreAxes();
    EXPECT_EQ(-0.5, onlyChild<ChartSet>(*form)->rightAxis(21).minimum());
    EXPECT_EQ(64, onlyChild<ChartSet>(*form)->rightAxis(21).maximum());
    form->btnStop->click();
    EXPECT_FALSE(tones->restoreTimer().isActive() && form->btnStart->isChecked());
}

TEST_F(ToneWindowTest, TelnetResultsReachTheWindow)
{
    useAdslctlRouter();
    open(telnet("V123=0\nV4=1\n"), 5);
    auto tabText = [&](const char *top) {
        QWidget *page = form->PageControl1->findChild<QWidget *>(QLatin1String(top));
        auto *tabs = qobject_cast<QTabWidget *>(page->parentWidget()->parentWidget());
        return tabs->tabText(tabs->indexOf(page));
    };
    EXPECT_EQ(QStringLiteral("Rx  Totals"), tabText("Rx Interleaved"));
    EXPECT_TRUE(tabText("Rx Fast Path").startsWith(QStringLiteral("Rx CRC/ES/LOF ~ ")));
    auto *terminal = form->findChild<QPushButton *>(QStringLiteral("btnSNR"));
    ASSERT_NE(nullptr, terminal);
    EXPECT_FALSE(terminal->isEnabled());
    ASSERT_TRUE(runUntilTonesPlotted());
    EXPECT_TRUE(terminal->isEnabled());
    EXPECT_TRUE(testsupport::waitFor(
        [&] { return onlyChild<BitsTonePage>(*form)->Label35->text().contains(QStringLiteral("interleave")); }));
    // The bitswaps over time keep the same history as every other chart.
    EXPECT_EQ(series("LineSeries13")->historyCap(), series("Series14")->historyCap());
    EXPECT_EQ(series("LineSeries13")->historyCap(), series("BarSeries3")->historyCap());
    form->btnStop->click();
}

TEST_F(ToneWindowTest, SpeedTouchRunRefreshesItsChartsAndClosesItsSession)
{
    profile = QStringLiteral("st585");
    statusPath = "/cgi/b/dsl/dt/?ce=1&be=0&l0=1&l1=0";
    startSim();
    // The window logs in with the settings' user; the router expects the same.
    sim.telnet().user = QStringLiteral("admin");
    sim.telnet().password = QStringLiteral("quillfen");
    sim.execute(QStringLiteral("set linemode ADSL2+"));
    // Telnet is set too, as the demo's 585 settings do: the alarm's script still reaches the 585.
    const QString script = dir.filePath(QStringLiteral("stats.sh"));
    open("[Router]\nST585=1\nTelnet=1\ncbLogin=0\n[Telnet]\nTelnetIP=127.0.0.1\nTelnetPort=1\n[585Telnet]\n"
         "RefreshBits=1\nBitsEvery=30\nLowBits=0\nAllBits=1\nTelnetPort=" + QByteArray::number(sim.telnetPort())
             + "\n[Alarm]\ncbExternal=1\nScriptWait=1\nedExternal=" + script.toUtf8() + "\n[System]\nConfirmClose=0\n",
         5);
    BitloadingPage *page = onlyChild<BitloadingPage>(*form);
    ASSERT_NE(nullptr, page);
    form->btnStart->click();
    ChartSeries *bits = series("BarSeries1");
    ASSERT_TRUE(testsupport::waitFor([&] { return bits->count() > 0; }, 15000));
    EXPECT_EQ(513, bits->count());
    EXPECT_EQ(sim.state().tones().bits(300), bits->valueAt(300));
    EXPECT_EQ(1, series("BarSeries3")->count());
    EXPECT_TRUE(onlyChild<ThomsonSession>(*form)->ThomsonSessionUp());
    EXPECT_EQ(30000, onlyChild<BitLoadingRefresh>(*form)->timer().interval());
    EXPECT_TRUE(onlyChild<BitLoadingRefresh>(*form)->timer().isActive());
    EXPECT_TRUE(page->memo2585->toPlainText().startsWith(QStringLiteral("Noise Margin:  ")));
    EXPECT_TRUE(page->Label93->text().startsWith(QStringLiteral("Last refreshed: ")));
    EXPECT_FALSE(page->btn585Connect->isEnabled());
    EXPECT_EQ(QStringLiteral("0"), sim.telnet().sessionTimeout);
    // Refreshing: no chart page says it is paused; each sign sits over its own chart.
    const std::pair<QLabel *, int> paused[] = {{page->Label107, 26}, {page->Label108, 27}, {page->Label109, 28}};
    for (const auto &[sign, chart] : paused)
        EXPECT_TRUE(sign->isHidden()
                    && sign->parentWidget() == onlyChild<ChartSet>(*form)->chart(chart)->parentWidget()) << chart;

    // A change between refreshes: counted, and the most-swapped tone is shown.
    const auto &tones = sim.state().tones();
    sim.execute(QStringLiteral("tone 100 bits %1").arg(tones.bits(100) == 15 ? 3 : tones.bits(100) + 1));
    ASSERT_TRUE(testsupport::waitFor([&] { return !onlyChild<ThomsonSession>(*form)->isBusy(); }));
    page->btnThomsonRefreshClick();
    ASSERT_TRUE(testsupport::waitFor([&] { return series("BarSeries3")->count() == 2; }, 10000));
    EXPECT_EQ(1, series("BarSeries3")->lastValue());
    EXPECT_TRUE(page->MostBitswaps->text().startsWith(QStringLiteral("Tone number:   100")));
    EXPECT_TRUE(page->MostBitswaps->text().contains(QStringLiteral("Frequency:       431.25 KHz")));

    // A script's lines go over the same session, each after the prompt.
    ASSERT_TRUE(testsupport::waitFor([&] { return !onlyChild<ThomsonSession>(*form)->isBusy(); }));
    ASSERT_TRUE(onlyChild<TelnetScriptRunner>(*form)->sendCommands({QStringLiteral("env set var=SESSIONTIMEOUT value=7")}, false, true));
    ASSERT_TRUE(testsupport::waitFor([&] { return sim.telnet().sessionTimeout == QLatin1String("7"); }, 10000));
    ASSERT_TRUE(testsupport::waitFor([&] { return !onlyChild<TelnetScriptRunner>(*form)->isBusy(); }, 10000));
    // An alarm's script file: its lines show the router's reply in the 585 terminal pane.
    testsupport::writeAll(script, "# the line statistics\nadsl info expand=enabled\n");
    page->memo5->clear();
    ASSERT_TRUE(testsupport::waitFor([&] { return !onlyChild<ThomsonSession>(*form)->isBusy(); }));
    onlyChild<AlarmActions>(*form)->AlarmTriggered(QStringLiteral("NoiseHi"));
    EXPECT_TRUE(testsupport::waitFor(
        [&] { return page->memo5->toPlainText().contains(QStringLiteral("Uptime (days hh:mm:ss)")); }, 10000))
        << page->memo5->toPlainText().toStdString();
    ASSERT_TRUE(testsupport::waitFor([&] { return !onlyChild<TelnetScriptRunner>(*form)->isBusy(); }, 10000));

    // The reboot (the alarm's telnet reboot on this model) goes over the 585 session.
    ASSERT_TRUE(testsupport::waitFor([&] { return !onlyChild<ThomsonSession>(*form)->isBusy(); }));
    page->reboot();
    ASSERT_TRUE(testsupport::waitFor([&] { return sim.state().rebootCount() == 1; }, 10000));
    EXPECT_TRUE(page->memo5->toPlainText().contains(QStringLiteral("system reboot")));

    // Stop logs out quietly; the close restores the router's time-out first.
    form->btnStop->click();
    EXPECT_FALSE(onlyChild<ThomsonSession>(*form)->ThomsonSessionUp());
    EXPECT_FALSE(messages().contains(QStringLiteral("Stopped")));
    EXPECT_FALSE(onlyChild<BitLoadingRefresh>(*form)->timer().isActive());
    for (const auto &[sign, chart] : paused)
        EXPECT_FALSE(sign->isHidden() || page->Label106->isHidden()) << chart;
    page->btnThomsonRefreshClick();
    ASSERT_TRUE(testsupport::waitFor([&] { return onlyChild<ThomsonSession>(*form)->ThomsonSessionUp()
                                                  && !onlyChild<ThomsonSession>(*form)->isBusy(); }, 10000));
    form->close();
    EXPECT_TRUE(testsupport::waitFor([&] { return sim.telnet().sessionTimeout == QLatin1String("120"); }, 10000));
    EXPECT_TRUE(testsupport::waitFor([&] { return sim.telnetSessions() == 0; }, 10000));
}

// The SpeedTouch session's own options are kept in the settings; an emptied
// port goes back to 23.
TEST_F(ToneWindowTest, SpeedTouchSessionOptionsKeepTheirSettings)
{
    open("[Router]\nST585=1\ncbLogin=0\n[585Telnet]\nTelnetPort=2323\nWaitForRequests=1\nRestoreTimeout=0\n");
    BitloadingPage *page = onlyChild<BitloadingPage>(*form);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->ed585Port->text(), QStringLiteral("2323"));
    EXPECT_TRUE(page->cb585WaitForRequests->isChecked());
    EXPECT_FALSE(page->cbRestoreTimeout->isChecked());
    page->cbRestoreTimeout->click();
    EXPECT_TRUE(form->settings()._585Telnet.RestoreTimeout);
    page->ed585Port->clear();
    emit page->ed585Port->editingFinished();
    EXPECT_EQ(form->settings()._585Telnet.TelnetPort, QStringLiteral("23"));
}

namespace {
// Shows the page a widget sits on, through every level of tabs.
void showPageOf(QWidget *widget)
{
    for (QWidget *w = widget; w; w = w->parentWidget())
        if (auto *tabs = qobject_cast<QTabWidget *>(w->parentWidget() ? w->parentWidget()->parentWidget() : nullptr))
            tabs->setCurrentWidget(w);
}
} // namespace

// "Show vertical grid lines" draws Chart21's vertical grid and is kept in
// [Telnet] Grid; showing "Bitswaps / Time" follows the bit-loading box and
// gives the chart the page the settings make.
TEST_F(ToneWindowTest, VerticalGridAndTheBitswapsPage)
{
    struct Case {
        QByteArray ini;
        bool grid, bits;
        int page;
    };
    const Case cases[] = {
        {"[Telnet]\nGrid=1\nBitsGraph=1\nBitswapGraph=1\nRefreshBitsEvery=60\nUseSameSamples=0\n"
         "[System]\nSample=20\nPoints=250\n",
         true, true, 83},
        {"[Telnet]\nGrid=0\nBitsGraph=0\nBitswapGraph=1\nRefreshBitsEvery=60\nUseSameSamples=1\n"
         "[System]\nSample=20\nPoints=250\n",
         false, false, 250},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.ini.constData());
        open(c.ini);
        form->show();
        BitsTonePage *page = onlyChild<BitsTonePage>(*form);
        QCustomPlot *bits = onlyChild<ChartSet>(*form)->chart(21);
        EXPECT_EQ(page->cbVerticalGrid->isChecked(), c.grid);
        EXPECT_EQ(bits->xAxis->grid()->visible(), c.grid);
        page->cbVerticalGrid->click();
        EXPECT_EQ(bits->xAxis->grid()->visible(), !c.grid);
        EXPECT_EQ(form->settings().Telnet.Grid, !c.grid);

        QCustomPlot *swaps = onlyChild<ChartSet>(*form)->chart(22);
        swaps->xAxis->setRange(0, 10);
        showPageOf(swaps);
        EXPECT_EQ(page->cbBitswap->isEnabled(), c.bits);
        EXPECT_EQ(page->cbBitswap->isChecked(), c.bits);
        EXPECT_EQ(swaps->isEnabled(), c.bits);
        EXPECT_EQ(swaps->xAxis->range().upper - swaps->xAxis->range().lower, c.page);
        form.reset();
    }
}

// The bitswap histories (Chart22, the 585's Chart28) can be dragged back in time once a page is full;
// polling waits while the button is down, and comes back when the release goes to another tab or
// window. A Ctrl drag on a tone chart, even after a plain drag of a time chart, leaves the time charts be.
TEST_F(ToneWindowTest, BitswapHistoriesDragBackInTime)
{
    open("[System]\nPoints=250\n[Router]\nTelnet=1\nST585=1\n");
    form->show();
    ChartSet *set = onlyChild<ChartSet>(*form);
    auto fill = [set](int chart, int extra) {
        QCustomPlot *plot = set->chart(chart);
        const double span = plot->xAxis->range().size();
        const int count = int(span) + extra;
        for (int i = 0; i < count; ++i)
            set->seriesAt(chart, 0)->add(i % 7, QStringLiteral(" p"));
        plot->xAxis->setRange(count - span, count);
        plot->replot();
        showPageOf(plot);
        plot->setEnabled(true);
        return plot;
    };
    auto drag = [](QCustomPlot *plot, int dx, Qt::KeyboardModifiers mods) { // press, four moves, release
        for (int step = 0; step <= 5; ++step) {
            const auto type = step == 0 ? QEvent::MouseButtonPress : step == 5 ? QEvent::MouseButtonRelease : QEvent::MouseMove;
            const QPoint at = plot->axisRect()->center() + QPoint(dx * qMin(step, 4) / 4, 0);
            QMouseEvent e(type, QPointF(at), QPointF(plot->mapToGlobal(at)), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, mods);
            QApplication::sendEvent(plot, &e);
        }
    };
    fill(2, 150);
    drag(fill(1, 150), 120, Qt::NoModifier);
    const QCPRange pages[] = {set->chart(1)->xAxis->range(), set->chart(2)->xAxis->range()};
    ASSERT_NE(pages[0], pages[1]);
    for (int chart : {22, 28, 27, 29}) {
        SCOPED_TRACE(chart);
        QCustomPlot *plot = fill(chart, 40);
        const double lower = plot->xAxis->range().lower;
        form->btnStart->setChecked(true);
        form->Timer1->start(60000);
        drag(plot, 160, Qt::ControlModifier);
        EXPECT_TRUE(form->Timer1->isActive());
        EXPECT_EQ(set->chart(1)->xAxis->range(), pages[0]);
        EXPECT_EQ(set->chart(2)->xAxis->range(), pages[1]);
        if (chart == 22 || chart == 28) {
            EXPECT_LT(plot->xAxis->range().lower, lower - 1);
            for (bool otherTab : {true, false}) {
                QTest::mousePress(plot, Qt::LeftButton, Qt::NoModifier, plot->axisRect()->center());
                ASSERT_FALSE(form->Timer1->isActive());
                QEvent deactivate(QEvent::WindowDeactivate);
                otherTab ? form->PageControl1->setCurrentIndex(0) : void(QApplication::sendEvent(plot, &deactivate));
                EXPECT_TRUE(form->Timer1->isActive()) << (otherTab ? "another tab" : "another window");
                QTest::mouseRelease(plot, Qt::LeftButton); // QTest's own idea of the button
                showPageOf(plot);
            }
        }
        form->Timer1->stop();
        form->btnStart->setChecked(false);
    }
}

// Restored from the tray while monitoring a SpeedTouch 585: the bit-loading
// refresh that "Don't refresh when minimized" skipped runs at once.
TEST_F(ToneWindowTest, RestoringFromTheTrayCatchesUpTheSkippedSpeedTouchRefresh)
{
    profile = QStringLiteral("st585");
    startSim();
    for (bool skipped : {true, false}) {
        SCOPED_TRACE(skipped);
        open("[Router]\nST585=1\nV1234=0\n[585Telnet]\nRefreshBits=1\nTelnetPort=" + QByteArray::number(sim.telnetPort())
             + "\nRefresh=" + (skipped ? "1" : "0") + "\n");
        form->show();
        form->hide();
        form->btnStart->setChecked(true);
        sim.journal().clear();
        form->TrayIcon->RestoreVeltrano1->trigger();
        EXPECT_TRUE(form->isVisible());
        const bool connected = testsupport::waitFor(
            [&] { return !sim.journal().lines().filter(QStringLiteral("\ttelnet\tconnect")).isEmpty(); }, skipped ? 5000 : 500);
        EXPECT_EQ(connected, skipped);
        form->btnStart->setChecked(false);
        form.reset();
    }
}

// The SpeedTouch 585 summary: each pane under its caption; "Swap" changes
// their places and keeps the order; moving the splitter greys the caption of
// a pane squeezed towards the left.
TEST_F(ToneWindowTest, SpeedTouchSummaryPanesSwapAndTheirCaptions)
{
    struct Case {
        bool downFirst;
        int pos;
        bool downCaption, upCaption;
    };
    const Case cases[] = {
        {false, 300, true, true}, {false, 200, false, true}, {false, 80, false, false},
        {true, 200, true, false}, {true, 300, true, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.downFirst << " " << c.pos);
        open(QByteArray("[Router]\nST585=1\nV1234=0\n[585Telnet]\nDownFirst=") + (c.downFirst ? "1" : "0") + "\n");
        BitloadingPage *page = onlyChild<BitloadingPage>(*form);
        EXPECT_EQ(page->Label23->text(), QStringLiteral("Downstream (Rx) "));
        EXPECT_EQ(page->Label24->text(), QStringLiteral("Upstream (Tx) "));
        auto downIndex = [&] { return page->Splitter1->indexOf(page->memo2585->parentWidget()); };
        EXPECT_EQ(downIndex(), c.downFirst ? 0 : 1);
        emit page->Splitter1->splitterMoved(c.pos, 1);
        EXPECT_EQ(page->Label23->isEnabled(), c.downCaption);
        EXPECT_EQ(page->Label24->isEnabled(), c.upCaption);
        page->btnSwap->click();
        EXPECT_EQ(downIndex(), c.downFirst ? 1 : 0);
        EXPECT_EQ(form->settings()._585Telnet.DownFirst, !c.downFirst);
        form.reset();
    }
}

// "Show attenuation curve" is offered only to the adslctl family, the one
// whose routers report the attenuation per tone.
TEST_F(ToneWindowTest, AttenuationCurveIsOfferedToTheAdslctlFamilyOnly)
{
    const std::pair<QByteArray, bool> cases[] = {{"V123=0\nV4=1\n", true}, {"V123=1\nV4=0\n", false}};
    for (const auto &[family, offered] : cases) {
        SCOPED_TRACE(family.constData());
        open(telnet(family));
        EXPECT_EQ(onlyChild<BitsTonePage>(*form)->cbShowAttenuation->isEnabled(), offered);
        form.reset();
    }
}

// The strip above the tone charts at the default window size, after a run has filled it: every
// caption reads whole, the longest each family writes included, with the read-out beside them.
TEST_F(ToneWindowTest, BitsToneHeaderReadsWholeAtTheDefaultSize)
{
    struct Case {
        const char *profile, *family, *down, *up; // the longest interleaving texts of the family
    } const cases[] = {
        {"v1234", "V123=1\n", "Down : Interleaving OFF", "Up       : Interleaving OFF"},
        {"other", "V123=0\nV4=1\nShowAttenuation=1\nrbSNR=0\nrbSNRMargin=1\n", "Downstream interleave: OFF",
         "Upstream interleave: OFF"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.profile);
        form.reset();
        if (qstrcmp(c.profile, "other") == 0)
            useAdslctlRouter();
        open(telnet(c.family), 5);
        auto *page = onlyChild<BitsTonePage>(*form);
        ASSERT_TRUE(runUntilTonesPlotted());
        ASSERT_TRUE(testsupport::waitFor([&] { return !page->Label35->text().isEmpty(); }, 10000));
        testsupport::bringForward(page->header());
        form->show();
        const auto cut = [&] { QApplication::processEvents(); return testsupport::crushedControls(page->header()); };
        ASSERT_TRUE(page->Label61->isVisible());
        EXPECT_EQ(cut(), QStringList()) << form->width() << " x " << form->height();
        page->Label35->setText(QLatin1String(c.down));
        page->Label99->setText(QLatin1String(c.up));
        EXPECT_EQ(cut(), QStringList()) << "longest texts";
        // The read-out as the mouse over a tone fills it.
        page->Panel35->setText(QStringLiteral("Tone number:   255\nFrequency:       1099.6875 KHz\nSNR Margin:      12.5 dB\n"
                                              "Bits:                  15\nBitswaps:         3\nAttenuation:      45.5 dB"));
        page->Panel35->show();
        EXPECT_EQ(cut(), QStringList()) << "with the read-out";
        form->btnStop->click();
    }
}

// The strip above the tone charts keeps its height, the charts take the rest, and "Options" scrolls to bitswaps only when short.
TEST_F(ToneWindowTest, ToneChartsTakeTheRoomOfALargerWindow)
{
    const struct { int width, height; bool roomForBitswaps; } cases[] = {{760, 519, false}, {1400, 900, true}};
    open(telnet("V123=1\n"));
    auto *page = onlyChild<BitsTonePage>(*form);
    QWidget *strip = page->header();
    auto *toneTabs = strip->parentWidget()->findChild<QTabWidget *>(QString(), Qt::FindDirectChildrenOnly);
    auto *options = form->findChild<QScrollArea *>(QStringLiteral("TabSheetBitsOptionsScroll"));
    ASSERT_TRUE(toneTabs && options);
    form->show();
    const int stripHeight = strip->sizeHint().height();
    const auto bitswapShown = [&] { return page->cbBitswap->visibleRegion().boundingRect() == page->cbBitswap->rect(); };
    int smallTabsHeight = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.height);
        form->resize(c.width, c.height);
        testsupport::bringForward(strip);
        QApplication::processEvents();
        ASSERT_EQ(QSize(c.width, c.height), form->size());
        EXPECT_EQ(stripHeight, strip->height());
        EXPECT_LE(toneTabs->y() - (strip->y() + stripHeight), 12) << "band above the charts' tabs";
        if (&c == cases) smallTabsHeight = toneTabs->height();
        EXPECT_GE(toneTabs->height() - smallTabsHeight, c.height - cases[0].height - 8) << "extra height not given to the charts";
        toneTabs->setCurrentWidget(options);
        options->verticalScrollBar()->setValue(0);
        QApplication::processEvents();
        EXPECT_TRUE(!c.roomForBitswaps || bitswapShown()) << "scrolled out of view";
        options->ensureWidgetVisible(page->cbBitswap);
        QApplication::processEvents();
        EXPECT_TRUE(bitswapShown());
    }
}
