#pragma once
// The Configuration dialog "Veltrano - Configuration". Created once with the
// main window, it edits the process-wide settings: its controls are loaded
// at creation and copied back (with the main window brought in line) at each
// close; "Apply && Save" and a change of the main or telnet tabs also write
// the settings file.
#include "configuration/CommitGroup.h"
#include "acquisition/RunState.h"
#include "settings/TSettings.h"

#include <QDialog>
#include <QPointer>
#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QMessageBox;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTabWidget;
class QTimer;
class ExclusiveRadios;
class SettingsBinder;
class SettingsHub;
class LiveBinder;
class RouterLoginPage;
class RouterSearchTextPage;
class AxesPage;
class CommonSettingsPage;
class CapturePropertiesPage;
class ExtrasPage;
class SystemPage;
class LogFileFormatPage;
class LogSchedulePage;
class EmailPage;
class NetgearSettingsPage;
class ExperimentalSettingsPage;

class TForm2 : public QDialog {
    Q_OBJECT
public:
    TForm2(TSettings &settings, RunState &run, const QString &settingsFilePath, const QString &buildStamp,
           QWidget *mainWindow);
    ~TForm2() override;

    // Writes the settings file; true when written.
    void setSaver(std::function<bool()> save) { m_save = std::move(save); }
    // Where the dialog announces what it changed (each commit group, each live
    // handler) and hears what changed elsewhere: its controls of those keys reload.
    void setSettingsHub(SettingsHub *hub);
    // Whether the main window's web server is running (asked before its tab is hidden).
    void setWebServerRunning(std::function<bool()> running) { m_webServerRunning = std::move(running); }

    // The title of a user chart as the label and scale boxes set it while typing:
    // the scale form wins over the per-sample form here.
    static QString liveUserChartTitle(const QString &label, int scale, bool perSample);
    // The spin step of a user scale for its value (10000 keeps the step it had).
    static int scaleStep(int value, int currentStep);

    // Openers: the toolbar button, and the "Configure Graphs" items with their
    // sub-page ("Axes", "Common", "Capture", "Extras"). Nothing while showing.
    void btnConfigureClick();
    void openGraphPage(const QString &subPage);

    // The close query: validation and commit. False keeps the dialog open.
    bool FormCloseQuery();
    void btnApplyClick();

    SettingsBinder &binder() const { return *m_binder; }

    QString ConfigPageRequest;
    QString ConfigSubPageRequest;
    bool RestartNoticePending = false;

    QTabWidget *PageControl1 = nullptr;
    QTabWidget *PageControl2 = nullptr;
    QTabWidget *PageControl3 = nullptr;
    QTabWidget *PageControl4 = nullptr;
    QWidget *TabSheet3 = nullptr;  // Graphs
    QWidget *TabSheet10 = nullptr; // Log
    QWidget *TabSheet7 = nullptr;  // Telnet
    RouterLoginPage *Router = nullptr;
    RouterSearchTextPage *Search = nullptr; // TabSheet2, the figure teaching page
    QCheckBox *cbUseSource = nullptr;
    QCheckBox *cbLoopback = nullptr;
    AxesPage *Axes = nullptr;
    CommonSettingsPage *Common = nullptr;
    CapturePropertiesPage *Capture = nullptr;
    ExtrasPage *Extras = nullptr;
    SystemPage *System = nullptr;
    LogFileFormatPage *LogFormat = nullptr;
    LogSchedulePage *LogSchedule = nullptr;
    EmailPage *Email = nullptr;
    NetgearSettingsPage *Netgear = nullptr;
    ExperimentalSettingsPage *Experimental = nullptr;
    QPushButton *btnClose = nullptr;
    QPushButton *btnApply = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QLabel *StatusPanels[2] = {};
    QTimer *Timer1 = nullptr; // first run
    QTimer *Timer2 = nullptr; // clears the status bar
    QPointer<QMessageBox> MessageBox;

public slots:
    // Router model presets; they act only while the dialog is showing.
    void rbV1234Click();
    void rbV5Click();
    void rbNotNetgearClick();
    void rbST585Click();
    // Telnet family and chipset.
    void rbV4Click();
    void rbV5TelnetClick();
    void rbAR7Click();
    void cbIsDGTeamClick();
    void cbLoginTelnetClick();
    void cbTelnetClick();
    void btnTelnetDefaultsClick();
    void btnRestoreClick();
    void edLoginURLExit();
    void edLogoutURLExit();
    void Timer1Timer();
    void Timer2Timer();

signals:
    // A close query passed its range checks and committed every control: the
    // main window brings in line what a commit sets even when nothing changed.
    void committed();
    // "Restore  Defaults" put back the pane fonts: the main window applies them.
    void memoFontsChanged();
    void helpRequested();
    // The "Router Search Text" page was shown (the main window's DG834-only controls follow).
    void searchPageShown();
    void logHeaderRequested();        // the next log line gets a header
    void trimLogRequested();
    void sendEmailRequested(const QString &reason);
    void webServerStopRequested();
    void bitsChartsResetRequested();
    // The small dialogs these buttons open that preview on, or report to, the main window.
    void iconFontDialogRequested();
    void maintenanceDialogRequested();

public:
    // Escape closes through the close query like the close box, so it commits too.
    void reject() override { close(); }

protected:
    void showEvent(QShowEvent *event) override;
    // Moves the dialog to `at` and sizes it for its pages, all within the screen.
    void placeOnScreen(const QPoint &at);
    void closeEvent(QCloseEvent *event) override;

private:
    void buildPages();
    void wireHandlers();
    void FormCreate();
    void FormShow();
    void loadControls();
    void readPageMemory();
    void rememberPages();
    void applyModelPreset(int model);
    void finishModelChange();
    void updateFitIndicator();
    void updateDebugControls();
    void updateLogoutGroup(bool st585);
    void updateStatusBarCaption();
    void wireLiveHandlers();
    void wireActionButtons();
    void pageShown(QWidget *page);
    void userLabelEdited(int figure);
    // The captions that carry the user figures' labels, from the settings.
    void showUserLabelCaptions();
    void updateAveragingStates();
    void updateCaptureSchedule();
    bool confirm(const QString &text, int dx, int dy, std::function<void()> onYes, std::function<void()> onCancel = {});
    void setChipsetFromFamilies();
    void commitGroup(CommitGroup group);
    // Announces whatever the dialog has written since the last announcement.
    void announce();
    // After each edit's own handlers have run, what they wrote is announced.
    void announceAfterEdits();
    void followSettings();
    void showStatus(const QString &text);
    QMessageBox *messageBox(const QString &text, int dx, int dy);

    TSettings &m_settings;
    RunState &m_run;
    QString m_settingsFilePath;
    QString m_buildStamp;
    QWidget *m_mainWindow;
    std::unique_ptr<SettingsBinder> m_binder;
    ExclusiveRadios *m_radios = nullptr;
    std::function<bool()> m_save;
    SettingsHub *m_hub = nullptr;
    LiveBinder *m_live = nullptr;
    std::function<bool()> m_webServerRunning;
    bool m_restoringPages = false;
    bool m_shownOnce = false;
};
