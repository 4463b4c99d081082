#pragma once
// A line that lives: once a second the figures drift like a real ADSL line's,
// with an occasional noise burst (margin collapses, error counters climb)
// and, after some bursts, a resync (the line drops for a few seconds, comes
// back at a new speed and its uptime starts again). Seeded, so a test or a
// demo sees the same life every time. The demo turns it on with "drift on".
#include "RouterState.h"

#include <QRandomGenerator>
#include <QString>

namespace routersim {

class LineDrift
{
public:
    enum class Phase { Steady, Burst, Down };

    // Starts from the figures the state holds now.
    LineDrift(quint32 seed, const RouterState &state);

    // One second of the line's life, written into state.
    void advance(RouterState &state);

    Phase phase() const { return m_phase; }
    qint64 uptimeSeconds() const { return m_uptime; }
    int bursts() const { return m_bursts; }
    int resyncs() const { return m_resyncs; }
    // "phase=steady uptime=94507 bursts=N resyncs=N seed=S" for the control socket.
    QString describe() const;

    // The uptime as the status pages print it: hours without a day limit.
    static QString uptimeText(qint64 seconds);

private:
    double uniform(double low, double high) { return low + (high - low) * m_random.generateDouble(); }
    void startBurst();
    void endBurst();
    void resync();
    void addTo(RouterState &state, Figure figure, qint64 amount) const;
    // A noisy moment moves a bit from one tone to a neighbour: a bitswap.
    void swapBits(RouterState &state, int firstTone, int lastTone);
    // For the data counters kept in kB with two decimals.
    void addKilobytes(RouterState &state, Figure figure, double amount) const;
    void write(RouterState &state) const;

    quint32 m_seed;
    QRandomGenerator m_random;
    // The tones' own, so the figures live the same life with or without them.
    QRandomGenerator m_toneRandom;
    Phase m_phase = Phase::Steady;
    int m_phaseLeft = 0;     // seconds left in a burst or a drop
    int m_quiet = 0;         // seconds since the last burst ended
    qint64 m_clock = 0;      // seconds since drift began
    qint64 m_uptime = 0;
    double m_rxNoise = 6.5;
    double m_txNoise = 12.0;
    double m_noiseTarget = 6.5;
    double m_rxAttenuation = 32.5;
    double m_txAttenuation = 18.0;
    int m_rxSync = 8128;
    int m_txSync = 448;
    int m_bursts = 0;
    int m_resyncs = 0;
};

} // namespace routersim
