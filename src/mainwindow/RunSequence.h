#pragma once
// Run and Stop: the checks and questions before monitoring starts, the arming
// of the timers, the run's own first cycles and what Stop ends. Each Run and
// each Stop starts a new generation: a question answered after the next Run or
// Stop does nothing. A Run that ends at a check or a question leaves
// monitoring, and Run and Stop, as they were.
#include "acquisition/RunSchedule.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class AlarmActions;
class AlarmPage;
class PageView;
class BitLoadingRefresh;
class BitloadingPage;
class DailyTimer;
class PollingCycle;
class QFileDialog;
class QMessageBox;
class QPushButton;
class QTimer;
class QWidget;
class RouterHttpClient;
class StatisticsLog;
class StatusChannel;
class SteadyTimer;
class TelnetPlotting;
class TelnetSession;
class ThomsonSession;
class ToneCharts;
class TForm10;
struct RunState;
struct TSettings;
struct TelnetFigures;

// What Run and Stop start, arm and end.
struct RunParts {
    TSettings &settings;
    RunState &run;
    QPushButton &btnStart;
    QPushButton &btnStop;
    SteadyTimer &timer1;   // polling
    SteadyTimer &tmrLogAt; // the log line every LogAtInterval minutes
    QTimer &tmr15Mins;     // re-bases the counter charts
    PollingCycle &cycle;
    RouterHttpClient &http;
    StatisticsLog &log;
    AlarmPage &alarmPage;
    AlarmActions &alarmActions;
    BitLoadingRefresh &bitsRefresh;
    ToneCharts &toneCharts;
    BitloadingPage *bitloadingPage; // the SpeedTouch 585's page, when it was built
    ThomsonSession &thomson;
    TelnetFigures &telnetFigures;
    TelnetPlotting &telnetPlotting;
    DailyTimer &daily;
    TelnetSession &telnet;
    StatusChannel &status;
    PageView *pageViewer = nullptr; // the router status page: its text shows whether monitoring runs
};

// Where the run's questions are kept while they are up, and the "Started" text.
struct RunBoxes {
    QPointer<TForm10> &logOptionsWarning;
    QPointer<QMessageBox> &appendConfirmBox;
    QPointer<QFileDialog> &logSaveDialog;
    QString &startedText;
};

// The window's own part: its captions, boxes and status panels.
struct RunSequenceHost {
    QString caption;
    QString runningCaption;
    std::function<void(const QString &text)> messageBox;
    std::function<QString(int panel)> statusPanel;
    std::function<void(int panel, const QString &text)> setStatusPanel;
    std::function<bool()> isRunning;
    std::function<void()> hideEnvelope; // the e-mail envelope
    // Run's questions stored an answer in the settings (the log file, "don't show again"): announced.
    std::function<void()> settingsAnswered;
};

class RunSequence : public QObject {
public:
    // The questions open over `window`, which takes the captions.
    RunSequence(QWidget &window, const RunParts &parts, const RunBoxes &boxes, RunSequenceHost host);

    // Run, in the given schedule mode.
    void start(ScheduleMode mode);
    void stop();
    // A polling cycle has finished: Run's own first cycles go on or end here.
    void firstCycleDone();

private:
    void settleLogFile();
    void arm();
    void finish();
    void putStopDown();
    void showWhetherRunning();
    void clearFallbacks();
    void SystemMessage(const QString &text);

    QWidget &m_window;
    RunParts m_parts;
    RunBoxes m_boxes;
    RunSequenceHost m_host;
    bool m_inFirstCycles = false; // Run's own cycle (or its second try) is under way
    bool m_secondFirstCycle = false;
    bool m_clearFallbacksAtArm = false; // Run came while monitoring ran
    quint64 m_generation = 0;
    ScheduleMode m_schedule = ScheduleMode::Immediate;
};
