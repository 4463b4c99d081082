// Counter chart titles by telnet family and error period.
#include "mainwindow/TelnetChartTitles.h"

#include <gtest/gtest.h>

TEST(TelnetChartTitles, FollowTheFamilyAndThePeriod)
{
    TSettings s;
    s.Telnet.V123 = true;
    s.Graph.Latest15 = true;
    auto t = telnetChartTitles(s);
    EXPECT_EQ(t.value(5), QStringLiteral("Rx Interleaved CRC - 15 min"));
    EXPECT_EQ(t.value(12), QStringLiteral("Tx Interleaved CRC"));
    EXPECT_FALSE(t.contains(15));

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
    EXPECT_TRUE(telnetChartTitles(s).isEmpty());
    EXPECT_EQ(bitLoadingTitle(s), QStringLiteral("Bits & Attenuation (dBx10)"));
    s.Router.V5 = true;
    EXPECT_EQ(bitLoadingTitle(s), QStringLiteral("Bits"));
}

TEST(TelnetChartTitles, PaneCaptionsFollowTheFamily)
{
    const struct {
        bool v123, v4, v5;
        bool latest15, latest1day;
        const char *rxInterleaved;
        const char *rxFast;
        const char *rxFastFirstSub;
        const char *txFast; // "" when left alone
    } cases[] = {
        {true, false, false, false, false, "Rx Interleaved", "Rx Fast Path", "CRC", ""},
        {false, true, false, true, false, "Rx  Totals", "Rx CRC/ES/LOF ~ 15 min", "CRC", ""},
        {false, true, false, false, true, "Rx  Totals", "Rx CRC/ES/LOF ~ 1 day", "CRC", ""},
        {false, true, false, false, false, "Rx  Totals", "Rx CRC/ES/LOF ~ Total", "CRC", ""},
        {true, true, true, false, false, "Rx Corrected", "Rx Uncorrected", "ES", "Tx Uncorrected"},
    };
    for (const auto &c : cases) {
        TSettings s;
        s.Telnet.V123 = c.v123;
        s.Telnet.V4 = c.v4;
        s.Router.V5Telnet = c.v5;
        s.Graph.Latest15 = c.latest15;
        s.Graph.Latest1day = c.latest1day;
        const auto panes = telnetPaneCaptions(s);
        EXPECT_EQ(panes.value(QStringLiteral("Rx Interleaved")).caption, QLatin1String(c.rxInterleaved)) << c.rxFast;
        EXPECT_EQ(panes.value(QStringLiteral("Rx Fast Path")).caption, QLatin1String(c.rxFast));
        EXPECT_EQ(panes.value(QStringLiteral("Rx Fast Path")).subPages.value(0), QLatin1String(c.rxFastFirstSub));
        EXPECT_EQ(panes.value(QStringLiteral("Tx Fast Path")).caption, QLatin1String(c.txFast)) << c.rxFast;
    }
    TSettings v4;
    v4.Telnet.V4 = true;
    EXPECT_EQ(telnetPaneCaptions(v4).value(QStringLiteral("Tx Interleaved")).subPages,
              (QStringList{"SF Error", "RS Corrected", "RS Uncorrected"}));
}
