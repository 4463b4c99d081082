#pragma once
// The once-a-minute check that runs each daily action at its configured time
// of day. The actions themselves belong to others: each is a signal, emitted
// in the order the actions must run.
#include "acquisition/RunState.h"
#include "settings/TSettings.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QTime>
#include <QTimer>

#include <array>

class DailyTimer : public QObject {
    Q_OBJECT
public:
    DailyTimer(const TSettings &settings, RunState &run, QObject *parent = nullptr);

    // Run switches the timer on (a running timer is left alone), Stop switches it off.
    void start();
    void stop();
    bool isActive() const { return m_timer.isActive(); }

    // One tick: stamps SampleStamp, then emits each due action in order.
    void DailyTimerTimer();

    // The charts the daily capture saves with mode "Daily", in order.
    static QList<int> dailyCaptureCharts(const TSettings &s);

    // A time of day from the settings as a time; invalid when it does not parse.
    static QTime parseTimeOfDay(const QString &text);

    static constexpr int kIntervalMs = 60000;

signals:
    void imageCleanUpDue();                       // DeleteFiles
    void logTrimDue();                            // TrimLog
    void resetIncrementalDue();                   // SetMinimum
    void dailyCapturesDue(const QList<int> &charts); // Save(chart, "Daily") for each
    void dailyEmailDue();                         // the daily e-mail
    // A configured time that does not parse; its action is skipped.
    void systemMessage(const QString &text);

private:
    enum Action { CleanUp, Trim, Rebase, Captures, Email, ActionCount };

    // True when the action is due now and has not yet run in this minute.
    bool due(Action a, const QTime &configured, const QString &text, const QDateTime &now);

    const TSettings &m_settings;
    RunState &m_run;
    QTimer m_timer;
    std::array<QDateTime, ActionCount> m_lastRun{};
    std::array<bool, ActionCount> m_badReported{};
    std::array<QString, ActionCount> m_reportedBadText{};
};
