// The reading rules the telnet parsers share: label windows that never read
// from the text start, 64-bit whole numbers, two-column values, the uptime
// of a superframe count and the user-defined figures.
#include "TelnetParserFixture.h"
#include "acquisition/TelnetParseSupport.h"

#include <gtest/gtest.h>

using namespace telnetparse;

TEST(TelnetParseSupport, WindowIsEmptyWhenTheLabelIsMissingOrTooEarly)
{
    // "Rate:" stands at position 12.
    const QString text = QStringLiteral("0123456789 Rate: 8128 kbps");
    struct Case {
        const char *label;
        int offset, width, threshold;
        bool found;
        const char *window;
    } cases[] = {
        {"Rate:", 5, 6, 0, true, " 8128 "},   {"Rate:", 5, 6, 16, true, " 8128 "}, // 12 + 5 is above 16
        {"Rate:", 5, 6, 17, false, ""},                                            // but not above 17
        {"Missing:", 0, 10, 0, false, ""},                                         // never "0123456789" from the start
        {"Missing:", 5, 10, -100, false, ""}, {"kbps", 4, 10, 0, true, ""}, // at the end: found, nothing after it
    };
    for (const Case &c : cases) {
        const Window w = window(text, QString::fromLatin1(c.label), c.offset, c.width, c.threshold);
        EXPECT_EQ(c.found, w.found) << c.label << " above " << c.threshold;
        EXPECT_EQ(QString::fromLatin1(c.window), w.text) << c.label << " above " << c.threshold;
    }
}

TEST(TelnetParseSupport, WholeNumbersAre64BitAndStrict)
{
    struct Case {
        const char *text;
        std::optional<qint64> value;
    } cases[] = {
        {"56", 56},
        {"-0", 0},
        {"-12", -12},
        {"4294967296", 4294967296LL}, // past 32 bits
        {"9223372036854775807", 9223372036854775807LL},
        {"9223372036854775808", std::nullopt}, // past 64 bits
        {"-", std::nullopt},
        {"", std::nullopt},
        {"1.5", std::nullopt},
        {"12-3", std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.value, wholeNumber(QString::fromLatin1(c.text))) << c.text;
    EXPECT_EQ(7, counterValue(QStringLiteral(""), 7));
    EXPECT_EQ(0, int32Value(QStringLiteral("4294967296"), 0)); // a sync that does not fit is no sync
}

TEST(TelnetParseSupport, SecondColumnNeedsABlankBeforeIt)
{
    const TSettings s = telnettest::defaultSettings();
    struct Case {
        const char *window;
        const char *value;
    } cases[] = {
        {"   6.5        12.0  \r\nAttn", "12.0"},
        {"6.5", ""}, // one column only: no upstream value (never the downstream one)
        {"   56  ", ""},
        {" -3.5   -1.5", "-1.5"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(QString::fromLatin1(c.value), secondColumn(QString::fromLatin1(c.window), s)) << c.window;
}

TEST(TelnetParseSupport, UptimeOfASuperframeCount)
{
    struct Case {
        qint64 count;
        double ms;
        const char *text;
    } cases[] = {
        {5559235, 17, "  1 days, 02:15:06"},
        {5082353, 17, "  1 days, 00:00:00"}, // 86400001 ms: just past one day
        {0, 17, "  0 days, 00:00:00"},
        {-5, 17, "  0 days, 00:00:00"},         // noise in the reply is no negative uptime
        {200000000, 17, "  39 days, 08:26:40"}, // 3.4e9 ms: past 32 bits
        {5343889, 16.168, "  0 days, 23:59:59"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(QString::fromLatin1(c.text), uptimeText(c.count, c.ms)) << c.count;
    // Exactly one day has its own wording.
    EXPECT_EQ(QStringLiteral("  1 day,  00:00:00"), uptimeText(86400, 1000));
}

TEST(TelnetParseSupport, UserFiguresFollowTheirTextInTheChosenPane)
{
    TSettings s = telnettest::defaultSettings();
    s.Telnet.UserDownText = QStringLiteral("Interleave CRC:");
    s.Telnet.UserUpText = QStringLiteral("Fast path FEC:");
    s.Telnet.cbUserDown = true;
    s.Telnet.cbUserUp = true;
    s.Telnet.User1Rx = true;  // downstream pane
    s.Telnet.User2Rx = false; // upstream pane
    const QString memo2 = paneText({QStringLiteral("Interleave CRC:   56"), QStringLiteral("Fast path FEC:    7")});
    const QString memo3 = paneText({QStringLiteral("Interleave CRC:   0"), QStringLiteral("Fast path FEC:    5")});

    struct Case {
        bool adslctl;
        qint32 sync;
        bool downChecked;
        const char *downText;
        double down, up;
    } cases[] = {
        {false, 8128, true, "Interleave CRC:", 56, 5},
        {false, 0, true, "Interleave CRC:", 56, 5}, // AR7 rules ignore the sync
        {true, 8128, true, "Interleave CRC:", 56, 5},
        {true, 0, true, "Interleave CRC:", 0, 0},       // adslctl: no sync, no figures
        {true, 8128, false, "Interleave CRC:", 0, 5},   // chart off
        {false, 8128, false, "Interleave CRC:", 99, 5}, // AR7 leaves it alone
        {false, 8128, true, "Not in the pane:", 99, 5}, // not found: unchanged, not read from the start
        {true, 8128, true, "", 0, 5},
    };
    for (const Case &c : cases) {
        s.Telnet.cbUserDown = c.downChecked;
        s.Telnet.UserDownText = QString::fromLatin1(c.downText);
        TelnetFigures f;
        f.TelnetSyncNow = c.sync;
        f.TelnetUserDown = 99;
        f.TelnetUserUp = 99;
        readUserFigures(memo2, memo3, s, c.adslctl, f);
        EXPECT_EQ(c.down, f.TelnetUserDown) << c.adslctl << " " << c.sync << " " << c.downText;
        EXPECT_EQ(c.up, f.TelnetUserUp) << c.adslctl << " " << c.sync;
    }
}
