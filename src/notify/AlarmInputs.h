#pragma once
// The polling cycle's side of the alarms: which figures the alarms compare,
// the four threshold delay timers with their once-flags, and the noise-margin
// average with its percent-change log lines and alarms. What an alarm does
// when it is raised belongs to the alarm actions, which listen to the signals
// and to the delay timers.
#include "settings/TSettings.h"

#include <QList>
#include <QLocale>
#include <QObject>
#include <QString>
#include <optional>

class QTimer;

// The alarm actions' guard timers: while any of them runs an action is in
// progress and the thresholds are left as they are.
struct AlarmGuards {
    bool reboot = false;         // tmrRebootInProgress
    bool audible = false;        // tmrAudibleInProgress
    bool external = false;       // tmrExternalInProgress
    bool email = false;          // tmrEmailInprogress
    bool writeToLog = false;     // tmrWriteToLogInProgress
    bool noisePercentLo = false; // tmrNoisePercentLo
    bool noisePercentHi = false; // tmrNoisePercentHi

    bool any() const { return reboot || audible || external || email || writeToLog || noisePercentLo || noisePercentHi; }
};

// This poll's figures as both sources give them; none where the router
// reported none (a label not on the page, no fresh telnet reading).
struct AlarmFigures {
    std::optional<float> rxNoise; // SampleFigures
    std::optional<float> rxSync;
    std::optional<float> telnetRxNoise; // telnet figures record
    std::optional<float> telnetRxSync;
};

class AlarmInputs : public QObject {
    Q_OBJECT
public:
    explicit AlarmInputs(const TSettings &settings, const QLocale &locale = QLocale::system(),
                         QObject *parent = nullptr);

    // Run: once-flags cleared, delay timers off with their intervals from the
    // settings, the noise-margin average forgotten (9999).
    void resetForRun();

    // Cycle step 19: chooses AlarmNoise/AlarmSync ([Alarm] UseTelnet picks the
    // telnet figures), clears AlarmKind and arms or resets the four delay timers.
    // A figure with no reading leaves its two timers as they are.
    void checkThresholds(const AlarmFigures &figures, qint64 sampleCount, const AlarmGuards &guards);

    // Cycle step 22. rxNoisePlotted: the Rx-noise points plotted so far, the
    // newest (this poll's) last. With more than [Alarm] SNRSamples points the
    // average, labels, change log lines and NoiseHi/NoiseLo alarms are done and
    // true returned; iconAlarmState then follows the alarm settings when an
    // alarm was raised. With fewer points nothing happens.
    bool noiseChangeStep(float rxNoise, const QList<double> &rxNoisePlotted, const QString &pollLine,
                         bool &iconAlarmState);

    // cbAlarmOnceClick
    void clearOnceFlags();

    const QString &label65Text() const { return m_label65; }
    const QString &label66Text() const { return m_label66; }
    const QString &label67Text() const { return m_label67; }

    QTimer *const tmrNoiseAbove;
    QTimer *const tmrNoiseBelow;
    QTimer *const tmrSyncAbove;
    QTimer *const tmrSyncBelow;

    bool NoiseAboveAlarmed = false;
    bool NoiseBelowAlarmed = false;
    bool SyncAboveAlarmed = false;
    bool SyncBelowAlarmed = false;

    float AlarmNoise = 0; // NaN when this poll has no reading
    float AlarmSync = 0;
    QString AlarmKind;
    float SnrAverage = 9999.0f;

signals:
    // The three labels of the percent-change alarms (Label65, Label66, Label67).
    void labelsChanged(const QString &label65, const QString &label66, const QString &label67);
    // A line for the statistics log (WriteLogNow).
    void logLine(const QString &text);
    // Raised directly by the cycle: "NoiseHi" or "NoiseLo" (AlarmKind is set).
    void alarmTriggered(const QString &kind);
    // A delay timer ran out: "NoiseAbove", "NoiseBelow", "SyncAbove" or "SyncBelow".
    void delayTimerFired(const QString &name);

private:
    void checkOne(bool checked, bool beyond, qint64 sampleCount, QTimer *timer, const QString &name, bool &onceFlag);

    const TSettings &m_settings;
    QLocale m_locale;
    QString m_label65;
    QString m_label66;
    QString m_label67;
};
