#include "mainwindow/MainTimers.h"

#include "common/SteadyTimer.h"

#include <QTimer>

MainTimers MainTimers::build(QObject *owner)
{
    MainTimers t;
    t.tmrStartMinimized = new QTimer(owner);
    t.tmrStartMinimized->setObjectName(QStringLiteral("tmrStartMinimized"));
    t.tmrStartMinimized->setSingleShot(true);
    t.tmrStartMinimized->setInterval(10);

    t.tmrAutoStartDelay = new QTimer(owner);
    t.tmrAutoStartDelay->setObjectName(QStringLiteral("tmrAutoStartDelay"));
    t.tmrAutoStartDelay->setSingleShot(true);

    t.Timer1 = new SteadyTimer(owner);
    t.Timer1->setObjectName(QStringLiteral("Timer1"));
    return t;
}
