#include "pages/AlarmLogWiring.h"

#include "notify/AlarmActions.h"
#include "notify/AlarmInputs.h"
#include "notify/Mailer.h"
#include "notify/StatisticsLog.h"
#include "pages/AlarmPage.h"
#include "pages/LogCommands.h"

void wireAlarmsAndLog(QObject *window, StatisticsLog &log, AlarmInputs &inputs, AlarmActions &actions,
                      AlarmPage &page, LogCommands &logCommands, Mailer *const &mailer, const WindowHost &host,
                      const AlarmLogHost &alarmHost)
{
    const auto setStatusPanel = host.setStatusPanel;
    QObject::connect(&log, &StatisticsLog::panelTextChanged, window,
                     [setStatusPanel](const QString &t) { setStatusPanel(3, t); });
    QObject::connect(&log, &StatisticsLog::systemMessage, window, host.systemMessage);
    QObject::connect(&log, &StatisticsLog::logFolderMissing, window, [host, stop = alarmHost.stop] {
        stop();
        host.systemMessage(QStringLiteral("The Log folder is missing!"));
        host.messageBox(QStringLiteral("The Log folder is missing!  Veltrano is unable to continue."), true);
        host.systemMessage(QStringLiteral("Stopped."));
    });
    AlarmActions *a = &actions;
    QObject::connect(&inputs, &AlarmInputs::logLine, &log, &StatisticsLog::WriteLogNow);
    QObject::connect(&inputs, &AlarmInputs::alarmTriggered, window, [a](const QString &kind) { a->AlarmTriggered(kind); });
    QObject::connect(&inputs, &AlarmInputs::delayTimerFired, window,
                     [a](const QString &kind) { a->AlarmTriggered(kind); });
    LogCommands *commands = &logCommands;
    QObject::connect(&page, &AlarmPage::viewStatisticsLogRequested, window, [commands] { commands->viewLog(); });
    Mailer *const *m = &mailer;
    QObject::connect(&page, &AlarmPage::sendEmailNowRequested, window, [m](const QString &r) { (*m)->SendEmail(r); });
    QObject::connect(&page, &AlarmPage::cbStateClicked, window,
                     [stateClicked = alarmHost.stateClicked](bool) { stateClicked(); });
}
