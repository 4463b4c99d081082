// The order of a poll's steps and its early exits, seen through a host that
// records which steps ran.
#include "RouterSim.h"
#include "TestSupport.h"
#include "acquisition/PollingCycle.h"
#include "common/Clock.h"
#include "settings/SettingsStore.h"

#include <ctime>
#include <gtest/gtest.h>

namespace {

struct RecordingHost : PollingCycleHost {
    QStringList steps;
    QStringList messages;
    RunState *state = nullptr;
    float rxNoiseFromPage = 6.5f;
    QString connectionAfterStep; // what the connection step finds
    std::function<void(Next)> connectionHook;

    void systemMessage(const QString &t) override { messages << t; }
    void gapStep(bool show, bool gap) override { steps << QStringLiteral("gap:%1:%2").arg(show).arg(gap); }
    void checkCameras() override { steps << QStringLiteral("cameras"); }
    void preparePage(QString &) override { steps << QStringLiteral("prepare"); }
    void wanAddressStep(QString &, Next next) override
    {
        steps << QStringLiteral("wan");
        next();
    }
    void logHeaderStep(const QString &) override { steps << QStringLiteral("header"); }
    void dg834DetectionStep(const QString &, bool first, Next next) override
    {
        steps << QStringLiteral("dg834:%1").arg(first);
        next();
    }
    void extractFigures(const QString &page) override
    {
        steps << QStringLiteral("figures");
        if (!page.isEmpty())
            state->Figures.RxNoise = rxNoiseFromPage;
    }
    void uptimeStep(const QString &) override { steps << QStringLiteral("uptime"); }
    void webImagesStep() override { steps << QStringLiteral("web"); }
    void scheduledCapturesStep() override { steps << QStringLiteral("captures"); }
    TColor choosePointColour(bool noAnswer) override
    {
        steps << QStringLiteral("colour:%1").arg(noAnswer);
        return noAnswer ? 0xFF00FF : 0x800000;
    }
    TColor plotHttpStep(TColor c) override
    {
        steps << QStringLiteral("plot:%1").arg(c, 0, 16);
        return c;
    }
    void iconNoise(TColor c) override { steps << QStringLiteral("icon:%1").arg(c, 0, 16); }
    void telnetStep(bool first) override { steps << QStringLiteral("telnet:%1").arg(first); }
    void pingStep(Next next) override
    {
        steps << QStringLiteral("ping");
        if (pingHook)
            pingHook(next);
        else
            next();
    }
    std::function<void(Next)> pingHook;
    void telnetAverageStep() override { steps << QStringLiteral("telnetavg"); }
    void alarmInputsStep() override { steps << QStringLiteral("alarms"); }
    void logItemsAndTelnetChartsStep() override { steps << QStringLiteral("items"); }
    void afterPingItemsStep() override { steps << QStringLiteral("pingitems"); }
    void writeLogStep() override { steps << QStringLiteral("log"); }
    void changeAlarmsStep() override { steps << QStringLiteral("change"); }
    void connectionStep(Next next) override
    {
        steps << QStringLiteral("connection");
        if (!connectionAfterStep.isEmpty())
            state->ConnectionStatus = connectionAfterStep;
        next();
    }
    void trayHintStep() override { steps << QStringLiteral("hint"); }
};

struct CycleTest : ::testing::Test {
    routersim::RouterSim sim;
    TSettings settings;
    RunState state;
    RouterHttpClient client;
    RecordingHost host;
    std::unique_ptr<PollingCycle> cycle;
    ManualClock clock{QDateTime(QDate(2026, 12, 6), QTime(8, 47, 39), Qt::UTC)};

    void SetUp() override
    {
        Clock::setInstance(&clock);
        routersim::RouterSimOptions o;
        o.control = false;
        o.auth = QStringLiteral("none");
        QString error;
        ASSERT_TRUE(sim.start(o, &error)) << error.toStdString();
        SettingsEnvironment env;
        env.settingsPath = QStringLiteral("/nonexistent/veltrano.ini");
        env.now = clock.currentDateTime();
        settings = settingsstore::load(env).settings;
        settings.Router.Login =
            QStringLiteral("http://127.0.0.1:%1/setup.cgi?next_file=stattbl.htm").arg(sim.httpPort());
        settings.Capture.Never = false;
        host.state = &state;
        state.LastSampleSecond = clock.currentDateTimeUtc().toSecsSinceEpoch();
        cycle = std::make_unique<PollingCycle>(settings, state, client, host);
    }
    void TearDown() override { Clock::setInstance(nullptr); }

    void runCycle(bool first = false)
    {
        host.steps.clear();
        bool finished = false;
        QObject::connect(cycle.get(), &PollingCycle::finished, [&] { finished = true; });
        ASSERT_TRUE(cycle->start(first));
        ASSERT_TRUE(testsupport::waitFor([&] { return finished; }, 15000));
        cycle->disconnect();
    }
};

QStringList split(const char *s) { return QString::fromLatin1(s).split(QLatin1Char(' ')); }

} // namespace

TEST_F(CycleTest, AFullPollRunsEveryStepInOrder)
{
    state.SampleCount = 5;
    runCycle();
    EXPECT_EQ(host.steps, split("gap:1:0 cameras prepare wan header dg834:0 figures uptime web cameras captures "
                                "colour:0 plot:800000 icon:800000 telnet:0 telnetavg alarms items ping pingitems log "
                                "change connection icon:800000 hint"));
    EXPECT_EQ(state.SampleCount, 6);
    EXPECT_EQ(state.PointsPlotted, 1);
    EXPECT_EQ(state.PointLabelFormat, QStringLiteral(" hh:nn:ss "));
    EXPECT_EQ(state.SampleStamp, clock.currentDateTime());
}

TEST_F(CycleTest, TheFirstCycleOfARunEndsAfterTheTelnetStep)
{
    runCycle(true);
    EXPECT_EQ(host.steps.last(), QStringLiteral("telnet:1"));
    EXPECT_TRUE(host.steps.contains(QStringLiteral("dg834:1")));
    EXPECT_EQ(host.messages, QStringList{QStringLiteral("Main sample timer: HTTP Login (Run button).")});
}

TEST_F(CycleTest, AnEmptyFirstPollPlotsNothing)
{
    host.rxNoiseFromPage = 0;
    runCycle(true);
    EXPECT_EQ(host.steps.last(), QStringLiteral("captures"));
    EXPECT_EQ(state.SampleCount, 1);
}

TEST_F(CycleTest, NoAnswerSkipsTheFiguresButCountsPlotsAndLogs)
{
    sim.execute(QStringLiteral("fail * 500"));
    state.SampleCount = 5;
    state.Figures.RxNoise = 9; // cleared at the start of the poll
    runCycle();
    EXPECT_EQ(host.steps, split("gap:1:0 cameras web cameras captures colour:1 plot:ff00ff icon:ff00ff telnet:0 "
                                "telnetavg alarms items ping pingitems log change"));
    EXPECT_EQ(state.Figures.RxNoise, 0);
    EXPECT_EQ(state.SampleCount, 6);
}

TEST_F(CycleTest, EmptyLoginUrlDoesOnlyTheBookkeeping)
{
    settings.Router.Login.clear();
    state.Figures.TxSync = 448;
    runCycle();
    EXPECT_EQ(host.steps, split("gap:1:0 cameras"));
    EXPECT_EQ(state.Figures.TxSync, 0);
    EXPECT_EQ(sim.journal().lines().size(), 0);
}

TEST_F(CycleTest, AfterAStopThePreviousFiguresStandForOnePoll)
{
    settings.Router.Login.clear();
    state.Figures.RxSync = 8128;
    state.StoppedSinceRound = true;
    runCycle();
    EXPECT_EQ(state.Figures.RxSync, 8128);
    EXPECT_FALSE(state.StoppedSinceRound);
    runCycle();
    EXPECT_EQ(state.Figures.RxSync, 0);
}

TEST_F(CycleTest, GapsAreMeasuredInEpochSecondsAgainstTheGapFactor)
{
    settings.Router.Login.clear();
    settings.Graph.GapFactor = 5;
    clock.advanceSecs(5 * 60);
    runCycle();
    EXPECT_EQ(host.steps.first(), QStringLiteral("gap:1:0"));
    clock.advanceSecs(5 * 60 + 1);
    settings.Graph.ShowGaps = false;
    runCycle();
    EXPECT_EQ(host.steps.first(), QStringLiteral("gap:0:1"));
    EXPECT_EQ(state.LastSampleSecond, clock.currentDateTimeUtc().toSecsSinceEpoch());
}

TEST_F(CycleTest, PausedGraphsStopForRebootsAndTinyPages)
{
    settings.Graph.Pause = true;
    state.RebootInProgress = true;
    runCycle();
    EXPECT_EQ(host.messages, QStringList{QStringLiteral("Reboot in progress and Pause Graphs checked - plotting skipped")});
    EXPECT_EQ(host.steps, split("gap:1:0 cameras"));

    state.RebootInProgress = false;
    sim.execute(QStringLiteral("fail * short:9"));
    runCycle();
    EXPECT_EQ(host.steps, split("gap:1:0 cameras"));

    // Without Pause a tiny page goes on to the searches.
    settings.Graph.Pause = false;
    runCycle();
    EXPECT_TRUE(host.steps.contains(QStringLiteral("figures")));
}

TEST_F(CycleTest, ScheduleWaitingStopsOutsideTheCaptureHours)
{
    state.ScheduleWaiting = true;
    state.CaptureActive = true;
    settings.Capture.Never = true; // no capture hours at all
    runCycle();
    EXPECT_EQ(host.steps, split("gap:1:0 cameras"));
}

// Outside its hours a plot-only run still logs and raises alarms: the log is the proof of a fault.
TEST_F(CycleTest, PlotOnlyOutsideTheCaptureHoursLogsButPlotsNothing)
{
    state.SampleCount = 5;
    state.SchedulePlotOnly = true;
    settings.Capture.Never = true;
    runCycle();
    EXPECT_TRUE(state.PlotSuppressed);
    EXPECT_FALSE(host.steps.filter(QStringLiteral("plot:")).size());
    for (const char *step : {"alarms", "items", "log", "change", "connection"})
        EXPECT_TRUE(host.steps.contains(QLatin1String(step))) << step;

    settings.Capture.Never = false;
    state.CaptureActive = true;
    runCycle();
    EXPECT_FALSE(state.PlotSuppressed);
}

TEST_F(CycleTest, TheLogLineWaitsForThisPollsPing)
{
    state.SampleCount = 5;
    PollingCycleHost::Next pending;
    host.pingHook = [&](PollingCycleHost::Next next) { pending = next; };
    bool finished = false;
    QObject::connect(cycle.get(), &PollingCycle::finished, [&] { finished = true; });
    ASSERT_TRUE(cycle->start(false));
    ASSERT_TRUE(testsupport::waitFor([&] { return bool(pending); }, 15000));
    EXPECT_EQ(host.steps.last(), QStringLiteral("ping"));
    // The telnet charts do not wait for it: a reply landing meanwhile is the next poll's.
    EXPECT_TRUE(host.steps.contains(QStringLiteral("items")));
    EXPECT_FALSE(host.steps.contains(QStringLiteral("log")));
    EXPECT_FALSE(cycle->start(false)); // a tick meanwhile is skipped
    pending();
    EXPECT_TRUE(host.steps.contains(QStringLiteral("log")));
    EXPECT_TRUE(finished);
}

TEST_F(CycleTest, ADisconnectedRouterTurnsTheIconToTheAlarmColour)
{
    state.SampleCount = 5;
    host.connectionAfterStep = QStringLiteral("Disconnected");
    settings.Graph.AlarmColour = 0x0000FF;
    settings.Alarm.ConnectionLoss = true;
    runCycle();
    EXPECT_EQ(host.steps.mid(host.steps.size() - 2), split("icon:ff hint"));
    EXPECT_TRUE(state.IconAlarmState);
}

TEST_F(CycleTest, UtcStampsComeFromTheUtcClock)
{
    qputenv("TZ", "Europe/Berlin");
    tzset();
    settings.Graph.UTCTime = true;
    runCycle();
    EXPECT_EQ(state.SampleStamp.time(), QTime(8, 47, 39));
    settings.Graph.UTCTime = false;
    runCycle();
    EXPECT_EQ(state.SampleStamp.time(), QTime(9, 47, 39));
    qputenv("TZ", "UTC");
    tzset();
}

TEST_F(CycleTest, TelnetOnlyMonitoringFetchesNoPageAndPlotsNoHttpChart)
{
    settings.Telnet.DisableHTTP = true;
    state.SampleCount = 5;
    runCycle();
    EXPECT_EQ(sim.journal().lines().size(), 0);
    for (const QString &step : host.steps)
        EXPECT_FALSE(step.startsWith(QLatin1String("plot")) || step.startsWith(QLatin1String("icon"))) << step.toStdString();
    EXPECT_TRUE(host.steps.contains(QStringLiteral("telnet:0")));

    // Run accepts telnet-only monitoring without a status-page address:
    // its polls still log and plot the telnet figures.
    settings.Router.Login.clear();
    host.steps.clear();
    runCycle();
    EXPECT_EQ(sim.journal().lines().size(), 0);
    for (const char *step : {"telnet:0", "items", "log", "hint"})
        EXPECT_TRUE(host.steps.contains(QLatin1String(step))) << step;
}

TEST_F(CycleTest, TransferBoundFollowsTheSampleUpToFifteenSeconds)
{
    EXPECT_EQ(PollingCycle::transferTimeoutMs(1), 1000);
    EXPECT_EQ(PollingCycle::transferTimeoutMs(20), 15000);
    EXPECT_EQ(PollingCycle::transferTimeoutMs(0), 1000);
}

TEST_F(CycleTest, PointLabelsShowSecondsBelowThirtySecondSamples)
{
    state.SampleCount = 5;
    settings.System.Sample = 29;
    runCycle();
    EXPECT_EQ(state.PointLabelFormat, QStringLiteral(" hh:nn:ss "));
    settings.System.Sample = 30;
    runCycle();
    EXPECT_EQ(state.PointLabelFormat, QStringLiteral(" hh:nn      "));
}
