#pragma once
// The one source of "now". Time-dependent rules ask the clock, so tests can
// put a fixed or stepping clock in its place.
#include <QDateTime>

class Clock {
public:
    virtual ~Clock() = default;

    static QDateTime currentDateTime();    // local time
    static QDateTime currentDateTimeUtc(); // UTC

    // Installs a clock (not owned); nullptr restores the system clock.
    static void setInstance(Clock *clock);

protected:
    virtual QDateTime nowUtc() const = 0;
};

// A clock that stands still until moved; local time follows the process's time zone.
class ManualClock : public Clock {
public:
    explicit ManualClock(const QDateTime &start) : m_now(start.toUTC()) {}
    void set(const QDateTime &t) { m_now = t.toUTC(); }
    void advanceSecs(qint64 s) { m_now = m_now.addSecs(s); }

protected:
    QDateTime nowUtc() const override { return m_now; }

private:
    QDateTime m_now;
};
