// A poll against each router model, seen where the user sees it: the figure
// labels, the status bar, the caption and the statistics log.
#include "SimWindowFixture.h"
#include "OnlyChild.h"
#include "acquisition/PollingCycle.h"
#include "charts/ChartSeries.h"
#include "charts/ChartSet.h"
#include "mainwindow/NoiseTrayIcon.h"
#include "notify/AlarmInputs.h"

#include <QFile>
#include <QLabel>
#include <cmath>

using testsupport::onlyChild;

namespace {

struct ModelCase {
    const char *profile;
    const char *statusPath;
    const char *settings;
    const char *label2;
    const char *label4;
    const char *panel1;
    const char *panel2;
};

struct PollResultsTest : SimWindowTest, ::testing::WithParamInterface<ModelCase> {
    void SetUp() override
    {
        profile = QString::fromLatin1(GetParam().profile);
        statusPath = GetParam().statusPath;
        startSim();
    }
};

// A figure the router did not report, with its threshold alarm set (delays long enough
// that a running timer was armed or kept by the polls, never yet fired).
struct MissingFigure {
    const char *name, *settings;
    const char *before, *cut; // a simulator command before Run; the status page's failure at the last poll
    QTimer *const AlarmInputs::*timer;
    bool armed;               // a reading beyond the set point armed it before
    const char *label, *hint; // the label shown empty; the tray hint's words, with no number
};

// The status page lists the sync speed before the noise margin.
const MissingFigure kMissingFigures[] = {
    {"no_noise_row", "NoiseBelow=1\nNoiseBelowVal=3\nNoiseBelowSec=600\n", "", "before:Noise Margin",
     &AlarmInputs::tmrNoiseBelow, false, "Label2", "Noise margin \r\nSync speed 8,128 Kbps"},
    {"no_noise_row_keeps_the_delay", "NoiseAbove=1\nNoiseAboveVal=10\nNoiseAboveSec=600\n", "set RxNoise 12.5",
     "before:Noise Margin", &AlarmInputs::tmrNoiseAbove, true, "Label2", "Noise margin \r\nSync speed 8,128 Kbps"},
    {"no_sync_row", "SyncBelow=1\nSyncBelowVal=1000\nSyncBelowSec=600\n", "", "before:Connection Speed",
     &AlarmInputs::tmrSyncBelow, false, "Label4", "\r\nSync speed \r\n"},
    {"no_telnet_reading", "UseTelnet=1\nNoiseBelow=1\nNoiseBelowVal=3\nNoiseBelowSec=600\n[Router]\nTelnet=1\n"
     "[Telnet]\nDisableHTTP=1\nUseHttpDebug=0\n", "telnet fail hang", "", &AlarmInputs::tmrNoiseBelow, false,
     "Label2", "Veltrano\r\nNoise margin \r\nSync speed "},
};

void PrintTo(const MissingFigure &m, std::ostream *os) { *os << m.name; }

struct MissingFigureTest : SimWindowTest, ::testing::WithParamInterface<MissingFigure> {};

} // namespace

TEST_P(PollResultsTest, APollShowsTheFiguresAndLogsThem)
{
    const ModelCase &c = GetParam();
    open(QByteArray(c.settings) + "[System]\nLog=1\nDontConfirm=1\nLogFile=" + logFile().toUtf8() + "\n", 5);
    form->btnStart->click();
    ASSERT_TRUE(testsupport::waitFor([&] { return started(); }, 10000));
    // Run's own poll ends before the log; the next tick writes the first line.
    form->Timer1Timer(false);
    ASSERT_TRUE(testsupport::waitFor([&] { return QFile::exists(logFile()); }, 10000));

    EXPECT_EQ(form->Label2->text(), QLatin1String(c.label2));
    EXPECT_EQ(form->Label4->text(), QLatin1String(c.label4));
    EXPECT_EQ(form->statusPanel(1), QLatin1String(c.panel1));
    EXPECT_EQ(form->statusPanel(2), QLatin1String(c.panel2));
    EXPECT_EQ(form->statusPanel(3), logFile());

    const QString line = QString::fromLatin1(testsupport::readAll(logFile())).trimmed();
    EXPECT_TRUE(line.contains(QLatin1String("Rx-Noise=6.5\t"))) << line.toStdString();
    EXPECT_TRUE(line.contains(QLatin1String("Rx-Sync=8128\t"))) << line.toStdString();
    EXPECT_TRUE(line.contains(QLatin1String("Tx-Sync=448"))) << line.toStdString();
    form->btnStop->click();
}

INSTANTIATE_TEST_SUITE_P(
    Models, PollResultsTest,
    ::testing::Values(
        ModelCase{"v1234", "/setup.cgi?next_file=stattbl.htm", "[Router]\nV1234=1\n", "6.5 dB", "8,128 Kbps",
                  "203.0.113.7", "ppp0: 1 d, 02:15:07"},
        ModelCase{"v5", "/RST_stattbl.htm", "[Router]\nV5=1\n", "6.5 dB", "8,128 Kbps", "203.0.113.7",
                  "ppp0: 1 d, 02:15:07"},
        ModelCase{"st585", "/cgi/b/dsl/dt/?ce=1&be=0&l0=1&l1=0", "[Router]\nST585=1\ncbLogin=0\n", "6.5 dB",
                  "8,128 Kbps", "203.0.113.7", "DSL: 26:15:07"},
        ModelCase{"other", "/status.htm", "[Router]\nNotNetgear=1\n", "6.5 dB", "8,128 Kbps", "203.0.113.7", ""}),
    [](const ::testing::TestParamInfo<ModelCase> &info) { return std::string(info.param.profile); });

using PollLogTest = SimWindowTest;

TEST_F(PollLogTest, ConnectionStateChangesReachCaptionMessagesAndLog)
{
    const QString log = dir.filePath(QStringLiteral("stats.txt"));
    open("[Router]\nV1234=1\n[Log]\nLogState=1\n[System]\nLog=1\nDontConfirm=1\nLogFile=" + log.toUtf8() + "\n", 5);
    form->btnStart->click();
    ASSERT_TRUE(testsupport::waitFor([&] { return started(); }, 10000));

    sim.execute(QStringLiteral("set state Disconnected"));
    form->Timer1Timer(false);
    ASSERT_TRUE(testsupport::waitFor([&] { return form->windowTitle().endsWith(QLatin1String("[Disconnected]")); }));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Veltrano 6.3    [Running]   [Disconnected]"));
    EXPECT_EQ(count(QStringLiteral("Router - Connection status changed: Disconnected")), 1);

    sim.execute(QStringLiteral("set state Connected"));
    ASSERT_TRUE(testsupport::waitFor([&] { return !onlyChild<PollingCycle>(*form)->isBusy(); }));
    form->Timer1Timer(false);
    ASSERT_TRUE(testsupport::waitFor([&] { return form->windowTitle().endsWith(QLatin1String("[Connected]")); }));
    form->btnStop->click();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Veltrano 6.3"));

    const QString text = QString::fromLatin1(testsupport::readAll(log));
    EXPECT_TRUE(text.contains(QLatin1String("\t[Disconnected]\r\n")));
    EXPECT_TRUE(text.contains(QLatin1String("\t[Connected]\r\n")));
}

TEST_F(PollLogTest, AMissingLogFolderStopsMonitoring)
{
    open("[Router]\nV1234=1\n[System]\nLog=1\nDontConfirm=1\nLogFile=" + dir.filePath(QStringLiteral("gone/stats.txt")).toUtf8()
         + "\n", 5);
    form->btnStart->click();
    ASSERT_TRUE(testsupport::waitFor([&] { return started(); }, 10000));
    form->Timer1Timer(false);
    ASSERT_TRUE(testsupport::waitFor([&] { return messages().contains(QStringLiteral("The Log folder is missing!")); }));
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_TRUE(form->btnStop->isChecked());
    EXPECT_EQ(messages().last(), QStringLiteral("Stopped."));
}

// A status page cut short holds none of its labels: the poll logs no noise margin or sync
// speed and its charts get a gap, never the previous poll's figures (nor a 0).
TEST_F(PollLogTest, APageCutShortLogsNoFigureAndDrawsAGap)
{
    const QString log = dir.filePath(QStringLiteral("stats.txt"));
    open("[Router]\nV1234=1\n[System]\nIsDG834=1\nLog=1\nDontConfirm=1\nLogFile=" + log.toUtf8()
             + "\n[Alarm]\nSNRSamples=5\n[Log]\nLogSNRChange=1\n",
         5);
    form->btnStart->click();
    ASSERT_TRUE(testsupport::waitFor([&] { return started(); }, 10000));
    auto poll = [&](int lines) {
        ASSERT_TRUE(testsupport::waitFor([&] { return !onlyChild<PollingCycle>(*form)->isBusy(); }));
        form->Timer1Timer(false);
        ASSERT_TRUE(testsupport::waitFor(
            [&] { return QString::fromLatin1(testsupport::readAll(log)).count(QLatin1String("\r\n")) >= lines; },
            10000));
    };
    // Enough polls for the noise change alarm's average of the last five.
    for (int n = 1; n <= 6; ++n)
        poll(n);
    sim.execute(QStringLiteral("fail status short:9 1"));
    poll(7);
    for (const char *name : {"Series1", "Series2"}) {
        const ChartSeries *s = onlyChild<ChartSet>(*form)->series(QLatin1String(name));
        const qint64 last = s->count() - 1;
        EXPECT_TRUE(last > 0 && !std::isnan(s->valueAt(last - 1)) && std::isnan(s->valueAt(last))) << name;
    }
    poll(8);
    form->btnStop->click();

    const QStringList lines = QString::fromLatin1(testsupport::readAll(log)).split(QStringLiteral("\r\n"));
    EXPECT_TRUE(lines[0].contains(QLatin1String("Rx-Noise=6.5\t"))) << lines[0].toStdString();
    for (const char *item : {"Rx-Noise=\t", "Rx-Sync=\t", "Tx-Noise=\t"})
        EXPECT_TRUE(lines[6].contains(QLatin1String(item))) << item << " in " << lines[6].toStdString();
    // A page without the figure is no change of the noise margin, and the gap
    // does not enter the average the next poll is compared with.
    EXPECT_FALSE(lines.join(QLatin1Char('\n')).contains(QLatin1String("percent change")));
    EXPECT_EQ(form->findChild<QLabel *>(QStringLiteral("Label67"))->text(), QStringLiteral("( Average is 6.5 dB )"));
}

// No alarm is armed or reset by a figure without a reading; its label and the tray hint show no number.
TEST_P(MissingFigureTest, NoReadingLeavesTheAlarmAndShowsNoNumber)
{
    const MissingFigure &m = GetParam();
    if (*m.before)
        sim.execute(QString::fromLatin1(m.before));
    open(telnetAt() + "[Router]\nV1234=1\n[System]\nIsDG834=1\n[Alarm]\n" + m.settings, 5);
    ASSERT_TRUE(run() && poll() && poll() && poll()); // threshold alarms wait for the fourth poll
    QTimer *timer = onlyChild<AlarmInputs>(*form)->*(m.timer);
    ASSERT_EQ(timer->isActive(), m.armed);
    if (*m.cut)
        sim.execute(QStringLiteral("fail status \"%1\" 1").arg(QLatin1String(m.cut)));
    ASSERT_TRUE(poll());
    form->btnStop->click();
    EXPECT_EQ(timer->isActive(), m.armed);
    EXPECT_EQ(label(m.label)->text(), QString());
    EXPECT_TRUE(form->TrayIcon->toolTip().contains(QLatin1String(m.hint))) << form->TrayIcon->toolTip().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Figures, MissingFigureTest, ::testing::ValuesIn(kMissingFigures),
                         [](const ::testing::TestParamInfo<MissingFigure> &info) { return std::string(info.param.name); });

// Ping and its log item on, no host: nothing is pinged, so the item has no value.
TEST_F(PollLogTest, PingWithoutAHostLogsNoTime)
{
    open(logTo() + "IsDG834=1\n[Router]\nV1234=1\n[Ping]\nPing=1\nShowPing=1\nLogPing=1\nPingHost=\n", 5);
    ASSERT_TRUE(run() && poll());
    form->btnStop->click();
    const QString line = QString::fromLatin1(testsupport::readAll(logFile()));
    EXPECT_TRUE(line.contains(QLatin1String("\tPing=\t"))) << line.toStdString();
}
