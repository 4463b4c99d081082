#include "mainwindow/CommitRefresh.h"

#include "mainwindow/ChartCommands.h"
#include "mainwindow/StatusPageTab.h"

#include "acquisition/PollingCycle.h"
#include "mainwindow/AlarmPage.h"
#include "mainwindow/BitsTonePage.h"
#include "mainwindow/ChartSet.h"
#include "mainwindow/TForm1.h"
#include "mainwindow/TelnetChartTitles.h"
#include "mainwindow/TelnetPage.h"
#include "notify/CaptureSchedule.h"
#include "notify/StatisticsLog.h"
#include "mainwindow/NoiseTrayIcon.h"
#include "mainwindow/WebServerPage.h"
#include "settings/RouterModelPresets.h"

#include <QDir>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <qcustomplot.h>

QMap<QString, bool> telnetPaneVisibility(const TSettings &s)
{
    QMap<QString, bool> v;
    if (s.Telnet.V123) {
        v[QStringLiteral("Rx Fast Path")] = true;
        v[QStringLiteral("Tx Fast Path")] = true;
    }
    if (s.Telnet.V4) {
        v[QStringLiteral("Rx Fast Path")] = true;
        v[QStringLiteral("Tx Fast Path")] = false;
        v[QStringLiteral("Bits / Tone")] = true;
    }
    if (s.Router.V5Telnet) {
        v[QStringLiteral("Tx Fast Path")] = true;
        v[QStringLiteral("Bits / Tone")] = false;
    }
    return v;
}

QMap<QString, bool> extendedPaneVisibility(const TSettings &s)
{
    return {{QStringLiteral("Rx Interleaved > MiBytes (ppp0)"), s.Telnet.Extended},
            {QStringLiteral("Tx Interleaved > MiBytes (ppp0)"), s.Telnet.Extended}};
}

namespace {

// The telnet page's pane at "A" or "A > B"; nullptr when the window has none.
QTabWidget *tabsOf(QWidget *page) { return page ? page->findChild<QTabWidget *>(QString(), Qt::FindDirectChildrenOnly) : nullptr; }

QWidget *childPage(QTabWidget *tabs, const QString &name)
{
    if (!tabs)
        return nullptr;
    for (int i = 0; i < tabs->count(); ++i)
        if (tabs->widget(i)->objectName() == name)
            return tabs->widget(i);
    return nullptr;
}

template <typename F> void atPane(QTabWidget *root, const QString &path, F f)
{
    QTabWidget *tabs = root;
    QWidget *page = nullptr;
    for (const QString &part : path.split(QStringLiteral(" > "))) {
        tabs = page ? tabsOf(page) : tabs;
        page = childPage(tabs, part);
        if (!page)
            return;
    }
    f(tabs, tabs->indexOf(page));
}

} // namespace

void CommitRefresh::applyTabVisibility()
{
    const TSettings &s = m_form.settings();
    QTabWidget *main = m_form.PageControl1;
    for (int i = 0; i < main->count(); ++i) {
        const QString tab = main->widget(i)->objectName();
        if (tab == QLatin1String("Telnet Router"))
            main->setTabVisible(i, s.Router.Telnet && !s.Router.ST585);
        else if (tab == QLatin1String("Bitloading") || tab == QLatin1String("TabSheet36"))
            main->setTabVisible(i, s.Router.ST585);
        else if (tab == QLatin1String("  Ping  "))
            main->setTabVisible(i, s.Ping.ShowPing);
    }
    main->setTabVisible(main->indexOf(m_form.TabSheet29), s.System.ShowAlarms);
    main->setTabVisible(main->indexOf(m_form.TabSheet40), s.System.ShowSystem);
    main->setTabVisible(main->indexOf(m_form.WebPage), s.WebServer.ShowWeb);
    m_form.placeBitsOptions(s.Router.ST585);
}

void CommitRefresh::applyTelnetCaptions(BitLoadingRule rule)
{
    const TSettings &s = m_form.settings();
    ChartSet *charts = m_form.charts();
    const QMap<int, QString> titles = telnetChartTitles(s);
    for (auto it = titles.cbegin(); it != titles.cend(); ++it)
        charts->chart(it.key())->yAxis->setLabel(it.value());
    charts->chart(21)->yAxis->setLabel(rule == BitLoadingRule::Startup ? bitLoadingTitle(s)
                                                                       : bitLoadingTitleAtCommit(s));
    applyTelnetPaneCaptions(m_form.PageControl1, s);
    if (TelnetPage *terminal = m_form.telnetPage())
        terminal->applyFamily();
    if (BitsTonePage *bits = m_form.bitsTonePage())
        bits->applyFamily();
    showTelnetPanes(telnetPaneVisibility(s));
    applyExtendedPanes();
}

void CommitRefresh::applyExtendedPanes() { showTelnetPanes(extendedPaneVisibility(m_form.settings())); }

void CommitRefresh::showTelnetPanes(const QMap<QString, bool> &shown)
{
    QTabWidget *telnet = nullptr;
    for (int i = 0; i < m_form.PageControl1->count(); ++i)
        if (m_form.PageControl1->widget(i)->objectName() == QLatin1String("Telnet Router"))
            telnet = tabsOf(m_form.PageControl1->widget(i));
    if (!telnet)
        return;
    for (auto it = shown.cbegin(); it != shown.cend(); ++it)
        atPane(telnet, it.key(), [&it](QTabWidget *tabs, int index) { tabs->setTabVisible(index, it.value()); });
}

void CommitRefresh::applyAxisLimits()
{
    const auto &g = m_form.settings().Graph;
    ChartSet *charts = m_form.charts();
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
    m_form.charts()->applyAppearance(s);
    // The look is shared with start-up; the bit-loading title keeps the commit rule.
    m_form.charts()->chart(21)->yAxis->setLabel(bitLoadingTitleAtCommit(s));
}

void CommitRefresh::afterGroup(CommitGroup group)
{
    TSettings &s = m_form.settings();
    ChartSet *charts = m_form.charts();
    switch (group) {
    case CommitGroup::RouterPage:
        if (s.Router.ST585) {
            s.Alarm.UseTelnet = true;
            s.Alarm.UseWeb = false;
            s.Alarm.RebootURL.clear();
        } else if (s.Router.V5) {
            s.Alarm.RebootURL = rebootUrlForModel(RouterModel::V5, s.Router.Login, s.Alarm.RebootURL);
        } else if (s.Router.V1234) {
            s.Alarm.RebootURL = rebootUrlForModel(RouterModel::V1234, s.Router.Login, s.Alarm.RebootURL);
        }
        m_form.alarmPage()->applySettings();
        break;
    case CommitGroup::TelnetFamilies:
        applyTelnetCaptions(BitLoadingRule::Commit);
        m_form.fifteenMinuteTimer()->setInterval(s.Graph.Latest15 ? 900000 : 86400000);
        applyTabVisibility();
        m_form.alarmPage()->applySettings();
        break;
    case CommitGroup::AxesColoursAverages:
        applyAxisLimits();
        dressCharts();
        break;
    case CommitGroup::ChartStyle:
        charts->setPagePoints(s.System.Points);
        charts->applyPageWidth();
        dressCharts();
        break;
    case CommitGroup::SystemPage:
        m_form.tmrAutoStartDelay->setInterval(s.System.AutoStartDelay * 1000);
        m_form.btnOnTop->setChecked(s.System.StayOnTop);
        m_form.applyStayOnTop();
        m_form.setWindowOpacity(s.System.Transp ? s.System.TranspPos / 255.0 : 1.0);
        m_form.statusChannelUtc(s.Graph.UTCTime);
        m_form.IconNoise(s.Graph.NoiseColour);
        applyTabVisibility();
        m_form.alarmPage()->showNoiseNote();
        break;
    case CommitGroup::LogScheduleAndFile:
        m_form.tmrLogAt->setInterval(s.Log.LogAtInterval * 60000);
        if (s.System.Log && s.Log.LogAtEvery && m_form.isRunning())
            m_form.tmrLogAt->start();
        else if (!(s.System.Log && s.Log.LogAtEvery))
            m_form.tmrLogAt->stop();
        m_form.statisticsLog()->setCurrentFileName(s.System.Log ? s.System.LogFile : QString());
        if (!s.System.Log)
            m_form.setStatusPanel(3, QString());
        m_form.applySampleInterval();
        break;
    case CommitGroup::CapturePage:
        // The cameras on the charts and the capture commands follow the new schedule and folder.
        m_form.CheckCameras();
        m_form.UpdateCameraIcon();
        if (ChartCommands *commands = m_form.chartCommands())
            commands->updateEnabled();
        break;
    case CommitGroup::EmailPage:
        applyTabVisibility();
        m_form.alarmPage()->applySettings();
        break;
    case CommitGroup::TelnetOptions:
        m_form.alarmPage()->applySettings();
        // Telnet-only monitoring and the source options decide what the status page view may do.
        if (m_form.StatusPage)
            m_form.StatusPage->applySettings();
        break;
    case CommitGroup::RetryImageStatusBar:
        // The bit-loading refresh interval may not be shorter than the sample.
        if (BitsTonePage *bits = m_form.bitsTonePage())
            bits->loadFromSettings();
        break;
    case CommitGroup::Ping:
        applyTabVisibility();
        break;
    case CommitGroup::Gaps:
    case CommitGroup::HeaderOverlayIcon:
        dressCharts();
        charts->replotAll();
        break;
    default: break;
    }
}
