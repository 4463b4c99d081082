// Counter chart titles by telnet family and error period.
#include "charts/TelnetChartTitles.h"

#include <gtest/gtest.h>

TEST(TelnetChartTitles, FollowTheFamilyAndThePeriod)
{
    TSettings s;
    s.Telnet.V123 = true;
    s.Graph.Latest15 = true;
    auto t = telnetChartTitles(s);
    EXPECT_EQ(t.value(5), QStringLiteral("Rx Interleaved CRC - 15 min"));
    EXPECT_EQ(t.value(12), QStringLiteral("Tx Interleaved CRC"));
    EXPECT_EQ(t.value(15), QStringLiteral("Tx Fast Path CRC")); // the built-in title, whatever came before

    s.Telnet.V123 = false;
    s.Telnet.V4 = true;
    s.Graph.Latest15 = false;
    s.Graph.Latest1day = true;
    t = telnetChartTitles(s);
    EXPECT_EQ(t.value(4), QStringLiteral("Rx CRC Latest 24hr"));
    EXPECT_EQ(t.value(5), QStringLiteral("Rx SF Error"));

    // A later family overwrites an earlier one.
    s.Telnet.V123 = true;
    s.Router.V5Telnet = true;
    t = telnetChartTitles(s);
    EXPECT_EQ(t.value(4), QStringLiteral("Downstream ES - 24 hr"));
    EXPECT_EQ(t.value(13), QStringLiteral("Upstream LOS"));

    s = TSettings{};
    EXPECT_EQ(telnetChartTitles(s).size(), 12);
    EXPECT_EQ(telnetChartTitles(s).value(4), QStringLiteral("Rx Fast Path CRC"));
    // Attenuation per tone comes from the adslctl family only, whatever the router model.
    s.Router.V5 = true;
    s.Telnet.V4 = true;
    EXPECT_EQ(bitLoadingTitle(s), QStringLiteral("Bits & Attenuation (dBx10)"));
    s.Telnet.V4 = false;
    s.Router.V5 = false;
    s.Router.V5Telnet = true;
    EXPECT_EQ(bitLoadingTitle(s), QStringLiteral("Bits"));
}
