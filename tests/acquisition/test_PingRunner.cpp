// The ping runner: host and option checks, output reading, the loss count and
// its alarm, a live ping of loopback, and the time-out on a process that hangs.
#include "acquisition/PingRunner.h"
#include "settings/SettingsStore.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TSettings pingSettings()
{
    SettingsEnvironment env;
    env.settingsPath = QStringLiteral("/nonexistent/veltrano.ini");
    env.now = QDateTime(QDate(2026, 12, 6), QTime(8, 0));
    TSettings s = settingsstore::load(env).settings;
    s.Ping.Ping = true;
    s.Ping.ShowPing = true;
    s.Ping.PingHost = QStringLiteral("127.0.0.1");
    s.Ping.PingNum = 1;
    return s;
}

PingResult runToEnd(PingRunner &runner, const TSettings &s)
{
    QSignalSpy done(&runner, &PingRunner::finished);
    runner.PingNow(s);
    if (done.isEmpty()) {
        EXPECT_TRUE(done.wait(30000));
    }
    EXPECT_EQ(done.size(), 1);
    return done.isEmpty() ? PingResult{} : done.first().first().value<PingResult>();
}

bool pingPermitted()
{
    QProcess p;
    p.start(QStringLiteral("ping"), {QStringLiteral("-n"), QStringLiteral("-c"), QStringLiteral("1"),
                                     QStringLiteral("-w"), QStringLiteral("3"), QStringLiteral("127.0.0.1")});
    return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace

TEST(PingRunnerChecks, HostValidation)
{
    struct Case {
        const char *host;
        bool ok;
    } cases[] = {
        {"127.0.0.1", true}, {"::1", true}, {"fe80::1", true}, {"router.example-isp.net", true},
        {"localhost", true}, {"a1.b2", true},
        {"", false}, {"-f", false}, {"host-", false}, {"a..b", false}, {"host name", false},
        {"127.0.0.1;rm -rf /", false}, {"$(reboot)", false}, {"host\n127.0.0.1", false},
        {"999.1.1.1", false}, {"1.2.3", false}, {":::", false}, {"ho_st", false}, {"höst", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(PingRunner::validHost(QString::fromUtf8(c.host)), c.ok) << c.host;
}

TEST(PingRunnerChecks, OptionFiltering)
{
    struct Case {
        const char *text;
        bool ok;
        int words;
    } cases[] = {
        {"", true, 0}, {"  ", true, 0}, {"-q", true, 1}, {"-4 -q", true, 2}, {"-s 56", true, 2},
        {"-s56 -t 64", true, 3}, {"-nq -I lo", true, 3}, {"-i 0.5", true, 2},
        {"-c 5", false, 0},      // the count is ours
        {"-w 100", false, 0},    // so is the deadline
        {"-f", false, 0},        // flood
        {"-qf", false, 0},
        {"-s", false, 0},        // value missing
        {"-q 8.8.8.8", false, 0}, // a second host
        {"-s $(id)", false, 0}, {"-s 1;ls", false, 0}, {"-p `x`", false, 0}, {"--help", false, 0},
        {"-s -q", false, 0},
    };
    for (const Case &c : cases) {
        const auto r = PingRunner::safeOptions(QString::fromUtf8(c.text));
        EXPECT_EQ(r.has_value(), c.ok) << c.text;
        if (r) {
            EXPECT_EQ(r->size(), c.words) << c.text;
        }
    }
    EXPECT_EQ(PingRunner::arguments(2, {QStringLiteral("-q")}, QStringLiteral("127.0.0.1")),
              (QStringList{"-n", "-c", "2", "-w", "4", "-q", "127.0.0.1"}));
}

TEST(PingRunnerChecks, OutputParsing)
{
    struct Case {
        const char *name;
        QStringList lines;
        bool replied;
        bool totalLoss;
        int ms;
    } cases[] = {
        {"success",
         {"PING 127.0.0.1 (127.0.0.1) 56(84) bytes of data.", "64 bytes from 127.0.0.1: icmp_seq=1 ttl=64 time=22.6 ms",
          "", "--- 127.0.0.1 ping statistics ---", "1 packets transmitted, 1 received, 0% packet loss, time 0ms",
          "rtt min/avg/max/mdev = 22.6/23.4/24.1/0.1 ms"},
         true, false, 23},
        {"busybox", {"round-trip min/avg/max = 0.1/7.5/9.0 ms"}, true, false, 8},
        {"total loss",
         {"--- 10.0.0.9 ping statistics ---", "3 packets transmitted, 0 received, 100% packet loss, time 2030ms"},
         false, true, 1000},
        {"some loss", {"3 packets transmitted, 2 received, 33.3333% packet loss, time 2002ms",
                       "rtt min/avg/max/mdev = 1.0/2.0/3.0/0.8 ms"}, true, false, 2},
        {"errors", {"2 packets transmitted, 0 received, +2 errors, 100% packet loss, time 1001ms"}, false, true, 1000},
        {"unknown host", {"ping: nosuchhost.invalid: Name or service not known"}, false, false, 1000},
        {"nothing", {}, false, false, 1000},
    };
    for (const Case &c : cases) {
        const PingResult r = PingRunner::parseOutput(c.lines);
        SCOPED_TRACE(c.name);
        EXPECT_EQ(r.replied, c.replied);
        EXPECT_EQ(r.totalLoss, c.totalLoss);
        EXPECT_EQ(r.PingMs, c.ms);
        EXPECT_EQ(r.output, c.lines);
    }
}

TEST(PingRunnerChecks, LossCountAndAlarm)
{
    PingRunner runner;
    QSignalSpy alarms(&runner, &PingRunner::alarmTriggered);
    const QString host = QStringLiteral("127.0.0.1");
    // Three losses raise one alarm; the fourth starts a new count.
    for (int i = 0; i < 3; ++i)
        runner.countLoss(true, true, 3, host);
    ASSERT_EQ(alarms.size(), 1);
    EXPECT_EQ(alarms.first().first().toString(), QStringLiteral("Ping 127.0.0.1Failed."));
    EXPECT_EQ(runner.PingFailCount(), 0);
    runner.countLoss(true, true, 3, host);
    EXPECT_EQ(runner.PingFailCount(), 1);
    // A reply restarts the count.
    runner.countLoss(true, true, 3, host);
    runner.countLoss(false, true, 3, host);
    EXPECT_EQ(runner.PingFailCount(), 0);
    runner.countLoss(true, true, 3, host);
    runner.countLoss(true, true, 3, host);
    // With the alarm off losses are not counted at all.
    runner.countLoss(true, false, 3, host);
    EXPECT_EQ(runner.PingFailCount(), 0);
    runner.countLoss(true, true, 3, host);
    runner.countLoss(true, true, 3, host);
    EXPECT_EQ(alarms.size(), 1);
}

TEST(PingRunnerRun, RefusedHostRunsNothingAndCountsNothing)
{
    PingRunner runner;
    runner.setProgram(QStringLiteral("/nonexistent/ping")); // would count as a failure if started
    TSettings s = pingSettings();
    s.Ping.PingAlarm = true;
    s.Ping.PingTimes = 2;
    s.Ping.PingHost = QStringLiteral("127.0.0.1 -f");
    QSignalSpy messages(&runner, &PingRunner::systemMessage);
    QSignalSpy alarms(&runner, &PingRunner::alarmTriggered);
    for (int i = 0; i < 3; ++i) {
        const PingResult r = runToEnd(runner, s);
        EXPECT_FALSE(r.replied);
        EXPECT_TRUE(r.refused);
        EXPECT_EQ(r.value, 1000);
    }
    // A settings fault is said once, and again only when it changes.
    EXPECT_EQ(messages.size(), 1);
    s.Ping.PingHost.clear();
    runToEnd(runner, s);
    runToEnd(runner, s);
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages.last().first().toString(), QStringLiteral("Ping host not set: nothing is pinged."));
    EXPECT_TRUE(alarms.isEmpty());
    EXPECT_FALSE(runner.busy());
}

// Only a ping that ran and reported total loss counts towards the alarm; a ping
// that could not run says nothing about the line and is a message instead.
TEST(PingRunnerRun, OnlyTotalLossFromARealPingCountsTowardsTheAlarm)
{
    QTemporaryDir dir;
    auto script = [&](const char *name, const QByteArray &body) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write("#!/bin/sh\n" + body);
        f.close();
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    };
    struct Case {
        QString program;
        bool counts;
    } cases[] = {
        {QStringLiteral("/nonexistent/ping"), false},
        {script("unknown", "echo 'ping: nohost: Name or service not known' >&2\nexit 2\n"), false},
        {script("denied", "echo 'ping: socket: Operation not permitted' >&2\nexit 2\n"), false},
        {script("loss", "echo '1 packets transmitted, 0 received, 100% packet loss, time 0ms'\nexit 1\n"), true},
    };
    for (const Case &c : cases) {
        PingRunner runner;
        runner.setProgram(c.program);
        TSettings s = pingSettings();
        s.Ping.PingAlarm = true;
        s.Ping.PingTimes = 2;
        QSignalSpy alarms(&runner, &PingRunner::alarmTriggered);
        QSignalSpy messages(&runner, &PingRunner::systemMessage);
        runToEnd(runner, s);
        const PingResult r = runToEnd(runner, s);
        EXPECT_FALSE(r.replied) << qPrintable(c.program);
        EXPECT_EQ(r.PingMs, 1000) << qPrintable(c.program);
        if (c.counts) {
            ASSERT_EQ(alarms.size(), 1) << qPrintable(c.program);
            EXPECT_EQ(alarms.first().first().toString(), QStringLiteral("Ping 127.0.0.1Failed."));
        } else {
            EXPECT_TRUE(alarms.isEmpty()) << qPrintable(c.program);
            EXPECT_EQ(messages.size(), 2) << qPrintable(c.program);
            EXPECT_EQ(runner.PingFailCount(), 0);
        }
    }
}

TEST(PingRunnerRun, HangingProcessIsKilled)
{
    QTemporaryDir dir;
    const QString script = dir.filePath(QStringLiteral("hang"));
    {
        QFile f(script);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\necho started\nexec sleep 600\n");
    }
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    PingRunner runner;
    runner.setProgram(script);
    runner.setHardTimeoutMs(300);
    const PingResult r = runToEnd(runner, pingSettings());
    EXPECT_TRUE(r.killed);
    EXPECT_FALSE(r.replied);
    EXPECT_EQ(r.PingMs, 1000);
    EXPECT_TRUE(r.output.contains(QStringLiteral("started")));
    EXPECT_FALSE(runner.busy());
}

TEST(PingRunnerRun, LoopbackAnswers)
{
    if (!pingPermitted())
        GTEST_SKIP() << "the system ping cannot reach 127.0.0.1 here (missing or not permitted in this sandbox)";
    PingRunner runner;
    TSettings s = pingSettings();
    s.Ping.PingNum = 0; // raised to 1
    s.Ping.OtherPingParams = QStringLiteral("-q");
    s.Ping.PingAlarm = true;
    QSignalSpy cleared(&runner, &PingRunner::outputCleared);
    const PingResult r = runToEnd(runner, s);
    EXPECT_EQ(cleared.size(), 1);
    EXPECT_TRUE(r.replied);
    EXPECT_FALSE(r.totalLoss);
    EXPECT_LT(r.value, 1000);
    EXPECT_EQ(runner.PingMs(), r.PingMs);
    EXPECT_EQ(runner.PingFailCount(), 0);
    EXPECT_TRUE(r.output.join(QLatin1Char('\n')).contains(QStringLiteral("1 packets transmitted")));
}

TEST(PingRunnerRun, SecondPingWhileBusyIsSkipped)
{
    if (!pingPermitted())
        GTEST_SKIP() << "the system ping cannot reach 127.0.0.1 here (missing or not permitted in this sandbox)";
    PingRunner runner;
    const TSettings s = pingSettings();
    QSignalSpy done(&runner, &PingRunner::finished);
    EXPECT_TRUE(runner.PingNow(s));
    EXPECT_FALSE(runner.PingNow(s));
    EXPECT_TRUE(done.wait(30000));
    EXPECT_EQ(done.size(), 1);
}
