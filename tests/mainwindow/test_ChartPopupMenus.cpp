// The charts' right-click menus in the main window, and the controls on the
// chart pages: statistics and units, the IP profile, which items show where,
// the switch items writing their settings, the timeline items, the plot
// boxes, the pins, the ping tab's controls and which chart is on top.
#include "TestSupport.h"
#include "acquisition/PingRunner.h"
#include "configuration/TForm14.h"
#include "charts/AxisScaling.h"
#include "charts/ChartInteraction.h"
#include "charts/ChartPageControls.h"
#include "chartimages/ChartPopupMenus.h"
#include "charts/ChartSet.h"
#include "pages/PingControls.h"
#include "charts/PlottingStep.h"
#include "mainwindow/TForm1.h"
#include "OnlyChild.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <qcustomplot.h>

using testsupport::onlyChild;

namespace {

struct ChartMenusTest : ::testing::Test {
    QTemporaryDir dir;
    QString ini = dir.filePath(QStringLiteral("veltrano.ini"));
    std::unique_ptr<TForm1> form;

    void SetUp() override
    {
        testsupport::writeAll(ini, "[WebServer]\nLocalHost=127.0.0.1\nPort=0\n[Ping]\nPingHost=127.0.0.1\n"
                                   "ShowPing=1\n[System]\nAutoStart=0\n");
        qputenv("VELTRANO_INI", ini.toUtf8());
        form = std::make_unique<TForm1>(true);
    }

    void TearDown() override
    {
        form.reset();
        qunsetenv("VELTRANO_INI");
        testsupport::discardMessageBoxes();
    }

    TSettings &s() { return form->settings(); }
    ChartPopupMenus &menus() { return *onlyChild<ChartPopupMenus>(*form); }
    ChartSet &charts() { return *onlyChild<ChartSet>(*form); }

    QAction *item(int chart, const char *name)
    {
        QMenu *m = menus().prepare(chart);
        EXPECT_NE(m, nullptr);
        QAction *a = menus().action(m->objectName(), QLatin1String(name));
        EXPECT_NE(a, nullptr) << name;
        return a;
    }
    QString text(int chart, const char *name) { return item(chart, name)->text(); }
    void click(int chart, const char *name) { item(chart, name)->trigger(); }
};

} // namespace

TEST_F(ChartMenusTest, EveryChartOpensItsOwnMenuWithItsItems)
{
    const std::pair<int, std::vector<const char *>> cases[] = {
        {1, {"mnuMax", "mnuMin", "mnuAvg", "mnuRunAvg", "mnuShowSync", "mnuSwapPlots", "mnuRaw", "mnuDiff",
             "mnuShowGaps", "mnuprofile", "mnuHTTPAdjustAuto", "mnuAutoRestoreHTTP", "mnuHTTPDefaul", "mnuExpand",
             "mnuRestore", "mnuLog", "mnuHTTPWeb", "mnuSchedCapture", "mnuCaptureNow", "mnuSaveAs", "mnuCopy", "mnuPrint",
             "mnuPrinterSetup"}},
        {16, {"mnuTelMax", "mnuTelMin", "mnuTelAvg", "mnuTelRunAvg", "mnuTelnetShowSync", "mnuTelnetSwapPlots",
              "GraphMinimum1", "mnuShowIncremental", "mnuSetMinimum", "mnuLogInc", "mnuResetDailyAt", "ChangeTime1",
              "mnuLastReset", "mnuAdjustAuto", "mnuAutoRestoreTelnet", "Resetverticalaxisdefaultvalues1",
              "mnuExpand", "mnuRestore", "mnuAddToLog", "mnuTelnetWeb", "mnuTelnetProfile"}},
        {25, {"mnuPingCaptureNow", "mnuPingCapture", "mnuLogPing", "mnuMakeAvailToWeb"}},
        {21, {"Refresh2", "CaptureNow1", "Capture1", "mnuBitSwapBefore", "mnuBitswapAfter", "mnuLogBitSwap"}},
        {22, {"mnuBitswapCapture", "mnuBitSwapCaptureNow", "mnuSwapBitswapPlots", "Expandtimeline1",
              "Restoretimeline1"}},
        {29, {"mnuSepCapNow", "mnuSepBitswapCapture"}},
        {26, {"Capturenow2", "Capture2"}},
        {28, {"mnuThomsonBitSwapCap", "mnuWebServer585", "mnuThomsonBitswapCapNow"}},
    };
    for (const auto &[chart, names] : cases) {
        QMenu *m = menus().prepare(chart);
        ASSERT_NE(m, nullptr) << chart;
        EXPECT_EQ(m->objectName(), QLatin1String(ChartTable::find(chart)->popup));
        for (const char *name : names)
            EXPECT_NE(menus().action(m->objectName(), QLatin1String(name)), nullptr) << chart << " " << name;
    }
    // Every chart asks for its menu on right click and can be reached from the keyboard.
    for (const ChartDef &def : ChartTable::charts()) {
        QCustomPlot *p = charts().chart(def.number);
        EXPECT_EQ(p->contextMenuPolicy(), Qt::CustomContextMenu) << def.number;
        EXPECT_TRUE(p->focusPolicy() & Qt::TabFocus) << def.number;
        EXPECT_FALSE(p->accessibleName().isEmpty()) << def.number;
    }
}

TEST_F(ChartMenusTest, ContextMenuKeyOpensTheChartsMenu)
{
    QCustomPlot *p = charts().chart(19);
    p->resize(400, 200);
    QContextMenuEvent e(QContextMenuEvent::Keyboard, QPoint(10, 10), p->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(p, &e);
    QMenu *m = menus().menu(QStringLiteral("ChartPopup"));
    ASSERT_TRUE(testsupport::waitFor([&] { return m->isVisible(); }, 2000));
    EXPECT_EQ(menus().currentChart(), 19);
    m->close();
}

TEST_F(ChartMenusTest, CommandItemsWithoutAHandlerShowDisabled)
{
    EXPECT_TRUE(item(1, "mnuCopy")->isEnabled()) << "the window serves the copy command";
    menus().setCommandHandler(ChartCommand::CopyToClipboard, {});
    EXPECT_FALSE(item(1, "mnuCopy")->isEnabled());
    EXPECT_TRUE(item(23, "ChangeTime1")->isEnabled());
    int copied = 0;
    menus().setCommandHandler(ChartCommand::CopyToClipboard, [&](int chart) { copied = chart; });
    QAction *copy = item(18, "mnuCopy");
    EXPECT_TRUE(copy->isEnabled());
    copy->trigger();
    EXPECT_EQ(copied, 18); // acts on the chart it was opened on
    EXPECT_TRUE(item(1, "mnuLog")->isEnabled());
}

TEST_F(ChartMenusTest, StatisticsWithTheChartsUnitsAndDecimals)
{
    for (double v : {12.5, 10.0, 11.1})
        charts().series(QStringLiteral("Series1"))->add(v);
    for (double v : {8128.0, 7616.4})
        charts().series(QStringLiteral("Series2"))->add(v);
    charts().series(QStringLiteral("LineSeries13"))->add(6.25);
    charts().series(QStringLiteral("LineSeries2"))->add(1234.6);
    EXPECT_EQ(text(1, "mnuMax"), QStringLiteral("Max. value: 12.5 dB"));
    EXPECT_EQ(text(1, "mnuAvg"), QStringLiteral("Avg. value: 11.2 dB"));
    EXPECT_EQ(text(2, "mnuMax"), QStringLiteral("Max. value: 8,128 Kbps"));
    EXPECT_EQ(text(2, "mnuMin"), QStringLiteral("Min. value: 7,616 Kbps"));
    s().Graph.Scale1000 = true;
    EXPECT_EQ(text(2, "mnuMax"), QStringLiteral("Max. value: 8,128 bps"));
    EXPECT_EQ(text(18, "mnuMax"), QStringLiteral("Max. value: "));
    EXPECT_EQ(text(16, "mnuTelMax"), QStringLiteral("Max. value: 6.3")); // one decimal, no unit
    EXPECT_EQ(text(5, "mnuTelMax"), QStringLiteral("Max. value: 1,235")); // counters: none
    EXPECT_EQ(text(1, "mnuRunAvg"), QStringLiteral("Last 100 samples Avg: [not available]"));
}

TEST_F(ChartMenusTest, SwappedChartStillDescribesItsFigure)
{
    s().Graph.User1Avg = true;
    charts().series(QStringLiteral("Series3"))->add(40);
    charts().series(QStringLiteral("Series7"))->add(99);
    QAction *swap = item(3, "mnuSwapPlots");
    EXPECT_TRUE(swap->isVisible());
    swap->trigger();
    EXPECT_TRUE(s().Graph.SwapUser1);
    EXPECT_TRUE(charts().isSwapped(3));
    EXPECT_EQ(text(3, "mnuMax"), QStringLiteral("Max. value: 40.0"));
    EXPECT_TRUE(item(3, "mnuSwapPlots")->isChecked());
    s().Graph.User1Avg = false;
    EXPECT_FALSE(item(3, "mnuSwapPlots")->isVisible());
}

// The bitswaps-over-time chart's menu swaps its bars, ticked, kept in the settings.
TEST_F(ChartMenusTest, BitswapChartMenuSwapsItsBars)
{
    for (const bool swapped : {true, false}) {
        EXPECT_EQ(item(22, "mnuSwapBitswapPlots")->isChecked(), !swapped);
        click(22, "mnuSwapBitswapPlots");
        EXPECT_EQ(s().Telnet.SwapBitswapPlots, swapped);
        EXPECT_EQ(charts().isSwapped(22), swapped);
    }
}

TEST_F(ChartMenusTest, ExpectedIpProfileOnlyWhileMonitoringOverPpp)
{
    form->runState().Figures.RxSync = 288.9f;
    form->btnStart->setChecked(true);
    auto &tf = const_cast<TelnetFigures &>(form->telnetFigures());
    tf.BytesInterfaceFound = true;
    EXPECT_EQ(text(2, "mnuprofile"), QStringLiteral("Expected IP profile: 250 Kbps"));
    EXPECT_TRUE(item(2, "mnuprofile")->isEnabled());
    form->runState().Figures.RxSync = 270;
    EXPECT_EQ(text(2, "mnuprofile"), QStringLiteral("Expected IP profile:"));
    form->runState().Figures.RxSync = 8128;
    form->btnStop->setChecked(true);
    EXPECT_EQ(text(2, "mnuprofile"), QStringLiteral("Expected IP profile:"));
    form->btnStart->setChecked(true);
    tf.BytesInterfaceFound = false;
    EXPECT_EQ(text(2, "mnuprofile"), QStringLiteral("Expected IP profile:"));
    EXPECT_FALSE(item(2, "mnuprofile")->isEnabled());

    // The telnet sync chart reads the latest kept sync, not the parse's cleared one.
    tf.BytesInterfaceFound = true;
    tf.TelnetSyncNow = 0;
    tf.TelnetRxSync = 8128;
    EXPECT_EQ(text(17, "mnuTelnetProfile"), QStringLiteral("Expected IP profile: 7,150 Kbps"));
}

TEST_F(ChartMenusTest, ItemsShowOnlyOnTheirCharts)
{
    s().Graph.RxNoiseAvg = true;
    const struct {
        const char *item;
        std::vector<int> shownOn;
        std::vector<int> hiddenOn;
    } cases[] = {
        {"mnuShowSync", {1}, {2, 3, 18, 19, 20}},
        {"mnuprofile", {2}, {1, 3, 18, 19, 20}},
        {"mnuRaw", {3, 19}, {1, 2, 18, 20}},
        {"mnuTelnetShowSync", {16}, {17, 5, 23}},
        {"mnuTelnetSwapPlots", {16}, {17, 23}},
        {"GraphMinimum1", {23, 24}, {16, 17, 5, 30}},
        {"mnuTelnetProfile", {17}, {16, 23}},
    };
    for (const auto &c : cases) {
        for (int chart : c.shownOn)
            EXPECT_TRUE(item(chart, c.item)->isVisible()) << c.item << " on " << chart;
        for (int chart : c.hiddenOn)
            EXPECT_FALSE(item(chart, c.item)->isVisible()) << c.item << " on " << chart;
    }
}

TEST_F(ChartMenusTest, SwitchItemsWriteTheirSettings)
{
    const struct {
        const char *name;
        int chart;
        const char *item;
        std::function<bool(TSettings &)> setting;
    } cases[] = {
        {"web, status-page chart", 2, "mnuHTTPWeb", [](TSettings &t) { return t.Capture.HTTPWeb.at(1) == '1'; }},
        {"web, telnet chart", 7, "mnuTelnetWeb", [](TSettings &t) { return t.Telnet.TelnetWeb.at(4) == '1'; }},
        {"auto adjust, Tx noise", 18, "mnuHTTPAdjustAuto", [](TSettings &t) { return bool(t.Graph.TxNoiseAuto); }},
        {"auto adjust, telnet", 5, "mnuAdjustAuto", [](TSettings &t) { return t.Telnet.TelnetAuto.at(2) == '1'; }},
        {"match, status-page", 19, "mnuAutoRestoreHTTP",
         [](TSettings &t) { return t.Graph.AutoRestoreHTTP.at(5) == '1'; }},
        {"match, telnet", 31, "mnuAutoRestoreTelnet",
         [](TSettings &t) { return t.Graph.AutoRestoreTelnet.at(17) == '1'; }},
        {"gaps", 1, "mnuShowGaps", [](TSettings &t) { return bool(t.Graph.ShowGaps); }},
        {"overlay", 1, "mnuShowSync", [](TSettings &t) { return bool(t.Graph.ShowSync); }},
        {"telnet overlay", 16, "mnuTelnetShowSync", [](TSettings &t) { return bool(t.Graph.TelnetShowSync); }},
        {"log, status-page", 20, "mnuLog", [](TSettings &t) { return t.Log.Log.at(4) == '1'; }},
        {"log, counter", 6, "mnuAddToLog", [](TSettings &t) { return t.LogTelnetFlags[3]; }},
        {"log, ping", 25, "mnuLogPing", [](TSettings &t) { return bool(t.Ping.LogPing); }},
        {"web, ping", 25, "mnuMakeAvailToWeb", [](TSettings &t) { return bool(t.Ping.Web); }},
        {"log increment, Tx bytes", 24, "mnuLogInc", [](TSettings &t) { return bool(t.Log.TxTotalInc); }},
        {"daily reset", 23, "mnuResetDailyAt", [](TSettings &t) { return bool(t.Telnet.ResetDailyAt); }},
        {"SpeedTouch bitswap web", 28, "mnuWebServer585",
         [](TSettings &t) { return bool(t._585Telnet.WebServerTime585); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const bool before = c.setting(s());
        EXPECT_EQ(item(c.chart, c.item)->isChecked(), before);
        click(c.chart, c.item);
        EXPECT_EQ(c.setting(s()), !before);
        EXPECT_EQ(item(c.chart, c.item)->isChecked(), !before); // the next popup reflects it
        click(c.chart, c.item);
        EXPECT_EQ(c.setting(s()), before);
    }
}

TEST_F(ChartMenusTest, SwitchItemsBringTheChartsInLine)
{
    QCustomPlot *c1 = charts().chart(1);
    s().Graph.ShowSync = false;
    click(1, "mnuShowSync");
    EXPECT_TRUE(c1->yAxis2->visible());
    EXPECT_TRUE(charts().series(QStringLiteral("Series9"))->isVisible());
    EXPECT_DOUBLE_EQ(charts().rightAxis(1).maximum(), s().Graph.SyncMax);
    c1->yAxis->grid()->setVisible(false);
    click(1, "mnuShowSync");
    EXPECT_FALSE(c1->yAxis2->visible());
    EXPECT_TRUE(c1->yAxis->grid()->visible());

    s().Graph.ShowGaps = true;
    click(2, "mnuShowGaps");
    EXPECT_FALSE(charts().series(QStringLiteral("Series24"))->isVisible());

    s().Graph.UserLabel = QStringLiteral("Errors");
    click(3, "mnuDiff");
    EXPECT_TRUE(s().Graph.DiffUserDef);
    EXPECT_FALSE(s().Graph.RawUserDef);
    EXPECT_EQ(charts().chart(3)->yAxis->label(), QStringLiteral("Errors (per sample)"));
    s().Graph.ScaleUser1 = 10;
    click(3, "mnuRaw");
    EXPECT_TRUE(s().Graph.RawUserDef);
    EXPECT_EQ(charts().chart(3)->yAxis->label(), QStringLiteral("Errors x10"));

    s().Telnet.RxShowIncremental = true;
    click(23, "mnuShowIncremental");
    EXPECT_FALSE(s().Telnet.RxShowIncremental);
    EXPECT_FALSE(charts().series(QStringLiteral("Series17"))->isVisible());
    EXPECT_TRUE(charts().chart(23)->yAxis->grid()->visible());
    EXPECT_FALSE(charts().chart(23)->yAxis2->grid()->visible());

    charts().leftAxis(18).setLimitsInSafeOrder(40, 90);
    click(18, "mnuHTTPDefaul");
    EXPECT_DOUBLE_EQ(charts().leftAxis(18).minimum(), 0);
    EXPECT_DOUBLE_EQ(charts().leftAxis(18).maximum(), 10);
}

TEST_F(ChartMenusTest, MatchItemEnabledOnlyWithAutoAdjust)
{
    s().Graph.RxNoiseAuto = false;
    s().Graph.AutoRestoreHTTP = QStringLiteral("11111111");
    EXPECT_FALSE(item(1, "mnuAutoRestoreHTTP")->isEnabled());
    EXPECT_FALSE(item(1, "mnuAutoRestoreHTTP")->isChecked());
    s().Graph.RxNoiseAuto = true;
    EXPECT_TRUE(item(1, "mnuAutoRestoreHTTP")->isEnabled());
    EXPECT_TRUE(item(1, "mnuAutoRestoreHTTP")->isChecked());
    // Log and capture need the chart's box.
    s().Graph.cbHNoise = false;
    EXPECT_FALSE(item(1, "mnuLog")->isEnabled());
}

TEST_F(ChartMenusTest, IncrementalCountItems)
{
    auto &tf = const_cast<TelnetFigures &>(form->telnetFigures());
    tf.RxBytesTotal = 1500.25;
    tf.TxBytesTotal = 80;
    tf.RxBytesBase = 1234.5;
    tf.RxBytesBaseDate = QStringLiteral("06 Dec 26  08:47:39");
    s().Telnet.RxShowIncremental = true;
    s().Telnet.ResetIncAt = QStringLiteral("03:00");
    EXPECT_EQ(text(23, "mnuLastReset"), QStringLiteral("Last Reset: 06 Dec 26  08:47:39 at 1,234.500 MiB"));
    EXPECT_EQ(text(23, "mnuResetDailyAt"), QStringLiteral("Reset To Current Value, Daily At 03:00"));
    EXPECT_FALSE(item(23, "mnuSetMinimum")->isEnabled()); // not monitoring
    form->btnStart->setChecked(true);
    EXPECT_TRUE(item(23, "mnuSetMinimum")->isEnabled());
    charts().rightAxis(24).setLimitsInSafeOrder(500, 900);
    click(23, "mnuSetMinimum");
    // Both directions are re-based, whichever chart the menu was opened on.
    EXPECT_DOUBLE_EQ(tf.RxBytesBase, 1500.25);
    EXPECT_DOUBLE_EQ(tf.TxBytesBase, 80);
    EXPECT_DOUBLE_EQ(charts().rightAxis(24).minimum(), -0.1);
    EXPECT_DOUBLE_EQ(charts().rightAxis(24).maximum(), 10);
    s().Telnet.RxShowIncremental = false;
    EXPECT_FALSE(item(23, "mnuSetMinimum")->isEnabled());
    EXPECT_FALSE(item(23, "mnuLogInc")->isEnabled());

    // "Change Time..." opens the reset-time dialog without waiting on it.
    click(24, "ChangeTime1");
    TForm14 *dialog = form->findChild<TForm14 *>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    dialog->close();
}

TEST_F(ChartMenusTest, TimelineItemsAndCaptions)
{
    s().System.Sample = 20;
    s().System.Points = 250;
    EXPECT_EQ(text(1, "mnuRestore"), QStringLiteral("Restore Timeline (1 hr : 23 min per page)"));
    EXPECT_FALSE(item(1, "mnuRestore")->isEnabled());
    click(1, "mnuExpand");
    click(16, "mnuExpand");
    click(22, "Expandtimeline1");
    EXPECT_EQ(onlyChild<ChartInteraction>(*form)->timelineExpandFactor(), 8);
    EXPECT_EQ(form->Panel30->text(), QStringLiteral("x8"));
    EXPECT_TRUE(item(16, "mnuRestore")->isEnabled());
    for (int i = 0; i < 4; ++i)
        click(1, "mnuExpand");
    EXPECT_FALSE(item(1, "mnuExpand")->isEnabled());
    EXPECT_FALSE(item(22, "Expandtimeline1")->isEnabled());
    click(22, "Restoretimeline1");
    EXPECT_EQ(onlyChild<ChartInteraction>(*form)->timelineExpandFactor(), 1);
    EXPECT_TRUE(form->Panel30->isHidden());
}

TEST_F(ChartMenusTest, CaptureCaptionsInTheMenus)
{
    s().Capture.IsJPG = false;
    s().Capture.IsPNG = true;
    s().Capture.Never = false;
    s().Capture.AllTheTime = true;
    EXPECT_EQ(text(1, "mnuCaptureNow"), QStringLiteral("Capture Now  [png]"));
    EXPECT_EQ(text(5, "mnuTelCaptureNow"), QStringLiteral("Capture Now [png]"));
    EXPECT_EQ(text(25, "mnuPingCaptureNow"), QStringLiteral("Capture Now [png]"));
    EXPECT_EQ(text(1, "mnuSchedCapture"), QStringLiteral("Scheduled Capture [Always]"));
    EXPECT_EQ(text(29, "mnuSepBitswapCapture"), QStringLiteral("Scheduled Capture [Always]"));
    s().Capture.Never = true;
    EXPECT_EQ(text(25, "mnuPingCapture"), QStringLiteral("Capture (No schedule configured)"));
    EXPECT_EQ(text(17, "mnuTelnetSchedCapture"), QStringLiteral("Capture [No schedule configured]"));
    // The SpeedTouch bits chart keeps its designed caption.
    EXPECT_EQ(text(26, "Capturenow2"), QStringLiteral("Capture Now"));
}

TEST_F(ChartMenusTest, PlotBoxClearedStopsPointsAndIsSaved)
{
    QCheckBox *box = onlyChild<ChartPageControls>(*form)->box(1);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->objectName(), QStringLiteral("cbHNoise"));
    EXPECT_TRUE(box->isChecked());
    box->click();
    EXPECT_FALSE(s().Graph.cbHNoise);
    // The next poll adds nothing to the chart, and its sign stays down.
    form->runState().Figures.RxNoise = 99;
    form->plotting()->plotHttp(s().Graph.NoiseColour, QStringLiteral(" 08:00:00 "));
    EXPECT_EQ(charts().series(QStringLiteral("Series1"))->count(), 0);
    EXPECT_EQ(charts().series(QStringLiteral("LineSeries15"))->count(), 1);
    EXPECT_FALSE(onlyChild<ChartInteraction>(*form)->indicatorStates().value(QStringLiteral("Image136")));
    for (int chart : {18, 16, 5, 23, 30, 25}) {
        QCheckBox *b = onlyChild<ChartPageControls>(*form)->box(chart);
        ASSERT_NE(b, nullptr) << chart;
        EXPECT_EQ(b->isChecked(), *ChartPageControls::boxSetting(s(), chart)) << chart;
        EXPECT_FALSE(b->accessibleName().isEmpty());
    }
    ASSERT_TRUE(form->SaveIni());
    const QByteArray file = testsupport::readAll(ini);
    EXPECT_TRUE(file.contains("cbHNoise=0")) << file.left(400).constData();
}

TEST_F(ChartMenusTest, PinsKeepTheUserChartsMinimum)
{
    QPushButton *pin = onlyChild<ChartPageControls>(*form)->btnUser1Pin;
    ASSERT_NE(pin, nullptr);
    EXPECT_FALSE(pin->isChecked());
    pin->click();
    EXPECT_TRUE(s().Graph.User1Pin);
    EXPECT_EQ(charts().chart(3)->axisRect()->rangeDrag(), Qt::Horizontal);
    charts().leftAxis(3).setLimitsInSafeOrder(0, 10);
    s().Graph.UserAuto = true;
    AxisScaling scaling(charts(), s());
    scaling.AdjustYAxis(3, QString(), 20);
    EXPECT_DOUBLE_EQ(charts().leftAxis(3).minimum(), 0);
    pin->click();
    EXPECT_FALSE(s().Graph.User1Pin);
    EXPECT_EQ(charts().chart(3)->axisRect()->rangeDrag(), Qt::Horizontal | Qt::Vertical);
    EXPECT_FALSE(onlyChild<ChartPageControls>(*form)->btnUser2Pin->isChecked());
}

TEST_F(ChartMenusTest, TabGoesFromTheBoxAndPinToTheChart)
{
    form->show();
    form->activateWindow();
    QTabWidget *main = form->PageControl1;
    for (int i = 0; i < main->count(); ++i)
        if (main->widget(i)->objectName() == QLatin1String("User-Defined"))
            main->setCurrentIndex(i);
    QCheckBox *box = onlyChild<ChartPageControls>(*form)->box(3);
    box->setFocus();
    ASSERT_TRUE(testsupport::waitFor([&] { return box->hasFocus(); }, 2000));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), onlyChild<ChartPageControls>(*form)->btnUser1Pin);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), charts().chart(3));
}

TEST_F(ChartMenusTest, PingControlsChangeTheNextPing)
{
    PingControls *pc = onlyChild<PingControls>(*form);
    ASSERT_NE(pc, nullptr);
    pc->spPingNum->setFocus();
    pc->spPingNum->selectAll();
    QTest::keyClicks(pc->spPingNum, QStringLiteral("5"));
    EXPECT_EQ(pc->spPingNum->value(), 3);
    EXPECT_EQ(s().Ping.PingNum, 3);
    pc->spPingNum->setValue(0);
    EXPECT_EQ(s().Ping.PingNum, 1);
    pc->spPingNum->setValue(2);

    // The next ping is built from what the controls show.
    onlyChild<PingRunner>(*form)->setProgram(QStringLiteral("/bin/echo"));
    onlyChild<PingRunner>(*form)->PingNow(s());
    ASSERT_TRUE(testsupport::waitFor([&] { return !onlyChild<PingRunner>(*form)->busy(); }));
    EXPECT_TRUE(pc->Memo6->toPlainText().contains(QStringLiteral("-c 2"))) << pc->Memo6->toPlainText().toStdString();

    pc->cbFilled->click();
    EXPECT_TRUE(s().Ping.Filled);
    EXPECT_TRUE(charts().series(QStringLiteral("Series20"))->isVisible());
    EXPECT_FALSE(charts().series(QStringLiteral("Series19"))->isVisible());
    pc->spPingMax->setValue(400);
    EXPECT_DOUBLE_EQ(charts().leftAxis(25).maximum(), 400);
    EXPECT_EQ(s().Ping.Max, 400);
    pc->cbShowData->click();
    EXPECT_TRUE(s().Ping.ShowData);
    EXPECT_FALSE(pc->Memo6->isHidden());
    pc->cbShowData->click();
    EXPECT_TRUE(pc->Memo6->isHidden());
}

TEST_F(ChartMenusTest, PingBoxEnablesTheFailureAlarmControls)
{
    PingControls *pc = onlyChild<PingControls>(*form);
    QCheckBox *cbPing = onlyChild<ChartPageControls>(*form)->box(25);
    ASSERT_NE(cbPing, nullptr);
    EXPECT_EQ(cbPing->objectName(), QStringLiteral("cbPing"));
    cbPing->setChecked(false);
    form->cbPingClick(false);
    EXPECT_FALSE(pc->cbPingFail->isEnabled());
    cbPing->click();
    EXPECT_TRUE(s().Ping.Ping);
    EXPECT_TRUE(pc->cbPingFail->isEnabled());
    EXPECT_TRUE(pc->spPingFail->isEnabled());
    EXPECT_TRUE(pc->Label95->isEnabled());
    s().Ping.ShowPing = false;
    form->cbPingClick(true);
    EXPECT_FALSE(pc->spPingFail->isEnabled());
}

TEST_F(ChartMenusTest, TopChartFollowsTheShowingTabs)
{
    QTabWidget *main = form->PageControl1;
    auto pageNamed = [](QTabWidget *tabs, const QString &name) {
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->widget(i)->objectName() == name || tabs->tabText(i) == name)
                return i;
        return -1;
    };
    auto show = [&](const QStringList &path) {
        QTabWidget *tabs = main;
        for (const QString &name : path) {
            const int i = pageNamed(tabs, name);
            EXPECT_GE(i, 0) << name.toStdString();
            tabs->setCurrentIndex(i);
            tabs = tabs->widget(i)->findChild<QTabWidget *>(QString(), Qt::FindDirectChildrenOnly);
            if (!tabs)
                break;
        }
    };
    const std::pair<QStringList, int> cases[] = {
        {{"Noise Margin", "Downstream (Rx)"}, 1},
        {{"Noise Margin", "Upstream (Tx)"}, 18},
        {{"Sync Speed", "Upstream (Tx)"}, 20},
        {{"User-Defined", "User-defined 2"}, 19},
        {{"  Ping  "}, 25},
        {{"Bitloading", "Bitswaps/Tone"}, 27},
        {{"Telnet Router", "Rx Interleaved", "MiBytes (ppp0)"}, 23},
        {{"Telnet Router", "Tx Fast Path", "HEC"}, 13},
        {{"Telnet Router", "User-Def", "User-defined 2"}, 31},
        {{"Telnet Router", "Bits / Tone", "Bitswaps / Time"}, 22},
        {{"Telnet Router", "Bits / Tone", "Bits && SNR / Tone"}, 21},
        {{"Telnet Router", "Bits / Tone", "Options"}, 22},
        {{"Telnet Router", "Terminal"}, 1},
        {{"System Messages"}, 1},
    };
    for (const auto &[path, chart] : cases) {
        show(path);
        EXPECT_EQ(form->GetTopChart(), chart) << path.join(QStringLiteral(" > ")).toStdString();
    }
}
