#pragma once
// A timer that is left alone when nothing about it changes: setting the
// interval it already has, or starting it while it runs, does not restart it.
// Restarts of a running timer are counted, so a caller can tell a
// re-arm that pushed the next tick back from one that did not.
#include <QTimer>

class SteadyTimer : public QTimer {
    Q_OBJECT
public:
    using QTimer::QTimer;

    // A new interval restarts a running timer; the same interval does nothing.
    void setInterval(int ms);
    // Starts a stopped timer; a running one keeps its next tick.
    void startKept();
    // Starts it afresh, as QTimer::start() does (counted when it was running).
    void start();
    void start(int ms);

    int restarts() const { return m_restarts; }

private:
    int m_restarts = 0;
};
