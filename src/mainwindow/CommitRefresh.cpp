#include "mainwindow/CommitRefresh.h"

#include "chartimages/ChartCommands.h"
#include "pages/StatusPageTab.h"

#include "acquisition/PollingCycle.h"
#include "pages/AlarmPage.h"
#include "pages/BitsTonePage.h"
#include "charts/ChartSet.h"
#include "mainwindow/TForm1.h"
#include "pages/FamilyViews.h"
#include "pages/TelnetPage.h"
#include "notify/CaptureSchedule.h"
#include "notify/StatisticsLog.h"
#include "mainwindow/NoiseTrayIcon.h"
#include "pages/TargetSnrPage.h"
#include "pages/WebServerPage.h"
#include "widgets/ColourConversion.h"
#include "settings/RouterModelPresets.h"

#include "acquisition/BitLoadingRefresh.h"
#include "common/Clock.h"
#include "settings/SettingsHub.h"
#include "charts/ChartSeries.h"
#include "charts/ToneCharts.h"

#include <QDir>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <qcustomplot.h>

void CommitRefresh::applyTabVisibility()
{
    const TSettings &s = m_form.settings();
    QTabWidget *main = m_form.PageControl1;
    for (int i = 0; i < main->count(); ++i)
        if (main->widget(i)->objectName() == QLatin1String("  Ping  "))
            main->setTabVisible(i, s.Ping.ShowPing);
    main->setTabVisible(main->indexOf(m_form.TabSheet29), s.System.ShowAlarms);
    main->setTabVisible(main->indexOf(m_form.TabSheet40), s.System.ShowSystem);
    main->setTabVisible(main->indexOf(m_form.WebPage), s.WebServer.ShowWeb);
}

void CommitRefresh::applyFamilyViews()
{
    TForm1 &f = m_form;
    ::applyFamilyViews({f.PageControl1, f.Charts, f.m_telnetPage, f.m_bitsPage, f.m_bitsOptionsTab}, f.settings());
}

void CommitRefresh::applyExtendedPanes()
{
    showTelnetPanes(m_form.PageControl1, extendedPaneVisibility(m_form.settings()));
}

void CommitRefresh::applyAxisLimits()
{
    const auto &g = m_form.settings().Graph;
    ChartSet *charts = m_form.Charts;
    // A very low minimum first, so the new range may lie wholly above or below the old one.
    auto apply = [](ChartAxis axis, double low, int max, int min) {
        axis.trySetMinimum(low);
        axis.trySetMaximum(max);
        axis.trySetMinimum(min);
    };
    if (g.NoiseMax > g.NoiseMin && !g.RxNoiseAuto)
        apply(charts->leftAxis(1), -9999, g.NoiseMax, g.NoiseMin);
    ChartAxis syncOverlay = charts->rightAxis(1);
    syncOverlay.trySetMaximum(g.SyncMax);
    syncOverlay.trySetMinimum(g.SyncMin);
    if (g.SyncMax > g.SyncMin && !g.RxSyncAuto)
        apply(charts->leftAxis(2), -9999, g.SyncMax, g.SyncMin);
    if (!g.UserAuto)
        apply(charts->leftAxis(3), -999999, g.UserMax, g.UserMin);
    if (!g.User1Auto)
        apply(charts->leftAxis(19), -999999, g.User1Max, g.User1Min);
}

void CommitRefresh::dressCharts()
{
    const TSettings &s = m_form.settings();
    m_form.Charts->applyAppearance(s);
}

void CommitRefresh::applyRebootUrl()
{
    TSettings &s = m_form.settings();
    if (s.Router.ST585) {
        s.Alarm.UseTelnet = true;
        s.Alarm.UseWeb = false;
        s.Alarm.RebootURL.clear();
    } else if (s.Router.V5) {
        s.Alarm.RebootURL = rebootUrlForModel(RouterModel::V5, s.Router.Login, s.Alarm.RebootURL);
    } else if (s.Router.V1234) {
        s.Alarm.RebootURL = rebootUrlForModel(RouterModel::V1234, s.Router.Login, s.Alarm.RebootURL);
    }
    m_form.m_alarmPage->applySettings();
    m_form.m_hub->sync();
}

void CommitRefresh::applyLogTimer()
{
    const TSettings &s = m_form.settings();
    SteadyTimer *timer = m_form.tmrLogAt;
    // Only a changed interval restarts a running timer; a running one is left to tick.
    timer->setInterval(s.Log.LogAtInterval * 60000);
    if (!(s.System.Log && s.Log.LogAtEvery))
        timer->stop();
    else if (m_form.isRunning())
        timer->startKept();
}

void CommitRefresh::applyLogFile()
{
    const TSettings &s = m_form.settings();
    // With one file per day the panel names the day's file, as a run would.
    StatisticsLog *log = m_form.m_log;
    const QDateTime stamp =
        m_form.Run.SampleStamp.isValid() ? m_form.Run.SampleStamp : Clock::currentDateTime();
    log->setCurrentFileName(s.System.Log ? log->fileNameFor(stamp) : QString());
}

void CommitRefresh::applyBitsGraph()
{
    TSettings &s = m_form.settings();
    // The bitswap chart needs the bit loading: cleared and disabled without it.
    if (!s.Telnet.BitsGraph)
        m_form.m_hub->change([](TSettings &t) { t.Telnet.BitswapGraph = false; });
    for (QWidget *box : m_form.findChildren<QWidget *>(QStringLiteral("cbBitswap")))
        box->setEnabled(s.Telnet.BitsGraph);
}

void CommitRefresh::applyPanelColours()
{
    const QColor back = toQColor(m_form.settings().Graph.UserBack);
    // The box on the page stays readable on a dark background.
    const QColor text = back.isValid() && back.lightnessF() < 0.5 ? QColor(Qt::white) : QColor(Qt::black);
    for (int chart : {1, 18, 2, 20, 3, 19}) {
        QCustomPlot *plot = m_form.Charts->chart(chart);
        QWidget *panel = plot ? plot->parentWidget() : nullptr;
        if (!panel)
            continue;
        QPalette p = panel->palette();
        if (back.isValid()) {
            p.setColor(QPalette::Window, back);
            p.setColor(QPalette::WindowText, text);
        } else {
            p = panel->parentWidget() ? panel->parentWidget()->palette() : QPalette();
        }
        panel->setPalette(p);
        panel->setAutoFillBackground(back.isValid());
    }
}

void CommitRefresh::atCommit()
{
    applyRebootUrl();
    dressCharts();
    applyAxisLimits();
    m_form.Charts->applyPageWidth(); // replots
    m_form.applySampleInterval();
    // The capture hours are a matter of the clock as well as of the settings.
    m_form.CheckCameras();
    m_form.UpdateCameraIcon();
}

std::vector<SettingFollower> CommitRefresh::followers()
{
    TForm1 &f = m_form;
    TSettings &s = f.settings();
    ChartSet *charts = f.Charts;
    const auto running = [&f] { return f.btnStart->isChecked(); };
    return {
        {{"Router/ST585", "Router/V5", "Router/V1234", "Router/Login"}, [this] { applyRebootUrl(); }},
        {{"Router/ST585", "Router/Telnet", "Telnet/DisableHTTP", "Email/ShowIcon", "Email/Server", "System/Log",
          "System/LogFile", "System/ShowNoise", "Alarm/UseTelnet", "Alarm/UseWeb"},
         [&f] { f.m_alarmPage->applySettings(); }},
        {{"Telnet/V123", "Telnet/V4", "Router/V5Telnet", "Router/Telnet", "Router/ST585", "Graph/Latest15",
          "Graph/Latest1day", "Graph/LastReboot", "Telnet/IsDGTeam", "Telnet/Extended"},
         [this] { applyFamilyViews(); }},
        {{"Graph/Latest15"},
         [&f, &s] {
             const int interval = s.Graph.Latest15 ? 900000 : 86400000;
             if (f.tmr15Mins->interval() != interval)
                 f.tmr15Mins->setInterval(interval);
         }},
        {{"Ping/ShowPing", "System/ShowAlarms", "System/ShowSystem", "WebServer/ShowWeb"},
         [this] { applyTabVisibility(); }},
        {{"Graph/NoiseMax", "Graph/NoiseMin", "Graph/RxNoiseAuto", "Graph/SyncMax", "Graph/SyncMin",
          "Graph/RxSyncAuto", "Graph/UserMax", "Graph/UserMin", "Graph/UserAuto", "Graph/User1Max",
          "Graph/User1Min", "Graph/User1Auto"},
         [this] { applyAxisLimits(); }},
        {{"Graph/AllowVerticalDrag", "Graph/AvgColour", "Graph/Border", "Graph/Dots", "Graph/GapColour",
          "Graph/GapFactor", "Graph/NoiseColour", "Graph/ShowGaps", "Graph/ShowSync", "Graph/Stairs",
          "Graph/SyncColour", "Graph/TelnetShowSync", "Graph/UserBack", "Graph/UserColour", "Graph/UserColour2",
          "Telnet/SNRPoints", "Telnet/ShowAttenuation", "Log/AddHeader",
          "System/OverlayIcon"},
         [this, charts] {
             dressCharts();
             charts->replotAll();
         }},
        // The bitswap page follows the time charts' page (its length is counted in refreshes).
        {{"System/Points", "System/Sample", "Telnet/RefreshBitsEvery", "Telnet/UseSameSamples"},
         [&f] { f.m_bitsRefresh->applyPage(); }},
        {{"System/Points"},
         [&s, charts] {
             charts->setPagePoints(s.System.Points);
             charts->applyPageWidth();
         }},
        {{"System/AutoStartDelay"},
         [&f, &s] {
             if (f.tmrAutoStartDelay->interval() != s.System.AutoStartDelay * 1000)
                 f.tmrAutoStartDelay->setInterval(s.System.AutoStartDelay * 1000);
         }},
        {{"System/StayOnTop"},
         [&f, &s] {
             f.btnOnTop->setChecked(s.System.StayOnTop);
             f.applyStayOnTop();
         }},
        {{"System/Transp", "System/TranspPos"},
         [&f, &s] { f.setWindowOpacity(s.System.Transp ? s.System.TranspPos / 255.0 : 1.0); }},
        {{"Graph/UTCTime"}, [&f, &s] { f.statusChannelUtc(s.Graph.UTCTime); }},
        {{"Graph/NoiseColour", "System/ShowNoise"}, [&f, &s] { f.IconNoise(s.Graph.NoiseColour); }},
        {{"Log/LogAtInterval", "Log/LogAtEvery", "System/Log"}, [this] { applyLogTimer(); }},
        {{"System/Log", "System/LogFile", "System/NewLog", "System/NewLogFormat"}, [this] { applyLogFile(); }},
        // The bit-loading refresh interval may not be shorter than the sample.
        {{"System/Sample"},
         [&f] {
             if (BitsTonePage *bits = f.m_bitsPage)
                 bits->loadFromSettings();
         }},
        // The cameras on the charts and the capture commands follow the schedule and folder.
        {{"Capture/*"},
         [&f] {
             f.CheckCameras();
             f.UpdateCameraIcon();
             if (ChartCommands *commands = f.m_commands)
                 commands->updateEnabled();
         }},
        // Telnet-only monitoring and the source options decide what the status page view may do.
        {{"Telnet/DisableHTTP", "Router/ST585", "Search/UseSource", "Search/LoopBack", "System/IsDG834"},
         [&f] {
             if (f.StatusPage)
                 f.StatusPage->applySettings();
         }},
        {{"Telnet/BitsGraph"}, [this] { applyBitsGraph(); }},
        {{"Telnet/BitsGraph", "Telnet/BitsRefresh"},
         [&f, running] {
             if (f.settings().Telnet.BitsGraph && f.Charts->series(QStringLiteral("LineSeries18"))->count() == 0)
                 f.m_bitsRefresh->btnBitsRefreshClick(BitsSender::Window);
             f.m_bitsRefresh->cbBitsRefreshClick(running());
         }},
        {{"Telnet/RefreshBitsEvery", "Telnet/UseSameSamples"},
         [&f, running] { f.m_bitsRefresh->spRefreshBitsEveryChange(running()); }},
        {{"Telnet/ShowAttenuation"}, [&f] { f.m_bitsRefresh->btnBitsRefreshClick(BitsSender::ShowAttenuation); }},
        {{"Telnet/ShowAttenuation", "Telnet/SNRPoints", "Telnet/Grid", "Telnet/3D", "Telnet/Steps"},
         [&f] { f.m_toneCharts->applySnrLook(); }},
        {{"Telnet/rbSNR", "Telnet/ClipSNRMargin", "Telnet/ClipMinSNRMargin"},
         [&f, &s] {
             if (BitsTonePage *bits = f.m_bitsPage)
                 bits->Label59->setText(s.Telnet.rbSNR ? QStringLiteral("SNR per tone")
                                                       : QStringLiteral("SNR Margin per tone"));
             f.m_toneCharts->snrModeChanged();
         }},
        {{"Telnet/SwapBitswapPlots"},
         [&f, &s] {
             if (s.Telnet.SwapBitswapPlots != f.Charts->isSwapped(22))
                 f.m_toneCharts->swapBitswapPlots();
         }},
        {{"Graph/UserBack"}, [this] { applyPanelColours(); }},
        // The target margin page offers the default margin to the adslctl command only.
        {{"Telnet/TelnetCmd"},
         [&f] {
             if (auto *page = f.findChild<TargetSnrPage *>())
                 page->TabSheet41Show();
         }},
        {{"Graph/UserLabel", "Graph/ScaleUser1", "Graph/DiffUserDef"}, [&f] { f.showUserLabel(1); }},
        {{"Graph/UserLabel2", "Graph/ScaleUser2", "Graph/DiffUserDef1"}, [&f] { f.showUserLabel(2); }},
    };
}
