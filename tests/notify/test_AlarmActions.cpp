// What an alarm does: the actions in their order, the alarm texts, the
// once-flags and guard timers, the reboot limit, the wait for the alarm
// e-mail and Run's reset.
#include "AlarmActionsFixture.h"
#include "notify/AlarmLog.h"

#include <QFile>

namespace {

const QString kReboot = QStringLiteral("telnet: reboot");

} // namespace

TEST_F(AlarmActionsTest, ThresholdAlarmRunsTheActionsInOrder)
{
    const QString script = dir.filePath(QStringLiteral("Fix Line.SH"));
    testsupport::writeAll(script, "adsl info\n");
    settings.System.Log = true;
    settings.Alarm.LogAlarm = true;
    settings.Alarm.EmailAlarm = true;
    settings.Alarm.Audible = true;
    settings.Alarm.cbExternal = true;
    settings.Alarm.edExternal = script;
    settings.Alarm.cbReboot = true;
    inputs->tmrNoiseBelow->start(60000);

    actions->AlarmTriggered(QStringLiteral("NoiseBelow"));
    // The reboot waits for the alarm e-mail to end.
    actions->EmailDone();

    const QStringList expected = {
        QStringLiteral("msg: tmrWriteToLogInProgress.Enabled = true"),
        QStringLiteral("log: [Alarm: Noise below 3 dB setpoint]"),
        QStringLiteral("log: Rx-Noise=6.5\t"),
        QStringLiteral("msg: Starting e-mail"),
        QStringLiteral("mail: Alarm Triggered"),
        QStringLiteral("msg: Audible alarm"),
        QStringLiteral("siren"),
        QStringLiteral("msg: Run External App or Script"),
        QStringLiteral("msg: Running external script file \"%1\"").arg(script),
        QStringLiteral("log: ROUTER REBOOTED!"),
        QStringLiteral("log: Rx-Noise=6.5\t"),
        QStringLiteral("msg: Router Reboot initiated (Telnet)"),
        kReboot,
    };
    EXPECT_EQ(events, expected);
    // With AlarmOnce the delay timer keeps running; the once-flags hold the alarm back.
    EXPECT_TRUE(inputs->tmrNoiseBelow->isActive());
    EXPECT_TRUE(inputs->NoiseBelowAlarmed && inputs->NoiseAboveAlarmed && inputs->SyncBelowAlarmed
                && inputs->SyncAboveAlarmed);
    EXPECT_TRUE(run.RebootInProgress);
    EXPECT_EQ(actions->RebootCount, 1);
    EXPECT_TRUE(actions->tmrOneHour->isActive());

    // The script goes to the router when its delay is over, named as typed.
    EXPECT_TRUE(actions->tmrScriptWait->isActive());
    EXPECT_EQ(actions->tmrScriptWait->interval(), settings.Alarm.ScriptWait * 1000);
    actions->tmrScriptWaitTimer();
    EXPECT_EQ(events.last(), QStringLiteral("script: ") + script);
}

TEST_F(AlarmActionsTest, AlarmTextsAndLogLines)
{
    struct Case {
        const char *kind;
        const char *connection;
        bool alarmLog; // the separate alarm log rather than the statistics log
        QStringList lines;
    };
    const QString poll = QStringLiteral("Rx-Noise=6.5\t");
    const Case cases[] = {
        {"NoiseAbove", "Connected", false, {QStringLiteral("[Alarm: Noise above 20 dB setpoint]"), poll}},
        {"SyncBelow", "Connected", false, {QStringLiteral("[Alarm: Sync below 500 Kbps setpoint]"), poll}},
        {"SyncAbove", "Connected", true, {QStringLiteral("[Alarm: Sync above 8000 Kbpssetpoint]"), poll}},
        {"Disconnected", "Disconnected", true,
         {QStringLiteral("Disconnected"), QStringLiteral("[Alarm: Disconnected]"), poll}},
        // A ping failure has no text of its own.
        {"Ping 127.0.0.1Failed.", "Connected", false, {poll}},
        {"Ping 127.0.0.1Failed.", "Disconnected", false, {QStringLiteral("[Alarm: Disconnected]"), poll}},
    };
    int n = 0;
    for (const Case &c : cases) {
        SetUp();
        settings.System.Log = !c.alarmLog; // the alarm log does not need statistics logging
        settings.Alarm.LogAlarm = true;
        settings.Alarm.AlarmNormalLog = !c.alarmLog;
        settings.Alarm.AlarmAlarmLog = c.alarmLog;
        settings.Alarm.AlarmLog = dir.filePath(QStringLiteral("alarms%1.txt").arg(++n));
        run.ConnectionStatus = QLatin1String(c.connection);
        actions->AlarmTriggered(QLatin1String(c.kind));

        QStringList written;
        if (c.alarmLog) {
            for (const QByteArray &line : testsupport::readAll(settings.Alarm.AlarmLog).split('\n'))
                if (!line.isEmpty())
                    written << QString::fromLatin1(line.mid(line.indexOf('\t') + 1).chopped(1));
        } else {
            for (const QString &e : events)
                if (e.startsWith(QLatin1String("log: ")))
                    written << e.mid(5);
        }
        EXPECT_EQ(written, c.lines) << c.kind << " " << c.connection;
        EXPECT_TRUE(actions->tmrWriteToLogInProgress->isActive()) << c.kind;
    }
}

TEST_F(AlarmActionsTest, NoiseChangeTextsUseTheLabelsAndStartTheirGuards)
{
    settings.Alarm.SNRSamples = 5;
    bool icon = false;
    inputs->noiseChangeStep(9, {100, 6, 6, 6, 6, 9}, QString(), icon);
    run.Figures.RxNoise = 9.5f;
    EXPECT_EQ(actions->alarmText(QStringLiteral("NoiseHi")),
              QStringLiteral("[Noise Margin has risen by more than 50% 9.5 > ( 12.0 dB ) ]"));
    EXPECT_EQ(actions->alarmText(QStringLiteral("NoiseLo")),
              QStringLiteral("[Noise Margin has fallen by more than 50% 9.5 < ( Average is 6.0 dB ) ]"));

    actions->AlarmTriggered(QStringLiteral("NoiseHi"));
    EXPECT_TRUE(actions->tmrNoisePercentHi->isActive());
    EXPECT_TRUE(actions->guards().noisePercentHi);
    actions->tmrNoisePercentHiTimer();
    actions->AlarmTriggered(QStringLiteral("NoiseLo"));
    EXPECT_TRUE(actions->guards().noisePercentLo);
    EXPECT_FALSE(actions->guards().noisePercentHi);
}

TEST_F(AlarmActionsTest, LogLinesNeedAUsableTarget)
{
    struct Case {
        const char *what;
        bool systemLog, logAlarm, alarmLog, logWriting;
        bool written;
    };
    const Case cases[] = {
        {"statistics log on", true, true, false, false, true},
        {"box unchecked", true, false, false, false, false},
        {"statistics log off, normal target", false, true, false, false, false},
        {"statistics log busy", true, true, false, true, false},
        {"alarm log chosen without statistics log", false, true, true, false, true},
        {"alarm log chosen, box unchecked", false, false, true, false, false},
    };
    int n = 0;
    for (const Case &c : cases) {
        SetUp();
        settings.System.Log = c.systemLog;
        settings.Alarm.LogAlarm = c.logAlarm;
        settings.Alarm.AlarmNormalLog = !c.alarmLog;
        settings.Alarm.AlarmAlarmLog = c.alarmLog;
        settings.Alarm.AlarmLog = dir.filePath(QStringLiteral("alarms%1.txt").arg(++n));
        actions->setStatisticsLog([this](const QString &t) { events << QStringLiteral("log: ") + t; },
                                  [&c] { return c.logWriting; });
        actions->AlarmTriggered(QStringLiteral("Disconnected"));
        const bool written = count(QStringLiteral("log: Rx-Noise=6.5\t")) > 0
                             || QFile::exists(settings.Alarm.AlarmLog);
        EXPECT_EQ(written, c.written) << c.what;
        EXPECT_EQ(actions->tmrWriteToLogInProgress->isActive(), c.written) << c.what;
    }
}

TEST_F(AlarmActionsTest, OnceFlagsHoldBackAThresholdUntilItsConditionEnds)
{
    settings.Alarm.Audible = true;
    ASSERT_TRUE(settings.Alarm.AlarmOnce);

    actions->AlarmTriggered(QStringLiteral("NoiseBelow"));
    EXPECT_EQ(count(QStringLiteral("siren")), 1);
    actions->tmrAudibleInProgressTimer();

    // Held back: its own flag, and the flags the first alarm set for the others.
    for (const char *kind : {"NoiseBelow", "NoiseAbove", "SyncBelow", "SyncAbove"}) {
        actions->AlarmTriggered(QLatin1String(kind));
        EXPECT_EQ(count(QStringLiteral("siren")), 1) << kind;
    }
    // Alarms raised by the cycle itself have no once-flag.
    actions->AlarmTriggered(QStringLiteral("Disconnected"));
    EXPECT_EQ(count(QStringLiteral("siren")), 2);
    actions->tmrAudibleInProgressTimer();

    // The cycle clears a flag when its condition has ended.
    inputs->NoiseBelowAlarmed = false;
    actions->AlarmTriggered(QStringLiteral("NoiseBelow"));
    EXPECT_EQ(count(QStringLiteral("siren")), 3);
    actions->tmrAudibleInProgressTimer();

    // cbAlarmOnceClick clears all four.
    actions->alarmOnceChanged();
    EXPECT_FALSE(inputs->NoiseBelowAlarmed || inputs->NoiseAboveAlarmed || inputs->SyncBelowAlarmed
                 || inputs->SyncAboveAlarmed);
    actions->AlarmTriggered(QStringLiteral("SyncAbove"));
    EXPECT_EQ(count(QStringLiteral("siren")), 4);
}

TEST_F(AlarmActionsTest, WithoutAlarmOnceTheDelayTimerStopsAndNoFlagIsSet)
{
    settings.Alarm.AlarmOnce = false;
    settings.Alarm.Audible = true;
    for (QTimer *t : {inputs->tmrNoiseAbove, inputs->tmrNoiseBelow, inputs->tmrSyncAbove, inputs->tmrSyncBelow})
        t->start(60000);
    actions->AlarmTriggered(QStringLiteral("SyncBelow"));
    EXPECT_FALSE(inputs->tmrSyncBelow->isActive());
    EXPECT_TRUE(inputs->tmrNoiseAbove->isActive() && inputs->tmrNoiseBelow->isActive()
                && inputs->tmrSyncAbove->isActive());
    EXPECT_FALSE(inputs->SyncBelowAlarmed || inputs->NoiseBelowAlarmed);

    actions->tmrAudibleInProgressTimer();
    actions->AlarmTriggered(QStringLiteral("SyncBelow"));
    EXPECT_EQ(count(QStringLiteral("siren")), 2);
}

TEST_F(AlarmActionsTest, AnyGuardTimerOrAStoppedMonitorHoldsEveryAlarmBack)
{
    settings.Alarm.Audible = true;
    settings.Alarm.AlarmOnce = false;
    const QList<QTimer *> guards = guardTimers();
    for (int i = 0; i < guards.size(); ++i) {
        rebuild();
        guardTimers()[i]->start();
        const AlarmGuards g = actions->guards();
        EXPECT_TRUE(g.any()) << guards[i]->objectName().toStdString();
        actions->AlarmTriggered(QStringLiteral("Disconnected"));
        EXPECT_EQ(count(QStringLiteral("siren")), 0) << guards[i]->objectName().toStdString();
    }
    rebuild();
    EXPECT_FALSE(actions->guards().any());
    run.Running = false;
    actions->AlarmTriggered(QStringLiteral("Disconnected"));
    EXPECT_TRUE(events.isEmpty());
}

TEST_F(AlarmActionsTest, EachActionStartsItsGuardForTheAntiCycleTime)
{
    settings.Alarm.AntiCycle = 7;
    settings.Alarm.Audible = true;
    settings.Alarm.EmailAlarm = true;
    settings.Alarm.cbExternal = true;
    settings.Alarm.edExternal = dir.filePath(QStringLiteral("missing"));
    settings.Alarm.cbReboot = true;
    recorder.mailEndsAtOnce = true;
    rebuild();
    actions->AlarmTriggered(QStringLiteral("Disconnected"));
    for (QTimer *t : {actions->tmrAudibleInProgress, actions->tmrEmailInprogress, actions->tmrExternalInProgress,
                      actions->tmrRebootInProgress}) {
        EXPECT_TRUE(t->isActive()) << t->objectName().toStdString();
        EXPECT_EQ(t->interval(), 7 * 60000) << t->objectName().toStdString();
    }
    EXPECT_TRUE(actions->AudibleInProgress && actions->EmailInProgress && actions->ExternalInProgress
                && run.RebootInProgress);
    EXPECT_EQ(count(QStringLiteral("msg: Veltrano is unable to determine the file type.")), 1);

    // Each guard ends its own action's state with its own message.
    struct End {
        void (AlarmActions::*handler)();
        std::function<bool()> inProgress;
        const char *message; // empty: none
    };
    const End ends[] = {
        {&AlarmActions::tmrAudibleInProgressTimer, [this] { return actions->AudibleInProgress; },
         "tmrAudibleInprogress.Enabled:= False"},
        {&AlarmActions::tmrEmailInprogressTimer, [this] { return actions->EmailInProgress; },
         "Email in progress timer - timeout"},
        {&AlarmActions::tmrExternalInProgressTimer, [this] { return actions->ExternalInProgress; },
         "External app in progress timer - timeout"},
        {&AlarmActions::tmrRebootInProgressTimer, [this] { return run.RebootInProgress; },
         "Reboot in progress timer - timeout"},
        {&AlarmActions::tmrWriteToLogInProgressTimer, [] { return false; }, "tmrWriteToLogInProgress - timeout"},
    };
    for (const End &e : ends) {
        events.clear();
        (actions.get()->*e.handler)();
        EXPECT_FALSE(e.inProgress()) << e.message;
        EXPECT_EQ(events, QStringList{QStringLiteral("msg: ") + QLatin1String(e.message)});
    }
    EXPECT_FALSE(actions->guards().any());
}

TEST_F(AlarmActionsTest, RebootLimitPerHourAndPerDay)
{
    struct Case {
        const char *what;
        bool limitOn;
        int reboots;
        bool perHour;
        int alarms;
        int expectedReboots;
        int expectedSkips;
    };
    const Case cases[] = {
        {"one per hour", true, 1, true, 3, 1, 2},
        {"two per hour", true, 2, true, 4, 2, 2},
        {"one per day", true, 1, false, 2, 1, 1},
        {"no limit", false, 1, true, 4, 4, 0},
    };
    for (const Case &c : cases) {
        SetUp();
        settings.Alarm.cbReboot = true;
        settings.Alarm.cbReboots = c.limitOn;
        settings.Alarm.Reboots = c.reboots;
        settings.Alarm.PerHour = c.perHour;
        settings.Alarm.PerDay = !c.perHour;
        settings.Alarm.Audible = true;
        rebuild();
        EXPECT_EQ(actions->tmrOneHour->interval(), c.perHour ? 3600000 : 86400000) << c.what;
        for (int i = 0; i < c.alarms; ++i) {
            actions->AlarmTriggered(QStringLiteral("Disconnected"));
            endGuards();
        }
        EXPECT_EQ(count(kReboot), c.expectedReboots) << c.what;
        EXPECT_EQ(count(QStringLiteral("msg: Reboot count per hour/day exceeded - reboot skipped")), c.expectedSkips)
            << c.what;
        // A skipped reboot runs no later step, but what came before it ran.
        EXPECT_EQ(count(QStringLiteral("siren")), c.alarms) << c.what;
        EXPECT_TRUE(actions->tmrOneHour->isActive()) << c.what;

        // The hour (or day) is over: the count starts again.
        actions->tmrOneHourTimer();
        EXPECT_EQ(actions->RebootCount, 0) << c.what;
        EXPECT_EQ(events.last(), QStringLiteral("msg: Reboots /hour/day counter reset")) << c.what;
        actions->AlarmTriggered(QStringLiteral("Disconnected"));
        EXPECT_EQ(count(kReboot), c.expectedReboots + 1) << c.what;
    }
}

TEST_F(AlarmActionsTest, RebootPaths)
{
    struct Case {
        const char *what;
        bool useTelnet, useWeb, st585;
        QStringList tail;
    };
    const Case cases[] = {
        {"general telnet session", true, false, false,
         {QStringLiteral("msg: Router Reboot initiated (Telnet)"), kReboot}},
        {"SpeedTouch 585", true, false, true,
         {QStringLiteral("msg: Router Reboot initiated (Telnet)"), QStringLiteral("585: system reboot")}},
    };
    for (const Case &c : cases) {
        SetUp();
        settings.Alarm.cbReboot = true;
        settings.Alarm.UseTelnet = c.useTelnet;
        settings.Alarm.UseWeb = c.useWeb;
        settings.Router.ST585 = c.st585;
        actions->AlarmTriggered(QStringLiteral("Disconnected"));
        EXPECT_EQ(events.mid(events.size() - c.tail.size()), c.tail) << c.what;
    }
}

TEST_F(AlarmActionsTest, RebootWaitsForTheAlarmEmail)
{
    struct Case {
        const char *what;
        std::function<void(AlarmActionsTest &)> release; // empty: the mailer ends the send inside SendEmail
    };
    const Case cases[] = {
        {"the mailer reports the end", [](AlarmActionsTest &t) { t.actions->EmailDone(); }},
        {"the time-out ends the wait", [](AlarmActionsTest &t) { t.actions->tmrEmailOverRideTimer(); }},
        {"the mailer ends at once", {}},
    };
    for (const Case &c : cases) {
        SetUp();
        settings.Alarm.EmailAlarm = true;
        settings.Alarm.cbReboot = true;
        settings.Alarm.EmailTimeout = 7;
        recorder.mailEndsAtOnce = !c.release;
        actions->AlarmTriggered(QStringLiteral("Disconnected"));
        if (c.release) {
            EXPECT_EQ(count(kReboot), 0) << c.what;
            EXPECT_TRUE(actions->rebootWaitingForEmail()) << c.what;
            EXPECT_FALSE(actions->isEmailDone()) << c.what;
            EXPECT_TRUE(actions->tmrEmailOverRide->isActive()) << c.what;
            EXPECT_EQ(actions->tmrEmailOverRide->interval(), 7000) << c.what;
            // Another alarm meanwhile is held back by the e-mail's guard.
            actions->AlarmTriggered(QStringLiteral("Disconnected"));
            EXPECT_EQ(count(QStringLiteral("mail: Alarm Triggered")), 1) << c.what;
            c.release(*this);
        }
        EXPECT_EQ(count(kReboot), 1) << c.what;
        EXPECT_TRUE(actions->isEmailDone()) << c.what;
        EXPECT_FALSE(actions->rebootWaitingForEmail()) << c.what;
        EXPECT_FALSE(actions->tmrEmailOverRide->isActive()) << c.what;
        // A late report changes nothing.
        actions->EmailDone();
        EXPECT_EQ(count(kReboot), 1) << c.what;
    }
}

TEST_F(AlarmActionsTest, EmailTimeoutEndsTheWaitOnItsOwn)
{
    settings.Alarm.EmailAlarm = true;
    settings.Alarm.cbReboot = true;
    settings.Alarm.EmailTimeout = 1;
    // A mailer that never reports back, such as one held back by "just one e-mail".
    actions->AlarmTriggered(QStringLiteral("Disconnected"));
    ASSERT_EQ(count(kReboot), 0);
    ASSERT_TRUE(testsupport::waitFor([this] { return count(kReboot) == 1; }, 10000));
    EXPECT_TRUE(actions->isEmailDone());
}

TEST_F(AlarmActionsTest, NoMailerMeansNoWait)
{
    settings.Alarm.EmailAlarm = true;
    settings.Alarm.cbReboot = true;
    actions->setSendEmail({});
    actions->AlarmTriggered(QStringLiteral("Disconnected"));
    EXPECT_EQ(count(kReboot), 1);
    EXPECT_TRUE(actions->EmailInProgress);
}

TEST_F(AlarmActionsTest, RebootLinesGoToTheChosenLog)
{
    settings.Alarm.cbReboot = true;
    settings.Alarm.LogAlarm = true;
    settings.Alarm.AlarmNormalLog = false;
    settings.Alarm.AlarmAlarmLog = true;
    settings.Alarm.AlarmLog = dir.filePath(QStringLiteral("alarms.txt"));
    actions->AlarmTriggered(QStringLiteral("Ping 127.0.0.1Failed."));
    const QByteArray log = testsupport::readAll(settings.Alarm.AlarmLog);
    EXPECT_EQ(log, "Sun 06 Dec 2026  08:47:39\tRx-Noise=6.5\t\r\n"
                   "Sun 06 Dec 2026  08:47:39\tROUTER REBOOTED!\r\n"
                   "Sun 06 Dec 2026  08:47:39\tRx-Noise=6.5\t\r\n");
    EXPECT_EQ(count(QStringLiteral("log: ROUTER REBOOTED!")), 0);
}

TEST_F(AlarmActionsTest, RunResetClearsEverything)
{
    settings.Alarm.AntiCycle = 3;
    settings.Alarm.NoiseAboveSec = 45;
    for (QTimer *t : guardTimers())
        t->start(1000);
    for (QTimer *t : {inputs->tmrNoiseAbove, inputs->tmrNoiseBelow, inputs->tmrSyncAbove, inputs->tmrSyncBelow})
        t->start(1000);
    run.RebootInProgress = true;
    actions->AudibleInProgress = actions->ExternalInProgress = actions->EmailInProgress = true;
    inputs->NoiseAboveAlarmed = inputs->NoiseBelowAlarmed = inputs->SyncAboveAlarmed = inputs->SyncBelowAlarmed = true;

    actions->resetForRun();

    for (QTimer *t : guardTimers()) {
        EXPECT_FALSE(t->isActive()) << t->objectName().toStdString();
        EXPECT_EQ(t->interval(), 3 * 60000) << t->objectName().toStdString();
    }
    for (QTimer *t : {inputs->tmrNoiseAbove, inputs->tmrNoiseBelow, inputs->tmrSyncAbove, inputs->tmrSyncBelow})
        EXPECT_FALSE(t->isActive());
    EXPECT_EQ(inputs->tmrNoiseAbove->interval(), 45000);
    EXPECT_FALSE(run.RebootInProgress || actions->AudibleInProgress || actions->ExternalInProgress
                 || actions->EmailInProgress);
    EXPECT_FALSE(inputs->NoiseAboveAlarmed || inputs->NoiseBelowAlarmed || inputs->SyncAboveAlarmed
                 || inputs->SyncBelowAlarmed);
    EXPECT_FALSE(actions->guards().any());
}

TEST_F(AlarmActionsTest, AntiCycleChangeEndsTheGuardsAndTheirActions)
{
    settings.Alarm.Audible = true;
    settings.Alarm.cbReboot = true;
    inputs->tmrSyncBelow->start(60000);
    actions->AlarmTriggered(QStringLiteral("Disconnected"));
    ASSERT_TRUE(actions->AudibleInProgress && run.RebootInProgress);

    settings.Alarm.AntiCycle = 2;
    actions->antiCycleChanged();
    for (QTimer *t : guardTimers()) {
        EXPECT_FALSE(t->isActive()) << t->objectName().toStdString();
        EXPECT_EQ(t->interval(), 120000) << t->objectName().toStdString();
    }
    EXPECT_FALSE(inputs->tmrSyncBelow->isActive());
    // No guard is left to end them, so they end here: the next alarm acts again.
    EXPECT_FALSE(actions->AudibleInProgress || run.RebootInProgress);
    actions->alarmOnceChanged();
    actions->tmrOneHourTimer();
    actions->AlarmTriggered(QStringLiteral("Disconnected"));
    EXPECT_EQ(count(QStringLiteral("siren")), 2);
    EXPECT_EQ(count(kReboot), 2);
}

TEST_F(AlarmActionsTest, ControlChangesReachTheTimers)
{
    // Unchecking a threshold stops its delay timer; checking leaves it alone.
    inputs->tmrNoiseAbove->start(60000);
    settings.Alarm.NoiseAbove = false;
    actions->thresholdBoxChanged(QStringLiteral("NoiseAbove"));
    EXPECT_FALSE(inputs->tmrNoiseAbove->isActive());

    // A new delay stops all four and sets that one's interval.
    inputs->tmrSyncAbove->start(60000);
    settings.Alarm.SyncBelowSec = 90;
    actions->delaySecondsChanged(QStringLiteral("SyncBelow"));
    EXPECT_FALSE(inputs->tmrSyncAbove->isActive());
    EXPECT_EQ(inputs->tmrSyncBelow->interval(), 90000);

    // Unchecking "Write to Log" ends its guard.
    actions->tmrWriteToLogInProgress->start();
    settings.Alarm.LogAlarm = false;
    actions->writeAlarmToLogChanged();
    EXPECT_FALSE(actions->tmrWriteToLogInProgress->isActive());

    settings.Alarm.AntiCycle = 9;
    actions->audibleChanged();
    EXPECT_EQ(actions->tmrAudibleInProgress->interval(), 9 * 60000);
}

TEST_F(AlarmActionsTest, WriteNowGoesToTheChosenLog)
{
    settings.Alarm.AlarmLog = dir.filePath(QStringLiteral("alarms.txt"));
    actions->writeToChosenLog(QStringLiteral("\tRx-Noise= 6.5"));
    EXPECT_EQ(events, QStringList{QStringLiteral("log: \tRx-Noise= 6.5")});
    EXPECT_FALSE(QFile::exists(settings.Alarm.AlarmLog));

    settings.Alarm.AlarmNormalLog = false;
    settings.Alarm.AlarmAlarmLog = true;
    actions->writeToChosenLog(QStringLiteral("\tRx-Noise= 6.5"));
    EXPECT_EQ(testsupport::readAll(settings.Alarm.AlarmLog), "Sun 06 Dec 2026  08:47:39\t\tRx-Noise= 6.5\r\n");
}

TEST_F(AlarmActionsTest, ReportedUrlsFollowTheRebootAddress)
{
    struct Case {
        const char *reboot;
        const char *url;
        const char *expected;
    };
    const Case cases[] = {
        {"http://192.168.1.1/setup.cgi?todo=reboot", "http://192.168.0.1/setup.cgi?next_file=stattbl.htm",
         "http://192.168.1.1/setup.cgi?next_file=stattbl.htm"},
        {"http://10.0.0.138/reboot.cgi", "http://192.168.0.1/setup.cgi?todo=logout",
         "http://10.0.0.138/setup.cgi?todo=logout"},
        // Either host not a dotted address, or no "/" after it: left alone.
        {"http://router.lan/reboot.cgi", "http://192.168.0.1/a", "http://192.168.0.1/a"},
        {"http://192.168.1.1/reboot.cgi", "http://127.0.0.1:8080/a", "http://127.0.0.1:8080/a"},
        {"http://192.168.1.1", "http://192.168.0.1/a", "http://192.168.0.1/a"},
        {"http://192.168.1.1/x", "http://", "http://"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(AlarmActions::urlFollowingHost(QLatin1String(c.reboot), QLatin1String(c.url)),
                  QLatin1String(c.expected))
            << c.reboot << " " << c.url;
}

TEST_F(AlarmActionsTest, LoadedSettingsReachTheIdleTimersOnly)
{
    actions->tmrAudibleInProgress->start(1234);
    settings.Alarm.AntiCycle = 4;
    settings.Alarm.PerHour = false;
    settings.Alarm.PerDay = true;
    settings.Alarm.EmailTimeout = 9;
    settings.Alarm.ScriptWait = 12;
    actions->applySettings();
    EXPECT_TRUE(actions->tmrAudibleInProgress->isActive());
    EXPECT_EQ(actions->tmrAudibleInProgress->interval(), 1234);
    EXPECT_EQ(actions->tmrRebootInProgress->interval(), 4 * 60000);
    EXPECT_EQ(actions->tmrOneHour->interval(), 86400000);
    EXPECT_EQ(actions->tmrEmailOverRide->interval(), 9000);
    EXPECT_EQ(actions->tmrScriptWait->interval(), 12000);
}

TEST_F(AlarmActionsTest, StopEndsThreeGuardsAndRunTheirStates)
{
    settings.Alarm.Audible = true;
    settings.Alarm.EmailAlarm = true;
    settings.Alarm.cbReboot = true;
    recorder.mailEndsAtOnce = true;
    actions->AlarmTriggered(QStringLiteral("Disconnected"));
    actions->stopped();
    EXPECT_FALSE(actions->tmrRebootInProgress->isActive() || actions->tmrAudibleInProgress->isActive()
                 || actions->tmrExternalInProgress->isActive());
    EXPECT_TRUE(actions->tmrEmailInprogress->isActive());
    EXPECT_TRUE(run.RebootInProgress && actions->AudibleInProgress);
    actions->resetForRun();
    EXPECT_FALSE(run.RebootInProgress || actions->AudibleInProgress || actions->EmailInProgress);
}
