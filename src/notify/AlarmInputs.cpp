#include "notify/AlarmInputs.h"

#include "acquisition/LogLineBuilder.h"
#include "common/NumberFormat.h"

#include <QTimer>

#include <limits>

namespace {

QTimer *delayTimer(QObject *parent, const char *name)
{
    auto *t = new QTimer(parent);
    t->setObjectName(QLatin1String(name));
    return t;
}

// A delay of 0 s would fire on every pass of the event loop.
int delayMs(int seconds) { return qMax(1, seconds) * 1000; }

} // namespace

AlarmInputs::AlarmInputs(const TSettings &settings, const QLocale &locale, QObject *parent)
    : QObject(parent),
      tmrNoiseAbove(delayTimer(this, "tmrNoiseAbove")),
      tmrNoiseBelow(delayTimer(this, "tmrNoiseBelow")),
      tmrSyncAbove(delayTimer(this, "tmrSyncAbove")),
      tmrSyncBelow(delayTimer(this, "tmrSyncBelow")),
      m_settings(settings),
      m_locale(locale)
{
    connect(tmrNoiseAbove, &QTimer::timeout, this, [this] { emit delayTimerFired(QStringLiteral("NoiseAbove")); });
    connect(tmrNoiseBelow, &QTimer::timeout, this, [this] { emit delayTimerFired(QStringLiteral("NoiseBelow")); });
    connect(tmrSyncAbove, &QTimer::timeout, this, [this] { emit delayTimerFired(QStringLiteral("SyncAbove")); });
    connect(tmrSyncBelow, &QTimer::timeout, this, [this] { emit delayTimerFired(QStringLiteral("SyncBelow")); });
    resetForRun();
}

void AlarmInputs::resetForRun()
{
    const auto &a = m_settings.Alarm;
    clearOnceFlags();
    const std::pair<QTimer *, int> timers[] = {{tmrNoiseAbove, a.NoiseAboveSec},
                                               {tmrNoiseBelow, a.NoiseBelowSec},
                                               {tmrSyncAbove, a.SyncAboveSec},
                                               {tmrSyncBelow, a.SyncBelowSec}};
    for (const auto &[timer, seconds] : timers) {
        timer->stop();
        timer->setInterval(delayMs(seconds));
    }
    SnrAverage = 9999.0f;
}

void AlarmInputs::clearOnceFlags()
{
    NoiseAboveAlarmed = false;
    NoiseBelowAlarmed = false;
    SyncAboveAlarmed = false;
    SyncBelowAlarmed = false;
}

void AlarmInputs::checkOne(bool checked, bool beyond, qint64 sampleCount, QTimer *timer, const QString &name,
                           bool &onceFlag)
{
    if (!checked) {
        timer->stop();
    } else if (beyond && sampleCount > 3) {
        // The delay counts from the first poll beyond the set point.
        if (!timer->isActive()) {
            timer->start();
            AlarmKind = name;
        }
    } else {
        timer->stop();
        onceFlag = false;
    }
}

void AlarmInputs::checkThresholds(const AlarmFigures &figures, qint64 sampleCount, const AlarmGuards &guards)
{
    const auto &a = m_settings.Alarm;
    const std::optional<float> noise = a.UseTelnet ? figures.telnetRxNoise : figures.rxNoise;
    const std::optional<float> sync = a.UseTelnet ? figures.telnetRxSync : figures.rxSync;
    AlarmNoise = noise.value_or(std::numeric_limits<float>::quiet_NaN());
    AlarmSync = sync.value_or(std::numeric_limits<float>::quiet_NaN());
    AlarmKind.clear();
    if (guards.any())
        return;
    // No reading is neither beyond a set point nor back within it: a page
    // without the row must not raise the alarm, nor cut short a delay running.
    if (noise) {
        checkOne(a.NoiseAbove, *noise > a.NoiseAboveVal, sampleCount, tmrNoiseAbove, QStringLiteral("NoiseAbove"),
                 NoiseAboveAlarmed);
        checkOne(a.NoiseBelow, *noise < a.NoiseBelowVal, sampleCount, tmrNoiseBelow, QStringLiteral("NoiseBelow"),
                 NoiseBelowAlarmed);
    }
    if (sync) {
        checkOne(a.SyncAbove, *sync > a.SyncAboveVal, sampleCount, tmrSyncAbove, QStringLiteral("SyncAbove"),
                 SyncAboveAlarmed);
        checkOne(a.SyncBelow, *sync < a.SyncBelowVal, sampleCount, tmrSyncBelow, QStringLiteral("SyncBelow"),
                 SyncBelowAlarmed);
    }
}

bool AlarmInputs::noiseChangeStep(float rxNoise, const QList<double> &rxNoisePlotted, const QString &pollLine,
                                  bool &iconAlarmState)
{
    const auto &a = m_settings.Alarm;
    const auto &l = m_settings.Log;
    const qsizetype n = a.SNRSamples;
    if (n < 2 || rxNoisePlotted.size() <= n)
        return false;

    // The N - 1 points before the newest, which is this poll's own.
    double sum = 0;
    for (qsizetype i = rxNoisePlotted.size() - n; i <= rxNoisePlotted.size() - 2; ++i)
        sum += rxNoisePlotted.at(i);
    SnrAverage = float(sum / double(n - 1));
    const double avg = SnrAverage;
    const double rx = rxNoise;

    const double hiLimit = avg + a.SNRValueHi * avg / 100;
    const double loLimit = avg - a.SNRValueLo * avg / 100;
    auto label = [this](double v) { return LogLineBuilder::numberText(v, 5, 1, m_locale); };
    m_label65 = QStringLiteral("( ") + label(rx + a.SNRValueHi * avg / 100) + QStringLiteral(" dB )");
    m_label66 = QStringLiteral("( ") + label(rx - a.SNRValueLo * avg / 100) + QStringLiteral(" dB  )");
    m_label67 = QStringLiteral("( Average is ") + label(avg) + QStringLiteral(" dB )");
    emit labelsChanged(m_label65, m_label66, m_label67);

    if (l.LogSNRChange) {
        const QString point = m_locale.decimalPoint();
        const QChar decimal = point.isEmpty() ? QLatin1Char('.') : point.front();
        auto shortest = [decimal](double v) { return numfmt::shortestSingle(float(v), decimal); };
        const double t = l.SNRChange * avg / 100;
        if (rx > avg + t) {
            emit logLine(QStringLiteral("[Noise Margin is above percent change. (") + shortest(rx) + QStringLiteral(" > ")
                         + shortest(avg + t) + QStringLiteral(")]"));
            emit logLine(pollLine);
        } else if (rx < avg - t) {
            emit logLine(QStringLiteral("[Noise Margin is below percent change. (") + shortest(rx) + QStringLiteral(" < ")
                         + shortest(avg - t) + QStringLiteral(")]"));
            emit logLine(pollLine);
        }
    }

    if (a.SNRChangeHi && rx > hiLimit) {
        AlarmKind = QStringLiteral("NoiseHi");
        emit alarmTriggered(AlarmKind);
        iconAlarmState = a.AllAlarms || a.ConnectionLoss;
    }
    if (a.SNRChangeLo && rx < loLimit) {
        AlarmKind = QStringLiteral("NoiseLo");
        emit alarmTriggered(AlarmKind);
        iconAlarmState = a.AllAlarms || a.ConnectionLoss;
    }
    return true;
}
