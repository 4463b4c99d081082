#include "common/Clock.h"

#include <atomic>

namespace {
std::atomic<Clock *> g_clock{nullptr};
}

QDateTime Clock::currentDateTime()
{
    Clock *c = g_clock.load();
    return c ? c->nowUtc().toLocalTime() : QDateTime::currentDateTime();
}

QDateTime Clock::currentDateTimeUtc()
{
    Clock *c = g_clock.load();
    return c ? c->nowUtc() : QDateTime::currentDateTimeUtc();
}

void Clock::setInstance(Clock *clock) { g_clock.store(clock); }
