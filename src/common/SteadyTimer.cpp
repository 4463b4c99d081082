#include "common/SteadyTimer.h"

void SteadyTimer::setInterval(int ms)
{
    if (ms == interval())
        return;
    m_restarts += isActive();
    QTimer::setInterval(ms);
}

void SteadyTimer::startKept()
{
    if (!isActive())
        QTimer::start();
}

void SteadyTimer::start()
{
    m_restarts += isActive();
    QTimer::start();
}

void SteadyTimer::start(int ms)
{
    m_restarts += isActive();
    QTimer::start(ms);
}
