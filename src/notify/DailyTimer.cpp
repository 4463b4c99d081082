#include "notify/DailyTimer.h"

#include "common/Clock.h"
#include "notify/CaptureSchedule.h"

#include <QLocale>

namespace {

// The status-page charts of the daily capture, in order.
constexpr int kHttpCharts[] = {1, 18, 2, 20, 3, 19};
// The first 16 telnet charts, in flag order.
constexpr int kTelnetCharts[] = {16, 17, 5, 6, 7, 4, 8, 9, 12, 11, 10, 15, 14, 13, 23, 24};

QDateTime minuteOf(const QDateTime &t)
{
    return QDateTime(t.date(), QTime(t.time().hour(), t.time().minute()), t.timeSpec());
}

} // namespace

DailyTimer::DailyTimer(const TSettings &settings, RunState &run, QObject *parent)
    : QObject(parent), m_settings(settings), m_run(run)
{
    m_timer.setObjectName(QStringLiteral("DailyTimer"));
    m_timer.setInterval(kIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &DailyTimer::DailyTimerTimer);
}

void DailyTimer::start()
{
    if (!m_timer.isActive())
        m_timer.start();
}

void DailyTimer::stop()
{
    m_timer.stop();
}

QTime DailyTimer::parseTimeOfDay(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    for (const char *f : {"HH:mm", "H:mm", "HH:mm:ss", "H:mm:ss"}) {
        const QTime q = QTime::fromString(t, QLatin1String(f));
        if (q.isValid())
            return q;
    }
    const QLocale loc;
    for (auto f : {QLocale::ShortFormat, QLocale::LongFormat}) {
        const QTime q = loc.toTime(t, f);
        if (q.isValid())
            return q;
    }
    return {};
}

bool DailyTimer::due(Action a, const QTime &configured, const QString &text, const QDateTime &now)
{
    const auto i = size_t(a);
    if (!configured.isValid()) {
        // Reported once per bad text, not every minute; the other actions go on.
        if (!m_badReported[i] || m_reportedBadText[i] != text) {
            m_badReported[i] = true;
            m_reportedBadText[i] = text;
            emit systemMessage(QStringLiteral("'%1' is not a valid time").arg(text));
        }
        return false;
    }
    m_badReported[i] = false;
    if (now.time().hour() != configured.hour() || now.time().minute() != configured.minute())
        return false;
    // A second tick in the same minute (timer drift, a repeated clock minute) does not repeat it.
    const QDateTime minute = minuteOf(now);
    if (m_lastRun[i] == minute)
        return false;
    m_lastRun[i] = minute;
    return true;
}

void DailyTimer::DailyTimerTimer()
{
    const auto &s = m_settings;
    m_run.SampleStamp = s.Graph.UTCTime ? Clock::currentDateTimeUtc() : Clock::currentDateTime();
    const QDateTime now = Clock::currentDateTime();

    if (s.Capture.DeleteImages && s.Capture.DeleteDaily
        && due(CleanUp, s.Capture.DeleteTime, s.Capture.DeleteTime.isValid()
                                                  ? s.Capture.DeleteTime.toString(QStringLiteral("HH:mm"))
                                                  : QString(), now))
        emit imageCleanUpDue();

    if (s.Log.TrimLog && due(Trim, parseTimeOfDay(s.Log.TrimTime), s.Log.TrimTime, now))
        emit logTrimDue();

    if (s.Telnet.ResetDailyAt && due(Rebase, parseTimeOfDay(s.Telnet.ResetIncAt), s.Telnet.ResetIncAt, now))
        emit resetIncrementalDue();

    if (s.Capture.CaptureAt && due(Captures, parseTimeOfDay(s.Capture.CaptureAtTime), s.Capture.CaptureAtTime, now))
        emit dailyCapturesDue(dailyCaptureCharts(s));

    if (s.Email.Enable && due(Email, parseTimeOfDay(s.Email.DailyTime), s.Email.DailyTime, now))
        emit dailyEmailDue();
}

QList<int> DailyTimer::dailyCaptureCharts(const TSettings &s)
{
    QList<int> out;
    auto both = [&](int chart) {
        return CaptureSchedule::captureSwitch(s, chart) && CaptureSchedule::plotBoxChecked(s, chart);
    };
    for (int c : kHttpCharts) {
        if (both(c))
            out << c;
    }
    for (size_t i = 0; i < std::size(kTelnetCharts); ++i) {
        if (i < s.CaptureTelnetFlags.size() && s.CaptureTelnetFlags[i]
            && CaptureSchedule::plotBoxChecked(s, kTelnetCharts[i]))
            out << kTelnetCharts[i];
    }
    for (int c : {30, 31}) {
        if (both(c))
            out << c;
    }
    if (s.Telnet.CaptureBits && s.Telnet.BitsGraph)
        out << 21;
    if (s.Telnet.BitswapCapture)
        out << 22;
    if (s.Ping.Capture && s.Ping.Ping)
        out << 25;
    if (s.Telnet.SepCapture)
        out << 29;
    return out;
}
