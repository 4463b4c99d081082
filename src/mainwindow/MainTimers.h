#pragma once
// The main window's own timers: the start minimised, the auto-start delay and the polling.

class QObject;
class QTimer;
class SteadyTimer;

// The timers as built, stopped; the window owns them and wires their timeouts.
struct MainTimers {
    QTimer *tmrStartMinimized = nullptr; // shortly after the window first shows
    QTimer *tmrAutoStartDelay = nullptr; // presses Run once the configured delay has passed
    SteadyTimer *Timer1 = nullptr;       // polling

    static MainTimers build(QObject *owner);
};
