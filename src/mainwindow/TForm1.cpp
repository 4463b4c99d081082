#include "mainwindow/TForm1.h"

#include "configuration/TForm14.h"
#include "configuration/TForm2.h"
#include "mainwindow/CommitRefresh.h"
#include "mainwindow/WindowBindings.h"
#include "configuration/LiveBinder.h"
#include "settings/SettingsHub.h"

#include "acquisition/FigureSearch.h"
#include "acquisition/PollingCycle.h"
#include "acquisition/RouterHttpClient.h"
#include "common/Clock.h"
#include "common/Trace.h"
#include "charts/AxisScaling.h"
#include "charts/ChartSet.h"
#include "charts/ChartPlacement.h"
#include "pages/PingWiring.h"
#include "chartimages/ChartMenuWiring.h"
#include "pages/MainPages.h"
#include "pages/ToneWiring.h"
#include "pages/TelnetReplyView.h"
#include "pages/WindowPages.h"
#include "charts/ChartCornerSigns.h"
#include "mainwindow/EnvelopePanel.h"
#include "mainwindow/MainCycleHost.h"
#include "chartimages/GraphImages.h"
#include "mainwindow/MainEmailHost.h"
#include "pages/AlarmPage.h"
#include "widgets/ColourConversion.h"
#include "acquisition/PingRunner.h"
#include "acquisition/RouterLog.h"
#include "charts/PingPlotting.h"
#include "charts/ChartInteraction.h"
#include "charts/ChartPageControls.h"
#include "chartimages/ChartPopupMenus.h"
#include "pages/PingControls.h"
#include "charts/PlottingStep.h"
#include "settings/ColourNames.h"
#include "notify/CaptureSchedule.h"
#include "notify/DailyTimer.h"
#include "notify/ImageCleanup.h"
#include "charts/TelnetPlotting.h"
#include "mainwindow/SirenPlayer.h"
#include "notify/AlarmActions.h"
#include "pages/TelnetPage.h"
#include "mainwindow/RunSequence.h"
#include "mainwindow/ScheduleRunButton.h"
#include "mainwindow/ShutDownSequence.h"
#include "pages/StatusPageTab.h"
#include "pages/TargetSnrPage.h"
#include "pages/TerminalCommandBar.h"
#include "pages/UserFigureMarker.h"
#include "acquisition/TelnetScriptRunner.h"
#include "acquisition/BitLoadingRefresh.h"
#include "pages/BitsTonePage.h"
#include "charts/ToneCharts.h"
#include "acquisition/ThomsonSession.h"
#include "pages/BitloadingPage.h"
#include "acquisition/TelnetSession.h"
#include "notify/Mailer.h"
#include "pages/WebServerPage.h"
#include "webserver/WebServing.h"
#include "chartimages/PollImages.h"
#include "charts/CameraIndicators.h"
#include "chartimages/ChartCommands.h"
#include "pages/PaneFontDialog.h"
#include "viewer/GraphViewer.h"
#include "mainwindow/NoiseTrayIcon.h"
#include "pages/LogCommands.h"
#include "pages/AlarmLogWiring.h"
#include "pages/RouterLogWiring.h"
#include "pages/RouterViewers.h"
#include "mainwindow/ConfigurationWiring.h"
#include "mainwindow/DailyWiring.h"
#include "mainwindow/MailerWiring.h"
#include "mainwindow/MainAlarmTelnet.h"
#include "notify/WriteNowLine.h"
#include "mainwindow/StatusChannel.h"
#include "mainwindow/FigureLabelsRow.h"
#include "mainwindow/HelpFile.h"
#include "mainwindow/MainStatusBar.h"
#include "mainwindow/MainTimers.h"
#include "mainwindow/SaveProgressBar.h"
#include "mainwindow/WindowPlacement.h"
#include "notify/AlarmInputs.h"
#include "notify/StatisticsLog.h"
#include "platform/SystemInfo.h"
#include "settings/SettingsPaths.h"
#include "settings/SettingsStore.h"
#include "widgets/ClickingButtonAccessible.h"
#include "widgets/TabScrollButtons.h"

#include <QAction>
#include <qcustomplot.h>
#include <QFileDialog>
#include <QToolButton>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <limits>
#include <utility>

namespace {

// The pane keeps a generous history; older lines go first so weeks of running stay affordable.
constexpr int kLinePaneLineCap = 100000;

} // namespace

static void initResources() { Q_INIT_RESOURCE(veltrano); }

TForm1::TForm1(bool safeStart, QWidget *parent) : QMainWindow(parent), m_safeStart(safeStart)
{
    initResources();
    // Before any button exists: assistive Toggle then clicks, in this window and every one it opens.
    ClickingButtonAccessible::install();
    m_status = new StatusChannel(this);
    connect(m_status, &StatusChannel::stamped, this, [this](const QDateTime &t) { Run.SampleStamp = t; });
    HTTP = new RouterHttpClient(this);
    m_log = new StatisticsLog(Settings, Run, this);
    m_alarmInputs = new AlarmInputs(Settings, QLocale::system(), this);
    m_alarmActions = new AlarmActions(Settings, Run, *m_alarmInputs, *HTTP, QLocale::system(), this);
    m_alarmActions->setStatisticsLog([this](const QString &t) { m_log->WriteLogNow(t); },
                                     [this] { return m_log->LogWriting(); });
    m_siren = new SirenPlayer(this);
    m_alarmActions->setSiren(m_siren);
    m_alarmTelnet = std::make_unique<MainAlarmTelnet>(Settings, m_scripts, m_telnet, m_bitloadingPage);
    m_alarmActions->setTelnet(m_alarmTelnet.get());
    connect(m_alarmActions, &AlarmActions::systemMessage, this, &TForm1::SystemMessage);
    Charts = new ChartSet(this);
    m_scaling = std::make_unique<AxisScaling>(*Charts, Settings);
    m_plotting = std::make_unique<PlottingStep>(*Charts, *m_scaling, Settings, Run);
    m_telnetPlotting = std::make_unique<TelnetPlotting>(*Charts, *m_scaling, Settings, Run, m_telnetFigures);
    m_images = new GraphImages(*Charts, Settings, Run, this);
    connect(m_images, &GraphImages::systemMessage, this, &TForm1::SystemMessage);
    m_images->setWindowState([this] {
        GraphImageWindow w;
        w.wanAddress = statusPanel(1);
        w.connectionUptime = statusPanel(2);
        // The kept latest sync: the plotting step clears TelnetSyncNow.
        w.telnetSyncNow = float(m_telnetFigures.TelnetRxSync);
        w.telnetNoiseNow = m_telnetFigures.TelnetNoiseNow;
        // The bits chart's ADSL2+ sign and its tone range go on its images.
        if (m_bitsPage) {
            w.adsl2PlusShown = !m_bitsPage->Image84->isHidden();
            w.adsl2PlusRange = m_bitsPage->Label88->text();
        }
        return w;
    });
    m_pollImages = std::make_unique<PollImages>(*m_images, Settings, Run);
    m_commands = new ChartCommands(*Charts, *m_images, Settings, Run, this);
    connect(m_commands, &ChartCommands::systemMessage, this, &TForm1::SystemMessage);
    connect(m_commands, &ChartCommands::captureSwitchChanged, this, [this] { CheckCameras(); });
    connect(m_commands, &ChartCommands::viewGraphsRequested, this, &TForm1::btnViewGraphsClick);
    m_cameras = new CameraIndicators(*Charts, this);
    m_images->setWebServing([] { return WebServing::count(); });
    m_telnet = new TelnetSession(Settings, *HTTP, this);
    m_scripts = new TelnetScriptRunner(this);
    m_scripts->setGeneralSession(m_telnet);
    connect(m_scripts, &TelnetScriptRunner::systemMessage, this, &TForm1::SystemMessage);
    connect(m_telnet, &TelnetSession::systemMessage, this, &TForm1::SystemMessage);
    connect(m_telnet, &TelnetSession::messageBox, this,
            [this](const QString &text) { showMessageBox(mainCaption(), text, false); });
    connect(m_telnet, &TelnetSession::replyComplete, this, &TForm1::parseTelnetReply);
    // A reading not yet plotted stands until the poll plots it.
    connect(m_telnet, &TelnetSession::replyIncomplete, this, [this] {
        if (!m_telnetFigures.Fresh.Noise)
            m_telnetFigures.TelnetNoiseNow = m_telnetFigures.LastGoodTelnetNoise;
    });
    m_bitsRefresh = new BitLoadingRefresh(Settings, *m_telnet, m_images->bitsRefresh(), this);
    m_toneCharts = new ToneCharts(*Charts, *m_scaling, Settings, m_telnetFigures, this);
    m_thomson = new ThomsonSession(Settings, m_telnetFigures, this);
    connect(m_thomson, &ThomsonSession::systemMessage, this, &TForm1::SystemMessage);
    m_cycleHost = new MainCycleHost(*this);
    m_cycle = new PollingCycle(Settings, Run, *HTTP, *m_cycleHost, this);
    connect(m_cycle, &PollingCycle::finished, this, [this] { m_runSequence->firstCycleDone(); });
    // A failing router must be seen without the system messages: panel 0 holds
    // the latest poll's failure until a poll is answered.
    connect(m_cycle, &PollingCycle::pageFailed, this, [this](const QString &why) {
        if (m_pollFailureShown.isEmpty() || statusPanel(0) != m_pollFailureShown)
            m_panel0BeforePollFailure = statusPanel(0);
        m_pollFailureShown = why;
        setStatusPanel(0, why);
    });
    connect(m_cycle, &PollingCycle::pageAnswered, this, [this] {
        if (!m_pollFailureShown.isEmpty() && statusPanel(0) == m_pollFailureShown)
            setStatusPanel(0, m_panel0BeforePollFailure);
        m_pollFailureShown.clear();
    });
    m_commitRefresh = std::make_unique<CommitRefresh>(*this);
    m_hub = new SettingsHub(Settings, this);
    buildWidgets();
    createSequences();
    FormCreate();
    wireSettings();
}

TForm1::~TForm1()
{
    m_cycle->cancel();
    delete m_cycleHost;
}

void TForm1::buildWidgets()
{
    setObjectName(QStringLiteral("Form1"));
    setMinimumSize(760, 519);

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);

    ConfigureGraphsHost graphs;
    graphs.yAxis = [this] { YAxis1Click(); };
    graphs.commonSettings = [this] { CommonSettings1Click(); };
    graphs.captureProperties = [this] { CaptureProperties1Click(); };
    graphs.setAverages = [this] { SetAverages1Click(); };
    graphs.captureSize = [this] { CaptureSize1Click(); };
    m_toolBars = MainToolBars::build(
        this, Settings, {m_commands->CaptureAll, m_commands->CopyTopChart, m_commands->ViewGraphs}, graphs);

    m_figureLabels = FigureLabelsRow::build(central, layout);
    connect(Panel29, &EnvelopePanel::Image23Clicked, this, &TForm1::Image23Click);
    connect(Panel29, &EnvelopePanel::Image24Clicked, this, &TForm1::Image24Click);

    PageControl1 = new QTabWidget(central);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    layout->addWidget(PageControl1, 1);

    m_interaction = new ChartInteraction(*Charts, Settings, this);
    m_pageControls = new ChartPageControls(*Charts, Settings, *m_interaction, this);
    m_indicators = placeCharts(PageControl1, *Charts, *m_pageControls).byName;
    m_cameras->attach();
    {
        MainPagesHost host;
        host.messageBox = [this](const QString &text) { showMessageBox(mainCaption(), text, false); };
        host.systemMessage = [this](const QString &text) { SystemMessage(text); };
        host.running = [this] { return btnStart->isChecked(); };
        host.hiddenInTray = [this] { return !isVisible() && TrayIcon->isVisible(); };
        host.checkCameras = [this] { CheckCameras(); };
        host.pageChanged = [this] { PageControl1Change(); };
        host.fontClicked = [this] { btnFontClick(); };
        host.optionsClicked = [this] { Button2Click(); };
        const MainPages built = buildMainPages(this, PageControl1,
                                               {Settings, Run, *m_hub, *Charts, *m_telnet, m_telnetFigures, *m_images,
                                                *m_thomson, *m_toneCharts, *m_bitsRefresh, *m_scripts, SettingsFilePath,
                                                m_scriptFileName},
                                               host);
        m_pingControls = built.pingControls;
        Memo6 = built.Memo6;
        m_telnetPage = built.telnetPage;
        btnFont = built.btnFont;
        m_bitsPage = built.bitsPage;
        m_bitsOptionsTab = built.bitsOptionsTab;
        m_bitloadingPage = built.bitloadingPage;
        Button2 = built.Button2;
    }
    Form3 = new GraphViewer(this);
    Form3->setStartPlaces([this] { return Settings.Capture.Folder; }, [this] { return m_commands->lastImageFile(); });

    {
        const WindowTabs tabs = buildWindowTabs(this, PageControl1, kLinePaneLineCap, Settings, Run, *m_hub,
                                                *m_alarmActions, *m_alarmInputs, *m_log, *HTTP,
                                                m_commands->SaveWindowImage,
                                                [this] { Button1Click(); },
                                                [this](const QString &text) { SystemMessage(text); });
        TabSheet40 = tabs.messages.page;
        memSys = tabs.messages.memSys;
        cbEnableSystem = tabs.messages.cbEnableSystem;
        cbSuppressErrors = tabs.messages.cbSuppressErrors;
        btnClear = tabs.messages.btnClear;
        Button1 = tabs.messages.Button1;
        m_alarmPage = tabs.alarms;
        TabSheet29 = m_alarmPage;
        Label65 = m_alarmPage->Label65;
        Label66 = m_alarmPage->Label66;
        Label67 = m_alarmPage->Label67;
        btnWriteNow = m_alarmPage->btnWriteNow;
        StatusPage = tabs.statusPage;
        WebPage = tabs.webServer;
        btnWebStart = WebPage->btnWebStart;
    }

    m_saveProgress = SaveProgressBar::build(central, layout, this);
    setCentralWidget(central);

    MainStatusBarHost statusHost;
    statusHost.popupShowing = [this] { StatusPopupPopup(); };
    statusHost.startWebServer = [this] { mnuStartWebServerClick(); };
    statusHost.enableLog = [this] { mnuEnableLogClick(); };
    m_statusBar = MainStatusBar::build(this, statusHost);

    TrayIcon = new NoiseTrayIcon(Settings, this);
    connect(TrayIcon, &NoiseTrayIcon::restoreRequested, this, &TForm1::RestoreVeltrano1Click);
    connect(TrayIcon, &NoiseTrayIcon::closeRequested, this, &TForm1::CloseVeltrano1Click);
    connect(TrayIcon, &NoiseTrayIcon::showNoiseToggled, this, &TForm1::mnuShowNoiseClick);

    m_timers = MainTimers::build(this);
    connect(tmrStartMinimized, &QTimer::timeout, this, &TForm1::tmrStartMinimizedTimer);
    connect(tmrAutoStartDelay, &QTimer::timeout, this, &TForm1::tmrAutoStartDelayTimer);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(false); });

    connect(btnStart, &QPushButton::clicked, this, &TForm1::btnStartClick);
    // The chosen mode goes with Run, which sets the flags once it has armed the timer.
    connect(btnSchedRun, &ScheduleRunButton::runRequested, this, [this](ScheduleMode mode) {
        m_pendingSchedule = mode;
        btnStartClick();
    });
    connect(btnStop, &QPushButton::clicked, this, &TForm1::btnStopClick);
    const WindowHost host = windowHost();
    const RouterLogViewers routerLog = buildRouterLogViewers(this, Settings, Run, *HTTP, SettingsFilePath,
                                                             btnViewRouterLog, PageControl1, StatusPage, host);
    m_routerLog = routerLog.log;
    m_viewers = routerLog.viewers;
    connect(m_viewers, &RouterViewers::settingsChanged, m_hub, &SettingsHub::sync);
    m_ping = new PingRunner(this);
    m_pingPlotting = std::make_unique<PingPlotting>(*m_scaling);
    wirePing(this, *m_ping, *m_pingPlotting, Memo6, Run, host.systemMessage,
             [this](const QString &kind) { AlarmTriggered(kind); });
    const DailyTimers timers = buildDailyTimers(
        this, {Settings, Run, SettingsFilePath, *m_log, *m_telnetPlotting, *m_images, m_mailer}, host);
    m_daily = timers.daily;
    tmr15Mins = timers.tmr15Mins;
    tmrLogAt = timers.tmrLogAt;
    connect(tmrLogAt, &QTimer::timeout, this, &TForm1::tmrLogAtTimer);
    m_logCommands = new LogCommands(*m_hub, *Charts, *m_log, host, [this] { return memSys->toPlainText(); }, this);
    connect(btnWriteNow, &QPushButton::clicked, this, &TForm1::btnWriteNowClick);
    connect(btnViewLog, &QPushButton::clicked, this, &TForm1::btnViewLogClick);
    connect(btnLog, &QPushButton::clicked, this, &TForm1::btnLogClick);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TForm1::PageControl1Change);

    wireAlarmsAndLog(this, *m_log, *m_alarmInputs, *m_alarmActions, *m_alarmPage, *m_logCommands, m_mailer, host,
                     {[this] { btnStopClick(); },
                      [this] { setWindowTitle(isRunning() ? runningCaption() : mainCaption()); }});

    connect(btnSave, &QPushButton::clicked, this, &TForm1::btnSaveClick);
    connect(btnOnTop, &QPushButton::clicked, this, &TForm1::btnOnTopClick);
    connect(btnHelp, &QPushButton::clicked, this, &TForm1::btnHelpClick);
    connect(btnConfigure, &QToolButton::clicked, this, &TForm1::btnConfigureClick);
    connect(btnClear, &QPushButton::clicked, this, &TForm1::btnClearClick);
    // The pane shows the newest line; a burst reaches it as one batch.
    connect(m_status, &StatusChannel::lineReady, memSys, &LinePane::appendLine);
    // The check boxes are bound to their settings; the status channel follows the first.
    connect(cbEnableSystem, &QCheckBox::toggled, m_status, &StatusChannel::setEnabled);
    wireChartMenus();
    TabScrollButtons::installOn(this);
}

void TForm1::FormCreate()
{
    // "19 Sep 2010  09:10:00": the compiler's "Sep 19 2010" turned round.
    const QDate built = QLocale::c().toDate(QString::fromLatin1(__DATE__).simplified(), QStringLiteral("MMM d yyyy"));
    BuildStamp = QLocale::c().toString(built, QStringLiteral("dd MMM yyyy")) + QStringLiteral("  " __TIME__);
    setWindowTitle(mainCaption());

    SettingsFilePath = settingspaths::settingsFilePath();
    SettingsEnvironment env = SettingsEnvironment::forFile(SettingsFilePath);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        env.screenSize = screen->size();
    SettingsLoadResult loaded = settingsstore::load(env);
    Settings = std::move(loaded.settings);
    // The window is built from the loaded settings; changes count from here.
    m_hub->rebase();
    createMailer();

    Charts->applyStartup(Settings);
    m_commitRefresh->applyFamilyViews();
    startToneCharts(*m_bitsPage, m_bitloadingPage, *m_bitsRefresh, *m_toneCharts, *Charts, Settings);
    SetPriorityLevel(Settings.System.PriorityLevel);
    SetToolbar();
    SetMemoFonts();
    m_commands->setProgramFolder(settingspaths::programFolder(SettingsFilePath));
    m_commands->updateEnabled();
    UpdateCameraIcon();
    CheckCameras();
    applySettingsToWindow();
    m_alarmPage->setProgramFolder(settingspaths::programFolder(SettingsFilePath));
    m_alarmPage->setRxNoiseSource([this](int n) { return m_plotting->recentRxNoise(n); });
    m_alarmPage->applySettings();
    writeHelpFile();
    reportLoadProblems(loaded.problems, loaded.readError);

    // The status-page user charts' pages are named after their figures (the
    // telnet user figures have pages of their own).
    windowpages::setUserPageCaption(PageControl1, 1, Settings.Graph.UserLabel);
    windowpages::setUserPageCaption(PageControl1, 2, Settings.Graph.UserLabel2);
    if (Settings.Router.V5Telnet && Settings.Telnet.TelnetPrompt != QLatin1String(">"))
        Settings.Telnet.TelnetPrompt = QStringLiteral("/ #");
    CheckCameras();
    UpdateCameraIcon();
    Label5->setText(Settings.Graph.UserLabel.left(12) + QStringLiteral("  0"));
    Label22->setText(Settings.Graph.UserLabel2.left(12) + QStringLiteral("  0"));
    // A safe start runs, and saves, without the overlay icon and the minimise to tray.
    if (m_safeStart) {
        Settings.System.OverlayIcon = false;
        Settings.System.Minimize = false;
    }
    if (Settings.System.OverlayIcon)
        TrayIcon->setOverlayWindow(this);
    IconNoise(Settings.Graph.NoiseColour);
    TrayIcon->setVisible(!m_safeStart);

    WebPage->startAtLaunch(m_safeStart);

    // The Configuration dialog comes second, with the settings loaded.
    m_config = createConfiguration(this,
                                   {Settings, Run, SettingsFilePath, BuildStamp, *m_hub, *m_log, *m_mailer,
                                    *m_bitsRefresh, *m_alarmPage, *WebPage, *this},
                                   {[this] { return SaveIni(); }, [this] { btnHelpClick(); },
                                    [this] { showUserFigurePage(); }, [this] { SetMemoFonts(); },
                                    [this] { m_commitRefresh->atCommit(); }});

    // Safe start: nothing runs by itself. Otherwise Run is pressed after the
    // auto-start delay once the program has been configured.
    if (m_safeStart) {
        btnStopClick();
    } else if (Settings.System.AutoStart && Settings.System.Conf) {
        tmrAutoStartDelay->setInterval(Settings.System.AutoStartDelay * 1000);
        tmrAutoStartDelay->start();
        FormShownOnce = false;
    }
}

void TForm1::tmrAutoStartDelayTimer()
{
    tmrAutoStartDelay->stop();
    btnStart->setChecked(true);
    btnStartClick();
}

void TForm1::applySettingsToWindow()
{
    if (Settings.System.Window == 1) {
        setWindowState(windowState() | Qt::WindowMaximized);
    } else {
        // The window opens centred on the screen; the stored position is kept, not applied.
        windowplacement::openCentred(this, QSize(Settings.System.W, Settings.System.H));
    }
    SetMemoFonts();
    if (Memo6)
        Memo6->setVisible(Settings.Ping.ShowData);

    cbEnableSystem->setChecked(Settings.System.SystemMessages);
    m_status->setEnabled(Settings.System.SystemMessages);
    m_pageControls->applySettings();
    if (m_pingControls)
        m_pingControls->applySettings();
    cbSuppressErrors->setChecked(Settings.System.SuppressErrors);
    m_status->setUtc(Settings.Graph.UTCTime);
    WebPage->setSettingsFilePath(SettingsFilePath);
    WebPage->loadFromSettings();
    applySampleInterval();
    btnOnTop->setChecked(Settings.System.StayOnTop);
    applyStayOnTop();
    m_commitRefresh->applyTabVisibility();
    m_commitRefresh->applyPanelColours();
    windowpages::showLastPage(PageControl1, Settings.System.Last);
    m_log->setCurrentFileName(Settings.System.Log ? Settings.System.LogFile : QString());
}

void TForm1::applySampleInterval()
{
    Timer1->setInterval(Settings.System.Sample * 1000);
    m_routerLog->setTransferTimeoutMs(PollingCycle::transferTimeoutMs(Settings.System.Sample));
    Run.PointLabelFormat = Settings.System.Sample < 30 ? QStringLiteral(" hh:nn:ss") : QStringLiteral(" hh:nn    ");
}

void TForm1::applyStayOnTop() { windowplacement::keepOnTop(this, Settings.System.StayOnTop); }

void TForm1::statusChannelUtc(bool utc) { m_status->setUtc(utc); }

void TForm1::showUserLabel(int figure)
{
    windowpages::showUserLabel(PageControl1, *Charts, Settings, figure, figure == 1 ? Label5 : Label22,
                               &TForm2::liveUserChartTitle);
}

void TForm1::btnConfigureClick() { m_config->btnConfigureClick(); }
void TForm1::YAxis1Click() { m_config->openGraphPage(QStringLiteral("Axes")); }
void TForm1::CommonSettings1Click() { m_config->openGraphPage(QStringLiteral("Common")); }
void TForm1::CaptureProperties1Click() { m_config->openGraphPage(QStringLiteral("Capture")); }
void TForm1::SetAverages1Click() { m_config->openGraphPage(QStringLiteral("Extras")); }
void TForm1::CaptureSize1Click() { m_config->openGraphPage(QStringLiteral("Extras")); }

void TForm1::reportLoadProblems(const QStringList &problems, const QString &readError)
{
    for (const QString &p : problems)
        SystemMessage(p);
    // Seen with system messages off too; the panel's tool tip holds every one.
    if (!problems.isEmpty())
        setStatusPanel(0, problems.join(QStringLiteral("  ")));
    if (!readError.isEmpty())
        showMessageBox(mainCaption(),
                       tr("The settings file %1 could not be read (%2).\nThe program runs with its default settings.")
                           .arg(QDir::toNativeSeparators(SettingsFilePath), readError),
                       true);
}

void TForm1::storeWindowState()
{
    const QRect r = normalGeometry();
    Settings.System.T = r.top();
    Settings.System.L = r.left();
    Settings.System.W = r.width();
    Settings.System.H = r.height();
    Settings.System.Window = isMaximized() ? 1 : 0;
    Settings.System.Last = PageControl1->currentIndex();
}

bool TForm1::SaveIni()
{
    // The SpeedTouch 585's fourth page holds a live session view; do not reopen on it.
    if (Settings.Router.ST585 && PageControl1->currentIndex() == 3)
        PageControl1->setCurrentIndex(0);

    SystemMessage(QStringLiteral("Saving configuration settings..."));
    pb1->setValue(0);
    pb1->show();

    storeWindowState();
    const SettingsSaveResult result = settingsstore::save(Settings, SettingsFilePath, QLocale::system(),
                                                          [this](int percent) { pb1->setValue(percent); });
    Timer2->start();
    for (const QString &w : result.warnings)
        SystemMessage(w);
    if (!result.ok) {
        SystemMessage(QStringLiteral("Configuration not saved: ") + result.error);
        QMessageBox *box =
            showMessageBox(mainCaption(), tr("The configuration could not be saved:\n%1").arg(result.error), true);
        box->setObjectName(QStringLiteral("SaveErrorBox"));
        return false;
    }
    SystemMessage(QStringLiteral("Configuration saved."));
    return true;
}

void TForm1::btnSaveClick() { SaveIni(); }

void TForm1::SystemMessage(const QString &text) { m_status->systemMessage(text); }

void TForm1::setStatusPanel(int panel, const QString &text) { m_statusBar.setPanel(panel, text); }
QString TForm1::statusPanel(int panel) const { return m_statusBar.panel(panel); }
void TForm1::btnClearClick()
{
    if (!ClearConfirmBox || !ClearConfirmBox->isVisible())
        ClearConfirmBox = confirmClearMessages(this, memSys, mainCaption());
}

void TForm1::StatusPopupPopup()
{
    m_statusBar.showPopupTexts(btnWebStart->isChecked(), Settings.System.Log);
}
void TForm1::mnuStartWebServerClick()
{
    if (!btnWebStart->isChecked()) {
        btnWebStart->setChecked(true);
        btnWebStartClick();
    } else {
        btnWebStopClick();
    }
}

void TForm1::btnWebStartClick() { WebPage->btnWebStartClick(); }

void TForm1::btnWebStopClick() { WebPage->btnWebStopClick(); }

void TForm1::mnuEnableLogClick()
{
    m_hub->change([](TSettings &s) { s.System.Log = !s.System.Log; });
}

QMessageBox *TForm1::showMessageBox(const QString &title, const QString &text, bool warning)
{
    auto *box = new QMessageBox(warning ? QMessageBox::Warning : QMessageBox::Information, title, text,
                                QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    trace::write(QStringLiteral("box"), text);
    box->open();
    return box;
}

void TForm1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    FormShow();
}

void TForm1::FormShow()
{
    if (!m_safeStart && Settings.System.StartMinimized && !FormShownOnce)
        tmrStartMinimized->start();
    FormShownOnce = true;
    setWindowOpacity(Settings.System.Transp ? Settings.System.TranspPos / 255.0 : 1.0);
}

void TForm1::PageControl1Change()
{
    windowpages::pageChanged(PageControl1, *Charts, *m_telnet,
                             {btnLog, Panel30, TabSheet29, m_telnetPage, [this] { m_commitRefresh->applyExtendedPanes(); }});
}

void TForm1::btnViewGraphsClick()
{
    const QScreen *screen = this->screen();
    const int screenWidth = screen ? screen->geometry().width() : 1920;
    Form3->setGeometry(GraphViewer::placement(geometry(), Form3->width(), screenWidth));
    Form3->show();
    Form3->raise();
    Form3->activateWindow();
}

void TForm1::CheckCameras() { m_cameras->show(CaptureSchedule::CheckCameras(Settings, Run)); }

void TForm1::UpdateCameraIcon() { m_cameras->UpdateCameraIcon(Settings.Capture.CaptureAtTime); }

void TForm1::SetMemoFonts()
{
    if (m_telnetPage)
        m_telnetPage->applyPaneFonts(Settings);
}

void TForm1::btnFontClick()
{
    PaneFontDialog::choose(this, Settings, [this] {
        SetMemoFonts();
        m_hub->sync();
    });
}

void TForm1::Button2Click() { windowpages::showBitsOptions(PageControl1, m_bitsOptionsTab); }

void TForm1::tmrStartMinimizedTimer()
{
    tmrStartMinimized->stop();
    if (Settings.System.StartMinimized)
        showMinimized();
}

void TForm1::changeEvent(QEvent *event)
{
    // Minimised to the tray only where there is a tray to come back from.
    if (event->type() == QEvent::WindowStateChange && isMinimized() && Settings.System.Minimize && !m_safeStart
        && TrayIcon->trayAvailable() && TrayIcon->isVisible())
        QTimer::singleShot(0, this, &QWidget::hide);
    if (event->type() == QEvent::WindowTitleChange && windowTitle() != m_lastCaption) {
        m_lastCaption = windowTitle();
        trace::write(QStringLiteral("caption"), m_lastCaption);
    }
    QMainWindow::changeEvent(event);
}

void TForm1::closeEvent(QCloseEvent *event)
{
    if (m_shutDown->done()) {
        event->accept();
        return;
    }
    event->ignore();
    FormCloseQuery(m_endRequested);
}

void TForm1::requestEnd()
{
    m_endRequested = true;
    FormCloseQuery(true);
}

// fromTray: the tray menu's Close.
void TForm1::FormCloseQuery(bool ending, bool fromTray) { m_shutDown->closeQuery(ending, fromTray); }

// ---- Run and Stop --------------------------------------------------------

void TForm1::ChangeTime1Click()
{
    connect(TForm14::open(this, Settings), &QDialog::accepted, m_hub, &SettingsHub::sync);
}

bool TForm1::isRunning() const
{
    // A chart drag holds the polling timer for as long as the button is down.
    return btnStart->isChecked() && (Timer1->isActive() || (m_interaction && m_interaction->pollingPaused()));
}

int TForm1::GetTopChart() const
{
    return ChartPageControls::GetTopChart(PageControl1, *Charts);
}

void TForm1::cbPingClick(bool checked)
{
    if (m_pingControls)
        m_pingControls->updateAlarmControls(checked);
}

void TForm1::createSequences()
{
    const RunParts parts{.settings = Settings, .run = Run, .btnStart = *btnStart, .btnStop = *btnStop,
                         .timer1 = *Timer1, .tmrLogAt = *tmrLogAt, .tmr15Mins = *tmr15Mins, .cycle = *m_cycle,
                         .http = *HTTP, .log = *m_log, .alarmPage = *m_alarmPage, .alarmActions = *m_alarmActions,
                         .bitsRefresh = *m_bitsRefresh, .toneCharts = *m_toneCharts, .bitloadingPage = m_bitloadingPage,
                         .thomson = *m_thomson, .telnetFigures = m_telnetFigures, .telnetPlotting = *m_telnetPlotting,
                         .daily = *m_daily, .telnet = *m_telnet, .status = *m_status,
                         .pageViewer = StatusPage ? StatusPage->HTML2 : nullptr};
    RunSequenceHost host;
    host.caption = mainCaption();
    host.runningCaption = runningCaption();
    host.messageBox = [this](const QString &text) { showMessageBox(mainCaption(), text, false); };
    host.statusPanel = [this](int panel) { return statusPanel(panel); };
    host.setStatusPanel = [this](int panel, const QString &text) { setStatusPanel(panel, text); };
    host.isRunning = [this] { return isRunning(); };
    host.hideEnvelope = [this] { m_mailer->hideEnvelope(); }; // the mailer comes with the settings
    host.settingsAnswered = [this] { m_hub->sync(); };
    const RunBoxes boxes{.logOptionsWarning = LogOptionsWarning, .appendConfirmBox = AppendConfirmBox,
                         .logSaveDialog = LogSaveDialog, .startedText = StartedText};
    m_runSequence = new RunSequence(*this, parts, boxes, std::move(host));

    ShutDownHost closing;
    closing.caption = mainCaption();
    closing.stop = [this] { btnStopClick(); };
    closing.saveSettings = [this] { return SaveIni(); };
    const ShutDownParts shutDownParts{.settings = Settings, .settingsFilePath = SettingsFilePath, .trayIcon = *TrayIcon,
                                      .thomson = *m_thomson, .http = *HTTP, .btnStart = *btnStart, .timer1 = *Timer1,
                                      .cycle = *m_cycle, .webPage = *WebPage, .telnet = *m_telnet,
                                      .pageControl = *PageControl1, .statusPage = StatusPage,
                                      .pollImages = *m_pollImages, .status = *m_status,
                                      .closeConfirmBox = CloseConfirmBox};
    m_shutDown = new ShutDownSequence(*this, shutDownParts, std::move(closing));
}

void TForm1::btnStartClick() { m_runSequence->start(std::exchange(m_pendingSchedule, ScheduleMode::Immediate)); }

void TForm1::Timer1Timer(bool firstCycle)
{
    // A tick that comes while a poll is still under way is skipped.
    m_cycle->start(firstCycle);
}

void TForm1::btnStopClick() { m_runSequence->stop(); }

// ---- Tray icon ------------------------------------------------------------

void TForm1::IconNoise(TColor colour)
{
    TrayIcon->IconNoise(colour, trayFigures());
    TrayIconMouseMove();
}

void TForm1::TrayIconMouseMove()
{
    // The desktop shows the tray's hint itself and does not say when the
    // pointer rests on the icon: the pointer-over hint is kept on the icon
    // whenever its figures change.
    TrayIcon->showPointerHint(NoiseTrayIcon::hintText(Settings, trayFigures()));
}

NoiseTrayIcon::Figures TForm1::trayFigures() const
{
    constexpr float none = std::numeric_limits<float>::quiet_NaN();
    // Before the first poll nothing has been read: no figure, as for one not found.
    const auto missing = [this](HttpLogItem item) { return Run.SampleCount == 0 || Run.FigureNotFound[size_t(item)]; };
    NoiseTrayIcon::Figures f;
    f.rxNoise = missing(HttpLogItem::RxNoise) ? none : Run.Figures.RxNoise;
    f.rxSync = missing(HttpLogItem::RxSync) ? none : Run.Figures.RxSync;
    f.telnetNoise = m_telnetPlotting->lastNoise().missing ? none : m_telnetFigures.TelnetNoiseNow;
    f.telnetSync = m_telnetPlotting->lastSync().missing ? none : float(m_telnetFigures.TelnetRxSync);
    f.iconAlarmState = Run.IconAlarmState;
    f.userLabel1Caption = Label5->text();
    f.userLabel2Caption = Label22->text();
    return f;
}

void TForm1::setTrayHint()
{
    // The hint is the icon's tool tip: each poll brings the pointer-over hint up to date.
    TrayIconMouseMove();
}

void TForm1::RestoreVeltrano1Click()
{
    showNormal();
    raise();
    activateWindow();
    IconNoise(Settings.Graph.NoiseColour);
    // The SpeedTouch 585's refreshes were skipped while the window was in the
    // tray (cbDontRefresh585): its charts catch up at once.
    const auto &t = Settings._585Telnet;
    if (Settings.Router.ST585 && btnStart->isChecked() && t.RefreshBits && t.Refresh && m_bitloadingPage)
        m_bitloadingPage->btnThomsonRefreshClick();
}

void TForm1::CloseVeltrano1Click()
{
    // The tray's own Close closes: hiding to the tray is for the window's close box.
    FormCloseQuery(false, true);
}

void TForm1::mnuShowNoiseClick(bool on)
{
    m_hub->change([on](TSettings &s) { s.System.ShowNoise = on; });
}

// ---- Window helpers -------------------------------------------------------

void TForm1::SetToolbar()
{
    // Only the old systems that lacked themed toolbars turn the option off.
    if (!MainToolBars::themedToolbars(GetWindowsVersion()))
        Settings.System.Manifest = false;
    m_toolBars.setFlat(Settings.System.Manifest);
}

QString TForm1::helpFilePath() const { return helpfile::path(SettingsFilePath); }

void TForm1::writeHelpFile() { helpfile::write(helpFilePath()); }
void TForm1::btnOnTopClick()
{
    // The button and the window's style follow the setting.
    m_hub->change([](TSettings &s) { s.System.StayOnTop = !s.System.StayOnTop; });
}

void TForm1::btnHelpClick()
{
    if (const QString problem = helpfile::open(helpFilePath()); !problem.isEmpty())
        showMessageBox(mainCaption(), problem, true);
}
// ---- Telnet replies ---------------------------------------------------------

void TForm1::parseTelnetReply(const TelnetReply &reply)
{
    telnetreply::Host host;
    host.setStatusPanel = [this](int panel, const QString &text) { setStatusPanel(panel, text); };
    host.systemMessage = [this](const QString &text) { SystemMessage(text); };
    telnetreply::show(reply, Settings, Run, m_telnetFigures, *m_telnet, *Charts, *m_toneCharts, *m_images,
                      {PageControl1, m_telnetPage, m_bitsPage}, host);
}

void TForm1::plotToneCharts(const ToneChartData &t)
{
    telnetreply::plotToneCharts(t, m_bitsPage, m_telnetPage, *m_toneCharts, *m_images);
}

// ---- E-mail -----------------------------------------------------------------

void TForm1::createMailer()
{
    m_emailHost = std::make_unique<MainEmailHost>(*m_images, *m_routerLog, *m_log);
    m_mailer = new Mailer(Settings, Run, *m_emailHost, SettingsFilePath, this);
    m_mailerWiring = new MailerWiring(*m_mailer, *m_alarmActions, *Panel29, m_alarmPage->btnSendEmailNow, Settings,
                                      windowHost(), this);
}

void TForm1::Image23Click() { m_mailerWiring->successEnvelopeClicked(); }
void TForm1::Image24Click() { m_mailerWiring->errorEnvelopeClicked(EnvelopeErrorBox); }

WindowHost TForm1::windowHost()
{
    WindowHost host;
    host.systemMessage = [this](const QString &text) { SystemMessage(text); };
    host.messageBox = [this](const QString &text, bool warning) { return showMessageBox(mainCaption(), text, warning); };
    host.statusPanel = [this](int panel) { return statusPanel(panel); };
    host.setStatusPanel = [this](int panel, const QString &text) { setStatusPanel(panel, text); };
    return host;
}

// ---- Alarms and log (the actions and the log file hang off these) ---------

void TForm1::AlarmTriggered(const QString &kind) { m_alarmActions->AlarmTriggered(kind); }

void TForm1::writeConnectionLog(const QString &text)
{
    if (m_log->LogTrimInProgress())
        return;
    m_log->WriteLogNow(text);
    m_log->WriteLogNow(Run.LogLine);
}

void TForm1::tmrLogAtTimer() { m_log->WriteLogNow(Run.LogLine); }

void TForm1::btnWriteNowClick()
{
    m_alarmActions->writeToChosenLog(writeNowLine(Settings, Run, m_telnetFigures, statusPanel(1)));
}

void TForm1::Button1Click() { m_logCommands->saveMessages(); }
void TForm1::btnViewLogClick() { m_logCommands->viewLog(); }
void TForm1::mnuLogClick(int chart) { m_logCommands->includeInLog(chart); }
void TForm1::btnLogClick() { m_logCommands->copyToLog(); }

void TForm1::showFigureCaptions(const FigureSearchResult &r)
{
    windowpages::showFigureCaptions(PageControl1, *Charts, {Label2, Label4, Label5, Label22}, r);
}

// ---- Charts -----------------------------------------------------------------

void TForm1::wireChartMenus()
{
    ChartMenuHost host;
    host.includeInLog = [this](int chart) { mnuLogClick(chart); };
    host.changeResetTime = [this] { ChangeTime1Click(); };
    host.topChart = [this] { return GetTopChart(); };
    host.graphConfiguration = [this] { YAxis1Click(); };
    host.statusChartsMenuShown = [this] { CheckCameras(); };
    host.systemMessage = [this](const QString &text) { SystemMessage(text); };
    host.indicatorsChanged = [this](const QMap<QString, bool> &states) { setIndicators(states); };
    m_chartMenus = wireChartWindow({*Charts, Settings, Run, m_telnetFigures, *m_scaling, *m_telnetPlotting,
                                    *m_interaction, [this] { return btnStart->isChecked(); }},
                                   {Timer1, Panel30, *m_commands, *m_toneCharts, *m_bitsRefresh,
                                    m_bitsPage ? m_bitsPage->btnBitsRefresh : nullptr},
                                   host, this);
}

void TForm1::wireSettings()
{
    m_binder = new LiveBinder(*m_hub, this);
    // The window's pages only: the dialogs the window owns have controls of their own.
    m_binder->bind(PageControl1, windowBindings());
    m_binder->follow(m_commitRefresh->followers());
    m_binder->follow(WebPage->followers());
    m_binder->follow(m_alarmPage->followers());
    if (m_pingControls)
        m_binder->follow(m_pingControls->followers());
    for (const QString &p : m_binder->problems())
        qWarning("Window binding: %s", qPrintable(p));
    // What the chart menus' items write is announced once their handlers have run.
    std::function<void(QMenu *)> announceItems = [&](QMenu *menu) {
        for (QAction *item : menu->actions()) {
            if (item->menu())
                announceItems(item->menu());
            else
                connect(item, &QAction::triggered, m_hub, &SettingsHub::sync);
        }
    };
    for (QMenu *menu : m_chartMenus->menus())
        announceItems(menu);
    m_commitRefresh->applyBitsGraph();
    StatusPage->applySettings(); // built before the settings were loaded; its box is bound by now
    m_hub->sync();
}

void TForm1::showUserFigurePage() { windowpages::showUserFigurePage(PageControl1, *Charts); }

void TForm1::setIndicators(const QMap<QString, bool> &states)
{
    for (auto it = states.cbegin(); it != states.cend(); ++it)
        if (auto sign = m_indicators.find(it.key()); sign != m_indicators.end())
            sign->second->setOverRange(it.key(), it.value());
}

void TForm1::showIndicators(const QStringList &names)
{
    for (auto &[name, signs] : m_indicators)
        signs->setOverRange(name, names.contains(name));
}

