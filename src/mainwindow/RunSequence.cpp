#include "mainwindow/RunSequence.h"

#include "acquisition/BitLoadingRefresh.h"
#include "acquisition/PollingCycle.h"
#include "acquisition/RouterHttpClient.h"
#include "acquisition/RunState.h"
#include "acquisition/TelnetFigures.h"
#include "acquisition/TelnetSession.h"
#include "acquisition/ThomsonSession.h"
#include "charts/TelnetPlotting.h"
#include "charts/ToneCharts.h"
#include "common/Clock.h"
#include "common/DateTimePattern.h"
#include "common/SteadyTimer.h"
#include "common/Trace.h"
#include "configuration/TForm10.h"
#include "mainwindow/StatusChannel.h"
#include "notify/AlarmActions.h"
#include "notify/DailyTimer.h"
#include "notify/StatisticsLog.h"
#include "pages/AlarmPage.h"
#include "pages/BitloadingPage.h"
#include "settings/TSettings.h"
#include "widgets/PageView.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <utility>

RunSequence::RunSequence(QWidget &window, const RunParts &parts, const RunBoxes &boxes, RunSequenceHost host)
    : QObject(&window), m_window(window), m_parts(parts), m_boxes(boxes), m_host(std::move(host))
{
}

void RunSequence::putStopDown() { m_parts.btnStop.setChecked(true); }

// A Run that does not go through leaves the buttons saying whether monitoring runs.
void RunSequence::showWhetherRunning()
{
    (m_parts.run.Running ? m_parts.btnStart : m_parts.btnStop).setChecked(true);
}

void RunSequence::clearFallbacks()
{
    m_parts.telnetFigures.resetForRun();
    m_parts.run.LastGoodRxNoise = 0;
    m_parts.run.LastGoodRxSync = 0;
    m_parts.run.LastSampleSecond = Clock::currentDateTimeUtc().toSecsSinceEpoch();
}

void RunSequence::SystemMessage(const QString &text) { m_parts.status.systemMessage(text); }

void RunSequence::start(ScheduleMode mode)
{
    TSettings &Settings = m_parts.settings;
    RunState &Run = m_parts.run;
    ++m_generation;
    m_schedule = mode;
    // The fallbacks of the last run go first, whether or not this one starts.
    // While monitoring runs they are its own: they go only once this Run arms.
    m_clearFallbacksAtArm = Run.Running;
    if (!m_clearFallbacksAtArm)
        clearFallbacks();

    // Something must be there to monitor; the buttons stay as they were.
    auto refuse = [this](const QString &text) {
        showWhetherRunning();
        m_host.messageBox(text);
    };
    if (Settings.Search.NoiseText.isEmpty() && Settings.Search.SyncText.isEmpty() && Settings.Search.UserText.isEmpty()) {
        refuse(QStringLiteral("No value has been selected to monitor."));
        return;
    }
    if (Settings.Router.Login.isEmpty() && !Settings.Telnet.DisableHTTP) {
        refuse(QStringLiteral("The router Login URL needs to be specified."));
        return;
    }

    Run.SampleStamp = Settings.Graph.UTCTime ? Clock::currentDateTimeUtc() : Clock::currentDateTime();

    // A log that nothing would ever write to: ask before monitoring starts.
    if (TForm10::needed(Settings, m_parts.alarmPage.cbWriteAlarmToLog->isChecked())) {
        const quint64 generation = m_generation;
        m_boxes.logOptionsWarning = TForm10::ask(&m_window, Settings, [this, generation](bool carryOn) {
            if (m_host.settingsAnswered)
                m_host.settingsAnswered();
            if (generation != m_generation)
                return;
            if (!carryOn) {
                showWhetherRunning();
                return;
            }
            settleLogFile();
        });
        return;
    }
    settleLogFile();
}

// An existing log gets appended to only with the user's word (unless told not to ask).
void RunSequence::settleLogFile()
{
    TSettings &Settings = m_parts.settings;
    if (!Settings.System.Log || !QFileInfo::exists(Settings.System.LogFile) || Settings.System.DontConfirm
        || Settings.System.NewLog) {
        arm();
        return;
    }
    const quint64 generation = m_generation;
    auto *box = new QMessageBox(QMessageBox::Question, m_host.caption,
                                QStringLiteral("Append new data to \"%1\" ?").arg(Settings.System.LogFile),
                                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, &m_window);
    box->setObjectName(QStringLiteral("AppendConfirmBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->move(m_window.geometry().left() + 200, m_window.geometry().top() + 200);
    connect(box, &QMessageBox::finished, this, [this, box, generation](int) {
        if (generation != m_generation)
            return;
        TSettings &Settings = m_parts.settings;
        const auto answer = box->standardButton(box->clickedButton());
        if (answer == QMessageBox::Yes) {
            arm();
        } else if (answer == QMessageBox::No) {
            auto *dialog = new QFileDialog(&m_window, QString(), QFileInfo(Settings.System.LogFile).absolutePath(),
                                           QStringLiteral("Text Files (*.txt);;All Files(*.*)"));
            dialog->setObjectName(QStringLiteral("LogSaveDialog"));
            dialog->setAcceptMode(QFileDialog::AcceptSave);
            dialog->setAttribute(Qt::WA_DeleteOnClose);
            connect(dialog, &QFileDialog::fileSelected, this, [this, generation](const QString &file) {
                if (generation != m_generation)
                    return;
                m_parts.settings.System.LogFile = file;
                if (m_host.settingsAnswered)
                    m_host.settingsAnswered();
                arm();
            });
            // A cancel that comes after Stop or a newer Run leaves the buttons to that.
            connect(dialog, &QFileDialog::rejected, this, [this, generation] {
                if (generation == m_generation)
                    showWhetherRunning();
            });
            m_boxes.logSaveDialog = dialog;
            dialog->open();
        } else {
            showWhetherRunning();
        }
    });
    m_boxes.appendConfirmBox = box;
    trace::write(QStringLiteral("box"), box->text());
    box->open();
}

void RunSequence::arm()
{
    const TSettings &s = m_parts.settings;
    RunState &Run = m_parts.run;
    if (std::exchange(m_clearFallbacksAtArm, false))
        clearFallbacks();
    // Set here, not before the questions: a cancelled Run leaves a running
    // monitor's view of the connection alone.
    Run.ConnectionStatus = QStringLiteral("Connected");
    m_parts.timer1.setInterval(s.System.Sample * 1000);
    if (s.System.Log) {
        m_parts.tmrLogAt.setInterval(s.Log.LogAtInterval * 60 * 1000);
        if (s.Log.LogAtEvery)
            m_parts.tmrLogAt.start();
        m_parts.log.startRun();
    }

    runschedule::apply(m_schedule, Run);
    m_parts.btnStart.setChecked(true);
    if (m_schedule == ScheduleMode::Immediate)
        m_window.setWindowTitle(m_host.runningCaption);
    else
        m_window.setWindowTitle(
            runschedule::windowCaption(m_host.caption, m_schedule, s.Capture.FromHours, s.Capture.ToHours));
    if (m_parts.pageViewer)
        m_parts.pageViewer->setDefaultTextColour(QApplication::palette().color(QPalette::Active, QPalette::ButtonText));
    Run.UserDiffBase1 = 0;
    Run.UserDiffBase2 = 0;
    Run.PointsPlotted = 0;
    m_parts.bitsRefresh.runArm();
    m_parts.toneCharts.setRunning(true);
    if (s.Router.ST585 && s._585Telnet.RefreshBits && m_parts.bitloadingPage) {
        m_parts.bitloadingPage->btn585ConnectClick();
        m_parts.bitloadingPage->runStarted();
    }
    SystemMessage(QStringLiteral("Alarm timers reset"));

    Run.WanIPAddress.clear();
    m_boxes.startedText =
        QStringLiteral("  Started: ") + dtp::format(QStringLiteral("ddd dd mmm yyyy   hh:mm"), Run.SampleStamp);
    if (m_host.statusPanel(0).isEmpty())
        m_host.setStatusPanel(0, m_boxes.startedText);
    if (s.Telnet.DisableHTTP)
        SystemMessage(QStringLiteral("HTTP DISABLED. Experimental feature. Some functions may not work as expected!"));
    m_parts.alarmActions.resetForRun();
    // The counter charts are re-based every 15 minutes or every day.
    m_parts.tmr15Mins.setInterval(s.Graph.Latest15 ? 900000 : 86400000);
    m_parts.telnetPlotting.tmr15MinsTimer();
    if (s.Graph.Latest15 || s.Graph.Latest1day)
        m_parts.tmr15Mins.start();
    m_host.hideEnvelope();
    SystemMessage(QStringLiteral("Run button clicked"));

    m_parts.timer1.start();
    m_parts.daily.start();
    Run.Running = true;
    m_parts.telnet.setRunning(true);

    // Run's own first cycle, at once; after a Stop the first one waits for the timer.
    m_secondFirstCycle = false;
    if (Run.StoppedSinceRound) {
        m_inFirstCycles = false;
        finish();
        return;
    }
    m_inFirstCycles = true;
    if (!m_parts.cycle.start(true)) {
        m_inFirstCycles = false;
        finish();
    }
}

void RunSequence::firstCycleDone()
{
    if (!m_inFirstCycles)
        return;
    // A first poll that found no noise margin gets one more try at once.
    if (!m_secondFirstCycle && m_parts.run.Figures.RxNoise == 0 && m_host.isRunning()) {
        m_secondFirstCycle = true;
        if (m_parts.cycle.start(true))
            return;
    }
    m_inFirstCycles = false;
    finish();
}

void RunSequence::finish()
{
    const TSettings &s = m_parts.settings;
    // The telnet session is connected, or refreshed, as monitoring starts.
    if (s.Router.Telnet && !s.Router.ST585) {
        if (!m_parts.telnet.isConnected() && !m_parts.telnet.isConnecting())
            m_parts.telnet.btnConnectClick(TelnetSender::RunButton);
        else if (m_parts.telnet.isConnected())
            m_parts.telnet.btnRefreshClick();
    }
    if (m_parts.status.isEnabled()) {
        if (s.System.Log && s.Log.LogAtEvery)
            SystemMessage(QStringLiteral("Logging enabled.  Log at %1 minute intervals.").arg(s.Log.LogAtInterval));
        if (s.System.Log && s.Log.LogAtSample)
            SystemMessage(QStringLiteral("Logging enabled.  Log every %1 seconds.").arg(s.System.Sample));
        if (s.System.Log && s.Log.LogState)
            SystemMessage(QStringLiteral("Logging enabled.  Log router connection status changes."));
        if (s.System.Log && s.Alarm.LogAlarm && s.Alarm.State)
            SystemMessage(QStringLiteral("Logging enabled.  Log ppp session status (Alarm) dropout."));
        if (s.Log.TrimLog)
            SystemMessage(QStringLiteral("Log trimming enabled. Trim to %1 lines at %2").arg(s.Log.TrimLines).arg(s.Log.TrimTime));
    }
    SystemMessage(QStringLiteral("Started"));
}

void RunSequence::stop()
{
    RunState &Run = m_parts.run;
    ++m_generation;
    m_inFirstCycles = false;
    // Outstanding requests go with the cycle; nothing is sent after Stop.
    m_parts.cycle.cancel();
    m_parts.http.cancelAll();
    m_parts.http.disconnectFromRouter();
    m_window.setWindowTitle(m_host.caption);

    Run.ScheduleWaiting = false;
    Run.SchedulePlotOnly = false;
    m_parts.alarmActions.stopped();
    m_parts.timer1.stop();
    m_parts.tmr15Mins.stop();
    m_parts.bitsRefresh.stop();
    m_parts.toneCharts.setRunning(false);
    m_parts.daily.stop();
    if (m_parts.pageViewer)
        m_parts.pageViewer->setDefaultTextColour(QApplication::palette().color(QPalette::Disabled, QPalette::Text));
    Run.Running = false;
    m_parts.telnet.setRunning(false);
    putStopDown();
    m_parts.log.setCurrentFileName(QString());
    m_host.setStatusPanel(1, QString());

    // The SpeedTouch 585 session ends its own way and says nothing more.
    if (m_parts.settings.Router.ST585) {
        if (m_parts.bitloadingPage)
            m_parts.bitloadingPage->btn585DisconnectClick();
        else
            m_parts.thomson.logout();
        return;
    }
    if (m_parts.settings.Telnet.DisconnectOnStop && m_parts.telnet.isConnected())
        m_parts.telnet.btnDisConnect1Click();
    Run.StoppedSinceRound = true;
    SystemMessage(QStringLiteral("Stopped"));
}
