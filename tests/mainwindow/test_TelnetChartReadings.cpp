// Telnet noise and sync charts over real polls of the simulated AR7 router, ping on: whichever
// ends first, even with a reply slower than the sample, they draw what the router reported or a gap.
#include "OnlyChild.h"
#include "SimWindowFixture.h"
#include "acquisition/PingRunner.h"
#include "charts/ChartSeries.h"
#include "charts/ChartSet.h"

#include <QFile>
#include <cmath>

using testsupport::onlyChild;

namespace {

struct Timing {
    const char *name;
    const char *pingScript; // the ping run each poll; %1 is a file it may count in
    int telnetDelayMs;      // between the lines of the router's reply
    bool gapsExpected;      // the reply is slower than the sample
};

const Timing kTimings[] = {
    {"ping_ends_after_the_reply", "sleep 0.4\n", 0, false},
    {"reply_ends_after_the_ping", "", 5, false},
    // The order flips at every poll: the race that once drew 0 on a quarter of the points.
    {"order_flips_each_poll", "n=$(cat %1 2>/dev/null || echo 0)\necho $((n + 1)) > %1\n"
                              "[ $((n % 2)) -eq 0 ] && sleep 0.4\n", 3, false},
    {"reply_slower_than_the_sample", "", 200, true},
};

void PrintTo(const Timing &t, std::ostream *os) { *os << t.name; }

struct TelnetChartReadings : SimWindowTest, ::testing::WithParamInterface<Timing> {};

} // namespace

TEST_P(TelnetChartReadings, ChartsDrawTheRoutersFiguresOrAGap)
{
    const Timing &t = GetParam();
    const QString ping = dir.filePath(QStringLiteral("ping"));
    testsupport::writeAll(ping, "#!/bin/sh\n" + QString::fromLatin1(t.pingScript).arg(dir.filePath("n")).toUtf8()
                                    + "echo 'rtt min/avg/max/mdev = 1.000/1.000/1.000/0.000 ms'\n");
    QFile::setPermissions(ping, QFile::ReadOwner | QFile::ExeOwner);
    if (t.telnetDelayMs > 0) {
        sim.execute(QStringLiteral("telnet chunk line"));
        sim.execute(QStringLiteral("telnet delay %1").arg(t.telnetDelayMs));
    }
    open("[Router]\nTelnet=1\n[Telnet]\nV123=1\nUseHttpDebug=0\nExtended=0\nTelnetIP=127.0.0.1\nTelnetPort="
         + QByteArray::number(sim.telnetPort()) + "\n[Ping]\nPing=1\nShowPing=1\nPingHost=127.0.0.1\n");
    onlyChild<PingRunner>(*form)->setProgram(ping);
    const auto series = [&](const char *name) { return onlyChild<ChartSet>(*form)->series(QLatin1String(name)); };

    form->btnStart->click();
    ASSERT_TRUE(testsupport::waitFor([&] { return series("LineSeries14")->count() >= 8; }, 30000));
    form->btnStop->click();

    for (const auto &[name, reported] : {std::pair{"LineSeries13", 6.5}, std::pair{"LineSeries14", 8128.0}}) {
        const ChartSeries *s = series(name);
        int readings = 0, gaps = 0, gapsAfterAReading = 0;
        for (qint64 i = 0; i < s->count(); ++i) {
            const double v = s->valueAt(i);
            EXPECT_TRUE(std::isnan(v) || std::abs(v - reported) < 1e-3) << name << " point " << i << ": " << v;
            gaps += std::isnan(v);
            gapsAfterAReading += std::isnan(v) && readings > 0;
            readings += !std::isnan(v);
        }
        // A reply slower than the sample leaves gaps; otherwise every poll after the first reply has a reading.
        if (t.gapsExpected)
            EXPECT_GT(gaps, 0) << name;
        else
            EXPECT_TRUE(readings > 0 && gapsAfterAReading == 0) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Timings, TelnetChartReadings, ::testing::ValuesIn(kTimings),
                         [](const ::testing::TestParamInfo<Timing> &info) { return std::string(info.param.name); });

// Incremental counter charts (AR7, "latest 15 minutes") and a router whose first reply
// comes after the first plotted poll: the chart still counts from its first reading.
using CounterBaseTest = SimWindowTest;

TEST_F(CounterBaseTest, ACounterChartStartsAtZeroFromItsFirstReading)
{
    sim.execute(QStringLiteral("telnet chunk line"));
    sim.execute(QStringLiteral("telnet delay 20"));
    open(telnetAt() + "V123=1\nUseHttpDebug=0\nExtended=0\ncbICRC=1\n[Router]\nV1234=1\nTelnet=1\n[System]\nIsDG834=1\n"
         "[Graph]\nLatest15=1\n", 60);
    ASSERT_TRUE(run() && poll()); // before the reply to Run's commands: a gap
    ASSERT_TRUE(testsupport::waitFor([&] { return form->telnetFigures().Fresh.Counters[0]; }, 15000) && poll());
    form->btnStop->click();

    const ChartSeries *icrc = onlyChild<ChartSet>(*form)->series(QStringLiteral("LineSeries2"));
    ASSERT_EQ(icrc->count(), 2);
    EXPECT_TRUE(std::isnan(icrc->valueAt(0)));
    EXPECT_EQ(icrc->valueAt(1), 0.0); // not the router's whole count (56)
}
