// A chart's "Include In Log" switch: setting one chart's switch reads back on
// that chart and leaves every other chart's as it was; a status-page flag past
// the end of the flag string pads it; charts the table lacks are refused.
#include "chartimages/ChartPopupMenus.h"

#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace {

std::vector<bool> allSwitches(const TSettings &s)
{
    std::vector<bool> out;
    for (int chart = 0; chart <= 32; ++chart)
        out.push_back(ChartPopupMenus::logSwitch(s, chart));
    return out;
}

} // namespace

TEST(ChartLogSwitch, EachChartsSwitchIsItsOwn)
{
    // Charts without a switch of their own (the tone and bit-loading charts) take the write and read off.
    const std::set<int> noSwitch = {21, 22, 26, 27, 28, 29};
    for (int chart = 1; chart <= 31; ++chart) {
        for (bool start : {false, true}) {
            TSettings s;
            s.Log.Log = start ? QStringLiteral("11111111") : QStringLiteral("00000000");
            s.LogTelnetFlags.fill(start);
            s.Log.RxTotal = s.Log.TxTotal = s.Telnet.LogUserDown = s.Telnet.LogUserUp = s.Ping.LogPing = start;
            std::vector<bool> expected = allSwitches(s);
            ASSERT_TRUE(ChartPopupMenus::setLogSwitch(s, chart, !start)) << chart;
            if (!noSwitch.count(chart))
                expected[size_t(chart)] = !start;
            EXPECT_EQ(allSwitches(s), expected) << "chart " << chart << " from " << start;
        }
    }
}

TEST(ChartLogSwitch, ShortFlagStringsArePaddedAndUnknownChartsRefused)
{
    const struct {
        const char *flags;
        int chart;
        bool on;
        bool known;
        const char *expected;
    } cases[] = {
        {"11", 18, false, true, "1110"},   // Tx noise, the fourth flag
        {"1", 19, true, true, "111111"},   // the second user figure, the sixth
        {"", 1, false, true, "0"},
        {"10111111", 2, true, true, "11111111"},
        {"11111111", 0, false, false, "11111111"},
        {"11111111", 32, false, false, "11111111"},
        {"11111111", 16, false, true, "11111111"}, // a telnet chart: its own flags
    };
    for (const auto &c : cases) {
        TSettings s;
        s.Log.Log = QString::fromLatin1(c.flags);
        EXPECT_EQ(ChartPopupMenus::setLogSwitch(s, c.chart, c.on), c.known) << c.chart;
        EXPECT_EQ(s.Log.Log, QString::fromLatin1(c.expected)) << c.flags << " chart " << c.chart;
        if (c.known) {
            EXPECT_EQ(ChartPopupMenus::logSwitch(s, c.chart), c.on) << c.chart;
        }
    }
}
