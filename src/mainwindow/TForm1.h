#pragma once
// The main window. It owns the process-wide settings and the subsystem
// objects and wires them together; the logic lives in those objects.
#include "acquisition/RunSchedule.h"
#include "acquisition/RunState.h"
#include "acquisition/TelnetFigures.h"
#include "common/SteadyTimer.h"
#include "configuration/DialogOwner.h"
#include "widgets/LinePane.h"
#include "mainwindow/FigureLabelsRow.h"
#include "mainwindow/MainStatusBar.h"
#include "mainwindow/MainTimers.h"
#include "mainwindow/MainToolBars.h"
#include "mainwindow/NoiseTrayIcon.h"
#include "mainwindow/SaveProgressBar.h"
#include "settings/TSettings.h"

#include <QMainWindow>
#include <QPointer>
#include <QMap>
#include <QString>
#include <map>
#include <vector>
#include <memory>

class QCheckBox;
class QLabel;
class QMenu;
class QAction;
class QMessageBox;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTimer;

class StatusChannel;
class RouterHttpClient;
class PollingCycle;
class MainCycleHost;
class QFileDialog;
class NoiseTrayIcon;
class StatisticsLog;
class AlarmInputs;
struct FigureSearchResult;
class ChartSet;
class AxisScaling;
class PlottingStep;
class TelnetPlotting;
class DailyTimer;
class PingRunner;
class RouterLog;
class PingPlotting;
class GraphImages;
class WebServerPage;
class Mailer;
class TelnetSession;
class TelnetPage;
class AlarmActions;
class AlarmPage;
class SirenPlayer;
class MainAlarmTelnet;
class MainEmailHost;
class PollImages;
class ScheduleRunButton;
class StatusPageTab;
class RouterViewers;
class LogCommands;
class TelnetScriptRunner;
class ChartInteraction;
class ChartPopupMenus;
class ChartPageControls;
class PingControls;
class ChartCommands;
class CameraIndicators;
class GraphViewer;
class QToolButton;
class QToolBar;
class ChartCornerSigns;
class EnvelopePanel;
class ElidingLabel;
class BitLoadingRefresh;
class ToneCharts;
class BitsTonePage;
class ThomsonSession;
class BitloadingPage;
class TForm2;
class CommitRefresh;
class SettingsHub;
class LiveBinder;
class RunSequence;
class ShutDownSequence;

class TForm1 : public QMainWindow, public DialogOwner {
    Q_OBJECT
    // The window's own steps, kept in files of their own: they reach its
    // parts directly, many of which are created after them.
    friend class MainCycleHost;
    friend class CommitRefresh;

public:
    // safeStart: started with a command-line argument or with Shift held.
    explicit TForm1(bool safeStart, QWidget *parent = nullptr);
    ~TForm1() override;

    TSettings &settings() override { return Settings; }
    RunState &runState() { return Run; }
    PlottingStep *plotting() const { return m_plotting.get(); }
    const TelnetFigures &telnetFigures() const { return m_telnetFigures; }
    TelnetFigures &telnetFigures() { return m_telnetFigures; }
    // A user figure's label (figure 1 or 2) on its chart title, tab caption and figure label.
    void showUserLabel(int figure);
    // Draws a telnet reply's bit loading, SNR and bitswaps per tone.
    void plotToneCharts(const struct ToneChartData &t);
    // Shows the over-range signs of the latest poll and hides the others.
    void showIndicators(const QStringList &names);
    // The labels and captions a poll's figure search produced.
    void showFigureCaptions(const FigureSearchResult &r);
    // The chart that is showing (toolbar capture, copy and print act on it).
    int GetTopChart() const;
    const QString &settingsFilePath() const override { return SettingsFilePath; }
    // The help file written beside the settings file at every start.
    QString helpFilePath() const;

    // Redraws the tray, application and overlay icon for the latest noise point's colour.
    void IconNoise(TColor colour) override;
    // The tray hint of the latest poll.
    void setTrayHint();

    // Writes every setting to the settings file; true when the file was written.
    bool SaveIni();

    void SystemMessage(const QString &text) override;
    // The system ends the program (SIGTERM, log-out): shut down without asking.
    void requestEnd();
    void setStatusPanel(int panel, const QString &text);
    QString statusPanel(int panel) const;

    static QString mainCaption() { return QStringLiteral("Veltrano 6.3"); }
    static QString runningCaption() { return mainCaption() + QStringLiteral("    [Running]"); }

public slots:
    void btnSaveClick();
    void btnClearClick();
    // The system messages pane's lines into a file the user names.
    void Button1Click();
    void StatusPopupPopup();
    void mnuStartWebServerClick();
    void mnuEnableLogClick();
    void btnWebStartClick();
    void btnWebStopClick();
    void btnStartClick();
    void btnStopClick();
    // One polling cycle; firstCycle for the cycles Run starts itself.
    void Timer1Timer(bool firstCycle = false);
    void tmrAutoStartDelayTimer();
    void tmrLogAtTimer();
    void FormShow();
    void PageControl1Change();
    void tmrStartMinimizedTimer();
    void btnWriteNowClick();
    void btnLogClick();
    // "Include In Log" on a chart's popup: toggles that chart's logging switch.
    void mnuLogClick(int chart);
    // The ping box: the failure alarm's controls follow it.
    void cbPingClick(bool checked);
    void btnViewLogClick();
    void btnOnTopClick();
    void btnHelpClick();
    void RestoreVeltrano1Click();
    void CloseVeltrano1Click();
    void mnuShowNoiseClick(bool on);
    // "Change Time..." of the byte charts' menu: the daily re-basing time.
    void ChangeTime1Click();
    void btnViewGraphsClick();
    void btnFontClick();
    void Button2Click();
    void Image23Click();
    void Image24Click();
    // Openers of the Configuration dialog: the toolbar button and the
    // "Configure Graphs" menu items.
    void btnConfigureClick();
    void YAxis1Click();
    void CommonSettings1Click();
    void CaptureProperties1Click();
    void SetAverages1Click();
    void CaptureSize1Click();

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // Used by the window and its own steps only.

    // Pieces of start-up that a Configuration commit repeats.
    void applySampleInterval();
    void applyStayOnTop();
    void statusChannelUtc(bool utc);
    // Sets the named over-range signs and leaves the others as they are.
    void setIndicators(const QMap<QString, bool> &states);
    bool isRunning() const;
    // Decides CaptureActive and shows every chart's capture pictures.
    void CheckCameras();
    // The daily-capture picture with the configured time on every chart.
    void UpdateCameraIcon();
    // The telnet terminal and statistics panes take the font settings.
    void SetMemoFonts();
    // The pointer-over hint: noise margin, sync speed and the user figures' labels.
    void TrayIconMouseMove();
    NoiseTrayIcon::Figures trayFigures() const;
    // Raises an alarm by its kind ("Disconnected", "NoiseHi", ...).
    void AlarmTriggered(const QString &kind);
    // The connection change's own log line followed by the poll's line.
    void writeConnectionLog(const QString &text);

    void FormCreate();
    // The chart menus' command items that this window serves.
    void wireChartMenus();
    void createMailer();
    // The window's messages, boxes and status panels for the areas it wires.
    struct WindowHost windowHost();
    void SetToolbar();
    void writeHelpFile();
    // fromTray: the tray menu's Close, which closes whatever CloseToTray says.
    void FormCloseQuery(bool ending, bool fromTray = false);
    void buildWidgets();
    void applySettingsToWindow();
    void storeWindowState();
    void reportLoadProblems(const QStringList &problems, const QString &readError);
    // A box that does not block the event loop; polling and timers go on while it is up.
    QMessageBox *showMessageBox(const QString &title, const QString &text, bool warning);
    // The Run/Stop and close sequences, once the window's parts exist.
    void createSequences();
    // The binding table and the followers: every settings change reaches the window through them.
    void wireSettings();
    // The first user-figure page, brought to the front.
    void showUserFigurePage();

    TSettings Settings;
    SettingsHub *m_hub = nullptr;
    LiveBinder *m_binder = nullptr;
    QString SettingsFilePath;
    bool m_safeStart = false;
    bool m_endRequested = false;
    StatusChannel *m_status = nullptr;
    QString m_lastCaption;
    RunState Run;
    RouterHttpClient *HTTP = nullptr;
    StatisticsLog *m_log = nullptr;
    AlarmInputs *m_alarmInputs = nullptr;
    AlarmActions *m_alarmActions = nullptr;
    AlarmPage *m_alarmPage = nullptr;
    SirenPlayer *m_siren = nullptr;
    std::unique_ptr<MainAlarmTelnet> m_alarmTelnet;
    ChartSet *Charts = nullptr;
    std::unique_ptr<AxisScaling> m_scaling;
    std::unique_ptr<PlottingStep> m_plotting;
    GraphImages *m_images = nullptr;
    std::unique_ptr<MainEmailHost> m_emailHost;
    Mailer *m_mailer = nullptr;
    TelnetSession *m_telnet = nullptr;
    TelnetPage *m_telnetPage = nullptr;
    BitLoadingRefresh *m_bitsRefresh = nullptr;
    ToneCharts *m_toneCharts = nullptr;
    BitsTonePage *m_bitsPage = nullptr;
    QWidget *m_bitsOptionsTab = nullptr; // the page that holds m_bitsPage, scrolling
    ThomsonSession *m_thomson = nullptr;
    BitloadingPage *m_bitloadingPage = nullptr;
    TelnetFigures m_telnetFigures;
    std::unique_ptr<TelnetPlotting> m_telnetPlotting;
    QTimer *tmr15Mins = nullptr;
    DailyTimer *m_daily = nullptr;
    PingRunner *m_ping = nullptr;
    RouterLog *m_routerLog = nullptr;
    std::unique_ptr<PingPlotting> m_pingPlotting;
    ChartInteraction *m_interaction = nullptr;
    ChartPopupMenus *m_chartMenus = nullptr;
    ChartPageControls *m_pageControls = nullptr;
    PingControls *m_pingControls = nullptr;
    QPlainTextEdit *Memo6 = nullptr; // ping output
    void parseTelnetReply(const struct TelnetReply &reply);
    class MailerWiring *m_mailerWiring = nullptr;
    // The poll failure panel 0 shows until a poll is answered, and what it covered.
    QString m_pollFailureShown;
    QString m_panel0BeforePollFailure;
    std::unique_ptr<PollImages> m_pollImages;
    ChartCommands *m_commands = nullptr;
    CameraIndicators *m_cameras = nullptr;
    GraphViewer *Form3 = nullptr;
    std::map<QString, ChartCornerSigns *> m_indicators; // over-range signs by name
    MainCycleHost *m_cycleHost = nullptr;
    PollingCycle *m_cycle = nullptr;
    RunSequence *m_runSequence = nullptr;
    ShutDownSequence *m_shutDown = nullptr;
    ScheduleMode m_pendingSchedule = ScheduleMode::Immediate; // handed from the schedule menu to Run
    TelnetScriptRunner *m_scripts = nullptr;
    QString m_scriptFileName; // the script last chosen for the script viewer
    RouterViewers *m_viewers = nullptr;
    LogCommands *m_logCommands = nullptr;
    TForm2 *m_config = nullptr;
    std::unique_ptr<CommitRefresh> m_commitRefresh;
    // The window's chrome as built; the public names below refer into these.
    MainToolBars m_toolBars;
    FigureLabelsRow m_figureLabels;
    SaveProgressBar m_saveProgress;
    MainStatusBar m_statusBar;
    MainTimers m_timers;

public:
    // Components named as the rest of the program refers to them.
    QTabWidget *PageControl1 = nullptr;
    QWidget *TabSheet40 = nullptr; // system messages
    LinePane *memSys = nullptr;
    QCheckBox *cbEnableSystem = nullptr;
    QCheckBox *cbSuppressErrors = nullptr;
    QPushButton *btnClear = nullptr;
    QPushButton *Button1 = nullptr; // "Save As..." of the system messages
    QPushButton *&btnSave = m_toolBars.btnSave;
    QPushButton *&btnStart = m_toolBars.btnStart;
    QPushButton *&btnStop = m_toolBars.btnStop;
    ScheduleRunButton *&btnSchedRun = m_toolBars.btnSchedRun;
    QPushButton *&btnViewRouterLog = m_toolBars.btnViewRouterLog;
    StatusPageTab *StatusPage = nullptr; // TabSheet4, the router status page
    QPushButton *&btnOnTop = m_toolBars.btnOnTop;
    QPushButton *&btnHelp = m_toolBars.btnHelp;
    QToolButton *&btnCaptureAll = m_toolBars.btnCaptureAll;
    QToolButton *&btnCopy = m_toolBars.btnCopy;
    QToolButton *&btnViewGraphs = m_toolBars.btnViewGraphs;
    QPushButton *btnFont = nullptr;
    QPushButton *Button2 = nullptr;
    QToolButton *&btnConfigure = m_toolBars.btnConfigure; // with the "Configure Graphs" menu on its arrow
    QToolBar *&ToolBar1 = m_toolBars.ToolBar1;
    QToolBar *&ToolBar2 = m_toolBars.ToolBar2;
    QString BuildStamp;
    SteadyTimer *&Timer1 = m_timers.Timer1; // polling
    QTimer *&tmrAutoStartDelay = m_timers.tmrAutoStartDelay;
    QTimer *&tmrStartMinimized = m_timers.tmrStartMinimized;
    bool FormShownOnce = false;
    NoiseTrayIcon *TrayIcon = nullptr;
    SteadyTimer *tmrLogAt = nullptr; // the log line every LogAtInterval minutes
    QPushButton *btnWriteNow = nullptr;
    QPushButton *&btnViewLog = m_toolBars.btnViewLog;
    QPushButton *&btnLog = m_toolBars.btnLog;
    QWidget *TabSheet29 = nullptr; // alarms
    QLabel *&Label2 = m_figureLabels.Label2;  // Rx noise
    QLabel *&Label4 = m_figureLabels.Label4;  // Rx sync
    EnvelopePanel *&Panel29 = m_figureLabels.Panel29; // the e-mail envelope
    QPointer<QMessageBox> EnvelopeErrorBox;
    QLabel *Label65 = nullptr; // noise margin change limits and average
    QLabel *Label66 = nullptr;
    QLabel *Label67 = nullptr;
    QLabel *&Label5 = m_figureLabels.Label5;  // user figure 1 caption
    QLabel *&Label22 = m_figureLabels.Label22; // user figure 2 caption
    QLabel *&Panel30 = m_figureLabels.Panel30; // the timeline zoom factor
    QString StartedText;
    QPointer<QMessageBox> AppendConfirmBox;
    QPointer<QFileDialog> LogSaveDialog;
    QPushButton *btnWebStart = nullptr; // the web server page's start button
    WebServerPage *WebPage = nullptr;
    QProgressBar *&pb1 = m_saveProgress.pb1;
    QTimer *&Timer2 = m_saveProgress.Timer2;
    std::array<ElidingLabel *, 4> &StatusPanels = m_statusBar.panels;
    QMenu *&StatusPopup = m_statusBar.StatusPopup;
    QAction *&mnuStartWebServer = m_statusBar.mnuStartWebServer;
    QAction *&mnuEnableLog = m_statusBar.mnuEnableLog;
    QPointer<QMessageBox> ClearConfirmBox;
    QPointer<class TForm10> LogOptionsWarning;
    QPointer<QMessageBox> CloseConfirmBox;
};
