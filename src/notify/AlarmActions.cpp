#include "notify/AlarmActions.h"

#include "acquisition/RouterHttpClient.h"
#include "common/RouterAddress.h"
#include "common/NumberFormat.h"
#include "common/PascalString.h"
#include "notify/AlarmLog.h"
#include "notify/AlarmSiren.h"
#include "notify/AlarmTelnet.h"
#include "notify/ExternalCommand.h"

#include <QPointer>
#include <QTimer>
#include <QUrl>

namespace {

const QString kNoiseAbove = QStringLiteral("NoiseAbove");
const QString kNoiseBelow = QStringLiteral("NoiseBelow");
const QString kSyncAbove = QStringLiteral("SyncAbove");
const QString kSyncBelow = QStringLiteral("SyncBelow");

constexpr int kHourMs = 3600000;
constexpr int kDayMs = 86400000;

// A timer that is switched on keeps running when it already runs.
void switchOn(QTimer *timer)
{
    if (!timer->isActive())
        timer->start();
}

// Credentials belong to the router: they go only to the status page's host and port.
bool sameServer(const QUrl &a, const QUrl &b)
{
    return !a.host().isEmpty() && a.host().compare(b.host(), Qt::CaseInsensitive) == 0 && a.port(80) == b.port(80);
}

} // namespace

AlarmActions::AlarmActions(TSettings &settings, RunState &run, AlarmInputs &inputs, RouterHttpClient &http,
                           const QLocale &locale, QObject *parent)
    : QObject(parent),
      tmrRebootInProgress(new QTimer(this)),
      tmrAudibleInProgress(new QTimer(this)),
      tmrExternalInProgress(new QTimer(this)),
      tmrEmailInprogress(new QTimer(this)),
      tmrWriteToLogInProgress(new QTimer(this)),
      tmrNoisePercentLo(new QTimer(this)),
      tmrNoisePercentHi(new QTimer(this)),
      tmrOneHour(new QTimer(this)),
      tmrEmailOverRide(new QTimer(this)),
      tmrScriptWait(new QTimer(this)),
      m_settings(settings),
      m_run(run),
      m_inputs(inputs),
      m_http(http),
      m_locale(locale),
      m_alarmLog(new AlarmLog(settings, run, this))
{
    const std::pair<QTimer *, void (AlarmActions::*)()> timers[] = {
        {tmrRebootInProgress, &AlarmActions::tmrRebootInProgressTimer},
        {tmrAudibleInProgress, &AlarmActions::tmrAudibleInProgressTimer},
        {tmrExternalInProgress, &AlarmActions::tmrExternalInProgressTimer},
        {tmrEmailInprogress, &AlarmActions::tmrEmailInprogressTimer},
        {tmrWriteToLogInProgress, &AlarmActions::tmrWriteToLogInProgressTimer},
        {tmrNoisePercentLo, &AlarmActions::tmrNoisePercentLoTimer},
        {tmrNoisePercentHi, &AlarmActions::tmrNoisePercentHiTimer},
        {tmrOneHour, &AlarmActions::tmrOneHourTimer},
        {tmrEmailOverRide, &AlarmActions::tmrEmailOverRideTimer},
        {tmrScriptWait, &AlarmActions::tmrScriptWaitTimer},
    };
    const char *names[] = {"tmrRebootInProgress",  "tmrAudibleInProgress", "tmrExternalInProgress",
                           "tmrEmailInprogress",   "tmrWriteToLogInProgress", "tmrNoisePercentLo",
                           "tmrNoisePercentHi",    "tmrOneHour",           "tmrEmailOverRide",
                           "tmrScriptWait"};
    for (size_t i = 0; i < std::size(timers); ++i) {
        QTimer *t = timers[i].first;
        t->setObjectName(QLatin1String(names[i]));
        // Every one of them switches itself off when it runs out.
        t->setSingleShot(true);
        connect(t, &QTimer::timeout, this, timers[i].second);
    }
    applySettings();
    connect(m_alarmLog, &AlarmLog::systemMessage, this, &AlarmActions::systemMessage);
}

AlarmActions::~AlarmActions() = default;

void AlarmActions::setStatisticsLog(std::function<void(const QString &)> writeLogNow, std::function<bool()> logWriting)
{
    m_writeLogNow = std::move(writeLogNow);
    m_logWriting = std::move(logWriting);
}

bool AlarmActions::isDelayTimerName(const QString &kind)
{
    return kind == kNoiseAbove || kind == kNoiseBelow || kind == kSyncAbove || kind == kSyncBelow;
}

QTimer *AlarmActions::delayTimer(const QString &name) const
{
    if (name == kNoiseAbove)
        return m_inputs.tmrNoiseAbove;
    if (name == kNoiseBelow)
        return m_inputs.tmrNoiseBelow;
    if (name == kSyncAbove)
        return m_inputs.tmrSyncAbove;
    if (name == kSyncBelow)
        return m_inputs.tmrSyncBelow;
    return nullptr;
}

int AlarmActions::antiCycleMs() const { return qMax(1, m_settings.Alarm.AntiCycle) * 60000; }

AlarmGuards AlarmActions::guards() const
{
    AlarmGuards g;
    g.reboot = tmrRebootInProgress->isActive();
    g.audible = tmrAudibleInProgress->isActive();
    g.external = tmrExternalInProgress->isActive();
    g.email = tmrEmailInprogress->isActive();
    g.writeToLog = tmrWriteToLogInProgress->isActive();
    g.noisePercentLo = tmrNoisePercentLo->isActive();
    g.noisePercentHi = tmrNoisePercentHi->isActive();
    return g;
}

bool AlarmActions::writeToLogEnabled() const { return m_settings.System.Log || m_settings.Alarm.AlarmAlarmLog; }

QString AlarmActions::alarmText(const QString &kind) const
{
    const auto &a = m_settings.Alarm;
    if (kind == kNoiseBelow)
        return QStringLiteral("[Alarm: Noise below %1 dB setpoint]").arg(a.NoiseBelowVal);
    if (kind == kNoiseAbove)
        return QStringLiteral("[Alarm: Noise above %1 dB setpoint]").arg(a.NoiseAboveVal);
    if (kind == kSyncBelow)
        return QStringLiteral("[Alarm: Sync below %1 Kbps setpoint]").arg(a.SyncBelowVal);
    if (kind == kSyncAbove)
        return QStringLiteral("[Alarm: Sync above %1 Kbpssetpoint]").arg(a.SyncAboveVal);
    const QString point = m_locale.decimalPoint();
    const QString rx = numfmt::shortestSingle(m_run.Figures.RxNoise, point.isEmpty() ? QLatin1Char('.') : point.front());
    if (kind == QLatin1String("NoiseHi"))
        return QStringLiteral("[Noise Margin has risen by more than ") + QString::number(a.SNRValueHi)
               + QStringLiteral("% ") + rx + QStringLiteral(" > ") + m_inputs.label65Text() + QStringLiteral(" ]");
    if (kind == QLatin1String("NoiseLo"))
        return QStringLiteral("[Noise Margin has fallen by more than ") + QString::number(a.SNRValueLo)
               + QStringLiteral("% ") + rx + QStringLiteral(" < ") + m_inputs.label67Text() + QStringLiteral(" ]");
    if (kind == QLatin1String("Disconnected"))
        return QStringLiteral("Disconnected");
    return {};
}

void AlarmActions::AlarmTriggered(const QString &kind)
{
    const auto &a = m_settings.Alarm;

    // 1: an action in progress keeps every other alarm out.
    if (!m_run.Running || guards().any())
        return;

    // 2: once-flags. With AlarmOnce every alarm that passes sets all four, so
    // a threshold already in its condition waits until that condition ends once.
    const std::pair<const QString &, bool &> once[] = {{kNoiseBelow, m_inputs.NoiseBelowAlarmed},
                                                       {kNoiseAbove, m_inputs.NoiseAboveAlarmed},
                                                       {kSyncBelow, m_inputs.SyncBelowAlarmed},
                                                       {kSyncAbove, m_inputs.SyncAboveAlarmed}};
    for (const auto &[name, flag] : once) {
        if (kind == name && flag)
            return;
        if (a.AlarmOnce)
            flag = true;
    }

    // 3
    const QString text = alarmText(kind);
    if (kind == QLatin1String("NoiseHi"))
        switchOn(tmrNoisePercentHi);
    else if (kind == QLatin1String("NoiseLo"))
        switchOn(tmrNoisePercentLo);

    // 4: without AlarmOnce the delay counts afresh from the next poll beyond the set point.
    if (!a.AlarmOnce)
        if (QTimer *t = delayTimer(kind))
            t->stop();

    // 5
    const bool logWriting = m_logWriting && m_logWriting();
    if (a.LogAlarm && writeToLogEnabled() && ((m_settings.System.Log && !logWriting) || a.AlarmAlarmLog)
        && !tmrWriteToLogInProgress->isActive()) {
        switchOn(tmrWriteToLogInProgress);
        emit systemMessage(QStringLiteral("tmrWriteToLogInProgress.Enabled = true"));
        writeAlarmLines(text);
    }

    // 6
    if (a.EmailAlarm && !EmailInProgress) {
        m_emailDone = false;
        emit systemMessage(QStringLiteral("Starting e-mail"));
        switchOn(tmrEmailInprogress);
        EmailInProgress = true;
        // Started before the send so the wait is bounded whatever the mailer does.
        tmrEmailOverRide->setInterval(qMax(1, a.EmailTimeout) * 1000);
        tmrEmailOverRide->start();
        if (m_sendEmail)
            m_sendEmail(QStringLiteral("Alarm Triggered"));
        else
            EmailDone();
    } else {
        m_emailDone = true;
    }

    // 7
    if (a.Audible && !AudibleInProgress) {
        emit systemMessage(QStringLiteral("Audible alarm"));
        switchOn(tmrAudibleInProgress);
        AudibleInProgress = true;
        playSiren();
    }

    // 8
    if (a.cbExternal && !ExternalInProgress)
        runExternal();

    // 9
    if (a.cbReboots && a.Reboots <= RebootCount) {
        emit systemMessage(QStringLiteral("Reboot count per hour/day exceeded - reboot skipped"));
        return;
    }

    // 10: after the alarm e-mail has gone, or its time is up.
    if (a.cbReboot && !m_run.RebootInProgress) {
        m_rebootPending = true;
        if (m_emailDone)
            continueReboot();
        else
            switchOn(tmrEmailOverRide);
    }
}

void AlarmActions::writeAlarmLines(const QString &text)
{
    const bool normal = m_settings.Alarm.AlarmNormalLog;
    auto write = [this, normal](const QString &line) {
        if (normal) {
            if (m_writeLogNow)
                m_writeLogNow(line);
        } else {
            m_alarmLog->WriteAlarmLog(line);
        }
    };
    if (!text.isEmpty())
        write(text);
    if (m_run.ConnectionStatus == QLatin1String("Disconnected"))
        write(QStringLiteral("[Alarm: Disconnected]"));
    write(m_run.LogLine);
}

void AlarmActions::writeToChosenLog(const QString &text)
{
    if (m_settings.Alarm.AlarmNormalLog) {
        if (m_writeLogNow)
            m_writeLogNow(text);
    } else {
        m_alarmLog->WriteAlarmLog(text);
    }
}

void AlarmActions::playSiren()
{
    if (m_siren)
        m_siren->play();
}

void AlarmActions::runExternal()
{
    const QString text = m_settings.Alarm.edExternal;
    emit systemMessage(QStringLiteral("Run External App or Script"));
    switchOn(tmrExternalInProgress);
    ExternalInProgress = true;
    const ExternalCommand command = ExternalCommand::parse(text);
    switch (command.kind()) {
    case ExternalCommand::Kind::Script:
        emit systemMessage(QStringLiteral("Running external script file \"%1\"").arg(text));
        tmrScriptWait->setInterval(qMax(1, m_settings.Alarm.ScriptWait) * 1000);
        switchOn(tmrScriptWait);
        break;
    case ExternalCommand::Kind::Program: {
        emit systemMessage(QStringLiteral("Running external file \"%1\"").arg(text));
        QString error;
        if (!command.startDetached(&error))
            emit systemMessage(QStringLiteral("External program could not be started: %1").arg(error));
        break;
    }
    case ExternalCommand::Kind::Unknown:
        emit systemMessage(QStringLiteral("Veltrano is unable to determine the file type."));
        break;
    }
}

bool AlarmActions::testExternal()
{
    const QString text = m_settings.Alarm.edExternal;
    emit systemMessage(QStringLiteral("Test of External App or Script"));
    const ExternalCommand command = ExternalCommand::parse(text);
    switch (command.kind()) {
    case ExternalCommand::Kind::Script:
        if (m_settings.Router.Telnet)
            emit systemMessage(QStringLiteral("Test:  external script file \"%1\"").arg(text));
        else
            emit systemMessage(QStringLiteral("Test:  external script file - Telnet needs to be enabled!"));
        if (m_telnet)
            m_telnet->SendScript(text);
        return true;
    case ExternalCommand::Kind::Program: {
        emit systemMessage(QStringLiteral("Test: Running external file \"%1\"").arg(text));
        QString error;
        if (!command.startDetached(&error))
            emit systemMessage(QStringLiteral("External program could not be started: %1").arg(error));
        return true;
    }
    case ExternalCommand::Kind::Unknown:
        break;
    }
    return false;
}

void AlarmActions::continueReboot()
{
    const TSettings &s = m_settings;
    m_rebootPending = false;
    switchOn(tmrOneHour);
    switchOn(tmrRebootInProgress);
    m_run.RebootInProgress = true;
    ++RebootCount;

    if (s.System.Log && s.Alarm.AlarmNormalLog && m_writeLogNow) {
        m_writeLogNow(QStringLiteral("ROUTER REBOOTED!"));
        m_writeLogNow(m_run.LogLine);
    }
    if (s.Alarm.LogAlarm && s.Alarm.AlarmAlarmLog) {
        m_alarmLog->WriteAlarmLog(QStringLiteral("ROUTER REBOOTED!"));
        m_alarmLog->WriteAlarmLog(m_run.LogLine);
    }
    if (s.Alarm.UseTelnet) {
        emit systemMessage(QStringLiteral("Router Reboot initiated (Telnet)"));
        rebootByTelnet();
    }
    if (s.Alarm.UseWeb)
        rebootByUrl(1, true);
}

void AlarmActions::rebootByTelnet()
{
    if (!m_telnet)
        return;
    if (m_settings.Router.ST585)
        m_telnet->rebootSpeedTouch585();
    else
        m_telnet->SendText(QStringLiteral(" reboot"));
}

void AlarmActions::rebootByUrl(int attempts, bool report)
{
    const TSettings &s = m_settings;
    const QUrl url(s.Alarm.RebootURL.trimmed());
    std::optional<HttpCredentials> credentials;
    if (s.Router.cbLogin && sameServer(QUrl(s.Router.Login.trimmed()), url))
        credentials = HttpCredentials{s.Router.UsernameNotRequired ? QString() : s.Router.Username, s.Router.Password};
    const int transferMs = qBound(1000, s.System.Sample * 1000, RouterHttpClient::kMaxTransferTimeoutMs);
    QPointer<AlarmActions> self(this);
    m_http.get(url, credentials, transferMs, [self, attempts, report](const HttpResult &r) {
        if (!self || r.cancelled)
            return;
        if (r.ok) {
            if (report)
                emit self->systemMessage(QStringLiteral("Router Reboot initiated (HTTP)"));
        } else if (attempts > 1) {
            self->rebootByUrl(attempts - 1, report);
        } else if (report) {
            emit self->systemMessage(QStringLiteral("Router Reboot failed! (HTTP)"));
        }
    });
}

void AlarmActions::manualReboot()
{
    switchOn(tmrRebootInProgress);
    m_run.RebootInProgress = true;
    if (m_settings.Alarm.UseTelnet)
        rebootByTelnet();
    if (m_settings.Alarm.UseWeb)
        rebootByUrl(2, false);
}

void AlarmActions::releaseEmailWait()
{
    m_emailDone = true;
    tmrEmailOverRide->stop();
    if (m_rebootPending)
        continueReboot();
}

void AlarmActions::EmailDone() { releaseEmailWait(); }

void AlarmActions::resetForRun()
{
    stopGuards();
    m_inputs.resetForRun();
    m_alarmLog->startRun();
}

void AlarmActions::stopped()
{
    tmrRebootInProgress->stop();
    tmrAudibleInProgress->stop();
    tmrExternalInProgress->stop();
}

void AlarmActions::applySettings()
{
    const auto &a = m_settings.Alarm;
    const std::pair<QTimer *, int> intervals[] = {
        {tmrRebootInProgress, antiCycleMs()},
        {tmrAudibleInProgress, antiCycleMs()},
        {tmrExternalInProgress, antiCycleMs()},
        {tmrEmailInprogress, antiCycleMs()},
        {tmrWriteToLogInProgress, antiCycleMs()},
        {tmrNoisePercentLo, antiCycleMs()},
        {tmrNoisePercentHi, antiCycleMs()},
        {tmrOneHour, a.PerHour ? kHourMs : kDayMs},
        {tmrEmailOverRide, qMax(1, a.EmailTimeout) * 1000},
        {tmrScriptWait, qMax(1, a.ScriptWait) * 1000},
    };
    // Setting the interval of a running timer would start its time again.
    for (const auto &[timer, ms] : intervals)
        if (!timer->isActive())
            timer->setInterval(ms);
}

void AlarmActions::stopGuards()
{
    for (QTimer *t : {tmrRebootInProgress, tmrAudibleInProgress, tmrExternalInProgress, tmrEmailInprogress,
                      tmrWriteToLogInProgress, tmrNoisePercentLo, tmrNoisePercentHi}) {
        t->stop();
        t->setInterval(antiCycleMs());
    }
    // A guard that no longer runs cannot end its action's in-progress state,
    // so it ends here; otherwise that action would stay blocked until the next Run.
    m_run.RebootInProgress = false;
    AudibleInProgress = false;
    ExternalInProgress = false;
    EmailInProgress = false;
}

void AlarmActions::antiCycleChanged()
{
    stopGuards();
    for (QTimer *t : {m_inputs.tmrNoiseAbove, m_inputs.tmrNoiseBelow, m_inputs.tmrSyncAbove, m_inputs.tmrSyncBelow})
        t->stop();
}

void AlarmActions::audibleChanged() { tmrAudibleInProgress->setInterval(antiCycleMs()); }

void AlarmActions::alarmOnceChanged() { m_inputs.clearOnceFlags(); }

void AlarmActions::rebootWindowChanged() { tmrOneHour->setInterval(m_settings.Alarm.PerHour ? kHourMs : kDayMs); }

void AlarmActions::writeAlarmToLogChanged()
{
    if (!m_settings.Alarm.LogAlarm)
        tmrWriteToLogInProgress->stop();
}

void AlarmActions::thresholdBoxChanged(const QString &name)
{
    const auto &a = m_settings.Alarm;
    const bool on = name == kNoiseAbove   ? a.NoiseAbove
                    : name == kNoiseBelow ? a.NoiseBelow
                    : name == kSyncAbove  ? a.SyncAbove
                                          : a.SyncBelow;
    if (QTimer *t = delayTimer(name); t && !on)
        t->stop();
}

void AlarmActions::delaySecondsChanged(const QString &name)
{
    const auto &a = m_settings.Alarm;
    for (QTimer *t : {m_inputs.tmrNoiseAbove, m_inputs.tmrNoiseBelow, m_inputs.tmrSyncAbove, m_inputs.tmrSyncBelow})
        t->stop();
    const int seconds = name == kNoiseAbove   ? a.NoiseAboveSec
                        : name == kNoiseBelow ? a.NoiseBelowSec
                        : name == kSyncAbove  ? a.SyncAboveSec
                                              : a.SyncBelowSec;
    // A delay of 0 s would fire on every pass of the event loop.
    if (QTimer *t = delayTimer(name))
        t->setInterval(qMax(1, seconds) * 1000);
}

namespace {

// The address after "http://": characters 8 to 22 up to the first "/"; empty without one.
QString hostOf(const QString &url)
{
    const QString s = pas::copy(url, 8, 15);
    const int slash = pas::pos(QStringLiteral("/"), s);
    return slash > 0 ? pas::copy(s, 1, slash - 1) : QString();
}

} // namespace

QString AlarmActions::urlFollowingHost(const QString &rebootUrl, const QString &url)
{
    const QString newHost = hostOf(rebootUrl);
    const QString oldHost = hostOf(url);
    if (!isDottedIPv4(newHost) || !isDottedIPv4(oldHost) || newHost == oldHost)
        return url;
    QString out = url;
    out.replace(url.indexOf(oldHost), oldHost.size(), newHost);
    return out;
}

// ---- Timers ------------------------------------------------------------------

void AlarmActions::tmrRebootInProgressTimer()
{
    tmrRebootInProgress->stop();
    m_run.RebootInProgress = false;
    emit systemMessage(QStringLiteral("Reboot in progress timer - timeout"));
}

void AlarmActions::tmrAudibleInProgressTimer()
{
    emit systemMessage(QStringLiteral("tmrAudibleInprogress.Enabled:= False"));
    tmrAudibleInProgress->stop();
    AudibleInProgress = false;
}

void AlarmActions::tmrExternalInProgressTimer()
{
    tmrExternalInProgress->stop();
    ExternalInProgress = false;
    emit systemMessage(QStringLiteral("External app in progress timer - timeout"));
}

void AlarmActions::tmrEmailInprogressTimer()
{
    tmrEmailInprogress->stop();
    EmailInProgress = false;
    emit systemMessage(QStringLiteral("Email in progress timer - timeout"));
}

void AlarmActions::tmrWriteToLogInProgressTimer()
{
    tmrWriteToLogInProgress->stop();
    emit systemMessage(QStringLiteral("tmrWriteToLogInProgress - timeout"));
}

void AlarmActions::tmrNoisePercentLoTimer() { tmrNoisePercentLo->stop(); }

void AlarmActions::tmrNoisePercentHiTimer() { tmrNoisePercentHi->stop(); }

void AlarmActions::tmrOneHourTimer()
{
    tmrOneHour->stop();
    RebootCount = 0;
    emit systemMessage(QStringLiteral("Reboots /hour/day counter reset"));
}

void AlarmActions::tmrEmailOverRideTimer() { releaseEmailWait(); }

void AlarmActions::tmrScriptWaitTimer()
{
    tmrScriptWait->stop();
    if (m_telnet)
        m_telnet->SendScript(m_settings.Alarm.edExternal);
}
