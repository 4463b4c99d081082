#include "LineDrift.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace routersim {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Counters wrap below the widest figure a page leaves room for.
constexpr qint64 kCounterLimit = 1000000000000; // 10^12

double figureValue(const RouterState &state, Figure f, double fallback)
{
    bool ok = false;
    const double v = state.figure(f).toDouble(&ok);
    return ok ? v : fallback;
}

qint64 seconds(const QString &uptime)
{
    static const QRegularExpression re(QStringLiteral("^(\\d+):(\\d\\d):(\\d\\d)$"));
    const auto m = re.match(uptime);
    if (!m.hasMatch())
        return 0;
    return m.captured(1).toLongLong() * 3600 + m.captured(2).toInt() * 60 + m.captured(3).toInt();
}

} // namespace

LineDrift::LineDrift(quint32 seed, const RouterState &state)
    : m_seed(seed), m_random(seed), m_toneRandom(seed ^ 0x5eed)
{
    m_rxNoise = figureValue(state, Figure::RxNoise, 6.5);
    m_txNoise = figureValue(state, Figure::TxNoise, 12.0);
    m_noiseTarget = m_rxNoise;
    m_rxAttenuation = figureValue(state, Figure::RxAttenuation, 32.5);
    m_txAttenuation = figureValue(state, Figure::TxAttenuation, 18.0);
    m_rxSync = int(figureValue(state, Figure::RxSync, 8128));
    m_txSync = int(figureValue(state, Figure::TxSync, 448));
    m_uptime = seconds(state.uptime());
}

QString LineDrift::uptimeText(qint64 s)
{
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600)
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

QString LineDrift::describe() const
{
    const char *phase = m_phase == Phase::Steady ? "steady" : m_phase == Phase::Burst ? "burst" : "down";
    return QStringLiteral("phase=%1 uptime=%2 bursts=%3 resyncs=%4 seed=%5")
        .arg(QLatin1String(phase))
        .arg(m_uptime)
        .arg(m_bursts)
        .arg(m_resyncs)
        .arg(m_seed);
}

void LineDrift::advance(RouterState &state)
{
    ++m_clock;
    switch (m_phase) {
    case Phase::Steady:
        ++m_uptime;
        ++m_quiet;
        // A slow swell (ten-minute period) with a random walk pulled to the target.
        m_rxNoise += 0.08 * (m_noiseTarget - m_rxNoise) + uniform(-0.15, 0.15);
        m_rxNoise += 0.02 * std::sin(2 * kPi * double(m_clock) / 600.0);
        m_txNoise += 0.05 * (12.0 - m_txNoise) + uniform(-0.1, 0.1);
        // A burst about every one and a half minutes, never straight after another.
        if (m_quiet > 40 && m_random.bounded(60) == 0)
            startBurst();
        break;
    case Phase::Burst:
        ++m_uptime;
        m_rxNoise = std::clamp(m_rxNoise + uniform(-0.6, 0.5), 0.3, 3.0);
        m_txNoise = std::clamp(m_txNoise + uniform(-0.4, 0.3), 6.0, 12.5);
        addTo(state, Figure::CrcDown, m_random.bounded(5, 40));
        addTo(state, Figure::FecDown, m_random.bounded(50, 500));
        addTo(state, Figure::HecDown, m_random.bounded(0, 5));
        addTo(state, Figure::EsDown, 1);
        addTo(state, Figure::Crc15, m_random.bounded(5, 40));
        swapBits(state, 40, 250);
        if (m_toneRandom.bounded(3) == 0)
            swapBits(state, 7, 30);
        if (--m_phaseLeft <= 0)
            endBurst();
        break;
    case Phase::Down:
        if (--m_phaseLeft <= 0) {
            resync();
            state.tones().reset(); // a new training, the line's first bit loading again
        }
        break;
    }

    if (m_phase != Phase::Down) {
        m_rxAttenuation += 0.05 * (32.5 - m_rxAttenuation) + uniform(-0.05, 0.05);
        m_txAttenuation += 0.05 * (18.0 - m_txAttenuation) + uniform(-0.05, 0.05);
        addTo(state, Figure::TxPackets, m_random.bounded(20, 60));
        addTo(state, Figure::RxPackets, m_random.bounded(150, 400));
        addTo(state, Figure::SuperframesDown, 59);
        addTo(state, Figure::SuperframesUp, 59);
        addTo(state, Figure::RxBytes, m_random.bounded(20000, 400000));
        addTo(state, Figure::TxBytes, m_random.bounded(2000, 40000));
        addTo(state, Figure::FecDown, m_random.bounded(0, 3));
        addKilobytes(state, Figure::DataReceived, m_random.bounded(20000, 400000) / 1024.0);
        addKilobytes(state, Figure::DataSent, m_random.bounded(2000, 40000) / 1024.0);
    }
    write(state);
}

void LineDrift::startBurst()
{
    m_phase = Phase::Burst;
    m_rxNoise = uniform(0.5, 2.5); // the margin collapses at once
    m_phaseLeft = m_random.bounded(15, 35);
    ++m_bursts;
}

void LineDrift::endBurst()
{
    m_quiet = 0;
    // Two bursts in five end in a resync: the modem gives up on the line.
    if (m_random.bounded(5) < 2) {
        m_phase = Phase::Down;
        m_phaseLeft = m_random.bounded(8, 15);
        return;
    }
    m_phase = Phase::Steady;
    m_rxNoise = m_noiseTarget - uniform(0.5, 1.5); // the margin comes back, not quite all of it
}

void LineDrift::swapBits(RouterState &state, int firstTone, int lastTone)
{
    LineTones &tones = state.tones();
    const int from = int(m_toneRandom.bounded(firstTone, lastTone));
    const int to = from + (m_toneRandom.bounded(2) == 0 ? -1 : 1);
    if (tones.bits(from) < 2 || tones.bits(to) > 14)
        return;
    tones.set(from, QStringLiteral("bits"), QString::number(tones.bits(from) - 1), nullptr);
    tones.set(to, QStringLiteral("bits"), QString::number(tones.bits(to) + 1), nullptr);
}

void LineDrift::resync()
{
    m_phase = Phase::Steady;
    m_uptime = 0;
    ++m_resyncs;
    // Back at a speed the line can hold now, with a fresh margin.
    m_rxSync = 8128 - 32 * int(m_random.bounded(0, 44));
    m_txSync = 448 - 32 * int(m_random.bounded(0, 4));
    m_noiseTarget = uniform(5.5, 9.0);
    m_rxNoise = m_noiseTarget + uniform(0.5, 1.5);
    m_txNoise = uniform(11.0, 13.0);
}

void LineDrift::addTo(RouterState &state, Figure figure, qint64 amount) const
{
    bool ok = false;
    const qint64 now = state.figure(figure).toLongLong(&ok);
    const qint64 next = ((ok ? now : 0) + amount) % kCounterLimit;
    state.set(RouterState::figureName(figure), QString::number(next), nullptr);
}

void LineDrift::addKilobytes(RouterState &state, Figure figure, double amount) const
{
    bool ok = false;
    const double now = state.figure(figure).toDouble(&ok);
    const double next = std::fmod((ok ? now : 0) + amount, double(kCounterLimit));
    state.set(RouterState::figureName(figure), QString::number(next, 'f', 2), nullptr);
}

void LineDrift::write(RouterState &state) const
{
    const bool down = m_phase == Phase::Down;
    const auto set = [&state](const char *name, const QString &value) {
        state.set(QString::fromLatin1(name), value, nullptr);
    };
    set("state", down ? QStringLiteral("Disconnected") : QStringLiteral("Connected"));
    set("uptime", uptimeText(down ? 0 : m_uptime));
    set("RxNoise", down ? QStringLiteral("0.0") : QString::number(m_rxNoise, 'f', 1));
    set("TxNoise", down ? QStringLiteral("0.0") : QString::number(m_txNoise, 'f', 1));
    set("RxSync", QString::number(down ? 0 : m_rxSync));
    set("TxSync", QString::number(down ? 0 : m_txSync));
    set("RxAttenuation", QString::number(m_rxAttenuation, 'f', 1));
    set("TxAttenuation", QString::number(m_txAttenuation, 'f', 1));
    set("RxRate", QString::number(down ? 0 : 18000 + int(m_rxNoise * 1000) % 9000));
    set("TxRate", QString::number(down ? 0 : 1200 + int(m_txNoise * 37) % 600));
}

} // namespace routersim
