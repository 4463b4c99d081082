#include "mainwindow/DailyWiring.h"

#include "chartimages/GraphImages.h"
#include "charts/TelnetPlotting.h"
#include "common/Clock.h"
#include "common/SteadyTimer.h"
#include "notify/DailyTimer.h"
#include "notify/ImageCleanup.h"
#include "notify/Mailer.h"
#include "notify/StatisticsLog.h"

DailyTimers buildDailyTimers(QObject *window, const DailyParts &parts, const WindowHost &host)
{
    DailyTimers t;
    TSettings *settings = &parts.settings;
    const QString *settingsFilePath = &parts.settingsFilePath;
    StatisticsLog *log = &parts.log;
    TelnetPlotting *telnetPlotting = &parts.telnetPlotting;
    GraphImages *images = &parts.images;
    Mailer *const *mailer = &parts.mailer;
    const auto systemMessage = host.systemMessage;
    const auto statusPanel = host.statusPanel;

    t.daily = new DailyTimer(parts.settings, parts.run, window);
    QObject::connect(t.daily, &DailyTimer::systemMessage, window, host.systemMessage);
    QObject::connect(t.daily, &DailyTimer::imageCleanUpDue, window, [settings, settingsFilePath, systemMessage] {
        const ImageCleanupResult r = ImageCleanup::DeleteFiles(*settings, Clock::currentDateTime(), *settingsFilePath);
        for (const QString &m : r.messages)
            systemMessage(m);
    });
    QObject::connect(t.daily, &DailyTimer::logTrimDue, window, [log] { log->TrimLog(); });
    QObject::connect(t.daily, &DailyTimer::resetIncrementalDue, window, [telnetPlotting] { telnetPlotting->SetMinimum(); });
    QObject::connect(t.daily, &DailyTimer::dailyCapturesDue, window, [images](const QList<int> &charts) {
        for (int chart : charts)
            images->Save(chart, QStringLiteral("Daily"));
    });
    // The mailer says "Daily e-mail" itself, when the e-mail starts.
    QObject::connect(t.daily, &DailyTimer::dailyEmailDue, window,
                     [mailer, statusPanel] { (*mailer)->DailyEmail(statusPanel(1)); });

    t.tmr15Mins = new QTimer(window);
    t.tmr15Mins->setObjectName(QStringLiteral("tmr15Mins"));
    QObject::connect(t.tmr15Mins, &QTimer::timeout, window, [telnetPlotting] { telnetPlotting->tmr15MinsTimer(); });

    t.tmrLogAt = new SteadyTimer(window);
    t.tmrLogAt->setObjectName(QStringLiteral("tmrLogAt"));
    return t;
}
