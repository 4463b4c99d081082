#pragma once
// What an alarm does once it is raised: log lines, the alarm e-mail, the
// siren, the external program or telnet script and the router reboot, in
// that order, each held back by its own guard timer for [Alarm] AntiCycle
// minutes. The once-flags live in AlarmInputs (the polling cycle clears
// them); a counter limits the reboots per hour or per day.
//
// Nothing here waits in a nested event loop: a reboot that must wait for the
// alarm e-mail is continued when the mailer calls EmailDone() or when
// tmrEmailOverRide runs out, [Alarm] EmailTimeout seconds after the e-mail
// started.
//
// The mailer, the siren and the telnet sessions are reached through narrow
// interfaces; without one, its action is skipped (no mailer: the e-mail ends
// at once). All messages go out
// through systemMessage(). Everything runs on the window thread.
#include "acquisition/RunState.h"
#include "notify/AlarmInputs.h"
#include "settings/TSettings.h"

#include <QLocale>
#include <QObject>
#include <QString>
#include <functional>

class AlarmLog;
class AlarmSiren;
class AlarmTelnet;
class QTimer;
class RouterHttpClient;

class AlarmActions : public QObject {
    Q_OBJECT
public:
    // http: the window's router client (the reboot URL shares its cookies).
    AlarmActions(TSettings &settings, RunState &run, AlarmInputs &inputs, RouterHttpClient &http,
                 const QLocale &locale = QLocale::system(), QObject *parent = nullptr);
    ~AlarmActions() override;

    // StatisticsLog::WriteLogNow and StatisticsLog::LogWriting.
    void setStatisticsLog(std::function<void(const QString &)> writeLogNow, std::function<bool()> logWriting = {});
    // SendEmail(reason): starts the alarm e-mail and returns; the sender
    // reports its end, whatever the outcome, through EmailDone().
    void setSendEmail(std::function<void(const QString &)> sendEmail) { m_sendEmail = std::move(sendEmail); }
    void setSiren(AlarmSiren *siren) { m_siren = siren; }
    void setTelnet(AlarmTelnet *telnet) { m_telnet = telnet; }

    // The names the delay timers are known by ("NoiseAbove", ...): an alarm of
    // one of these kinds was raised by that timer.
    static bool isDelayTimerName(const QString &kind);

    // Runs the alarm actions. kind: a delay timer's name, or the AlarmKind
    // text ("NoiseHi", "NoiseLo", "Disconnected", "Ping <host>Failed.").
    void AlarmTriggered(const QString &kind);

    // The alarm text of an alarm of that kind ("" when it has none).
    QString alarmText(const QString &kind) const;

    // Run: in-progress flags, once-flags and delay timers cleared, every guard
    // timer off with the anti-cycle interval, the alarm log's failure report re-armed.
    void resetForRun();
    // Stop: the reboot, siren and external program guards are switched off
    // (their in-progress states stay until Run clears them).
    void stopped();
    // After the settings were loaded or committed: the intervals of the timers
    // that are not running follow the settings (a running one keeps its time).
    void applySettings();

    // For checkThresholds: which guard timers run.
    AlarmGuards guards() const;

    // The alarm page's "Write Now": the statistics log or the alarm log, as chosen.
    void writeToChosenLog(const QString &text);
    // cbWriteAlarmToLog is usable: statistics logging is on or the alarm log is chosen.
    bool writeToLogEnabled() const;

    // Control handlers' core parts.
    void thresholdBoxChanged(const QString &name);  // cbNoiseAboveClick and the like
    void delaySecondsChanged(const QString &name);  // spNoiseAboveSecChange and the like
    void antiCycleChanged();                        // spAntiCycleChange, spEmailTimeout's change
    void audibleChanged();                          // cbAudibleClick
    void alarmOnceChanged();                        // cbAlarmOnceClick
    void rebootWindowChanged();                     // rbPerHourClick
    void writeAlarmToLogChanged();                  // cbWriteAlarmToLogClick
    void playSiren();                               // btnTestSoundClick
    // btnTestAppClick: false when the type is unknown (the page shows its box).
    bool testExternal();
    // btnRebootClick after the user confirmed: at most two GETs, failures silent.
    void manualReboot();

    // edRebootChange: url with its dotted IPv4 host replaced by the reboot
    // URL's, so the status-page and logout URLs follow the router's address.
    // Unchanged unless both hosts are dotted IPv4 addresses.
    static QString urlFollowingHost(const QString &rebootUrl, const QString &url);

    // The mailer's report that the alarm e-mail ended, whatever the outcome.
    Q_SLOT void EmailDone();
    bool isEmailDone() const { return m_emailDone; }
    bool rebootWaitingForEmail() const { return m_rebootPending; }

    // Timer handlers (public so the window's tests can drive them).
    void tmrRebootInProgressTimer();
    void tmrAudibleInProgressTimer();
    void tmrExternalInProgressTimer();
    void tmrEmailInprogressTimer();
    void tmrWriteToLogInProgressTimer();
    void tmrNoisePercentLoTimer();
    void tmrNoisePercentHiTimer();
    void tmrOneHourTimer();
    void tmrEmailOverRideTimer();
    void tmrScriptWaitTimer();

    QTimer *const tmrRebootInProgress;
    QTimer *const tmrAudibleInProgress;
    QTimer *const tmrExternalInProgress;
    QTimer *const tmrEmailInprogress;
    QTimer *const tmrWriteToLogInProgress;
    QTimer *const tmrNoisePercentLo;
    QTimer *const tmrNoisePercentHi;
    QTimer *const tmrOneHour;
    QTimer *const tmrEmailOverRide;
    QTimer *const tmrScriptWait;

    // RebootInProgress is RunState::RebootInProgress (the polling cycle reads it).
    bool AudibleInProgress = false;
    bool ExternalInProgress = false;
    bool EmailInProgress = false;
    int RebootCount = 0;

signals:
    void systemMessage(const QString &text);

private:
    QTimer *delayTimer(const QString &name) const;
    void writeAlarmLines(const QString &text);
    void runExternal();
    void continueReboot();
    void rebootByUrl(int attempts, bool report);
    void rebootByTelnet();
    void releaseEmailWait();
    void stopGuards();
    int antiCycleMs() const;

    TSettings &m_settings;
    RunState &m_run;
    AlarmInputs &m_inputs;
    RouterHttpClient &m_http;
    QLocale m_locale;
    AlarmLog *m_alarmLog = nullptr;
    std::function<void(const QString &)> m_writeLogNow;
    std::function<bool()> m_logWriting;
    std::function<void(const QString &)> m_sendEmail;
    AlarmSiren *m_siren = nullptr;
    AlarmTelnet *m_telnet = nullptr;
    bool m_emailDone = true;
    bool m_rebootPending = false;
};
