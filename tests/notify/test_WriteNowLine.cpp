// The "Write Now" line: the address column, which figures go in and in which
// order, the separator and the telnet figures' own switches.
#include "notify/WriteNowLine.h"

#include <gtest/gtest.h>

namespace {

struct WriteNowCase {
    const char *what;
    bool csv;
    const char *logFlags; // [Log] Log
    bool telnetNoise;
    bool telnetSync;
    const char *address;
    const char *expected;
};

class WriteNowLineTest : public ::testing::TestWithParam<WriteNowCase> {};

TEST_P(WriteNowLineTest, BuildsTheLine)
{
    const WriteNowCase &c = GetParam();
    TSettings s;
    s.System.CSV = c.csv;
    s.Log.Log = QString::fromLatin1(c.logFlags);
    s.Graph.UserLabel = QStringLiteral("Errors");
    s.Graph.UserLabel2 = QStringLiteral("Uptime");
    s.LogTelnetFlags[0] = c.telnetNoise;
    s.LogTelnetFlags[1] = c.telnetSync;
    RunState run;
    run.Figures = {6.5f, 12.25f, 8128, 448, 3, 1200.5};
    TelnetFigures telnet;
    telnet.TelnetNoiseNow = 7.5f;
    telnet.TelnetSyncNow = 0; // cleared by plotting: the kept sync is what goes in
    telnet.TelnetRxSync = 8000;
    EXPECT_EQ(writeNowLine(s, run, telnet, QString::fromLatin1(c.address)), QString::fromLatin1(c.expected))
        << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WriteNowLineTest,
    ::testing::Values(
        WriteNowCase{"nothing logged: the address alone", false, "00000000", false, false, "81.2.3.4", "\t81.2.3.4"},
        WriteNowCase{"no address: blanks keep the column", false, "00000000", false, false, "", "\t         "},
        WriteNowCase{"a host name is not an address", false, "00000000", false, false, "router.lan",
                     "\t         "},
        WriteNowCase{"noise before sync, downstream before upstream", false, "11011000", false, false, "81.2.3.4",
                     "\t81.2.3.4\tRx-Noise= 6.5\tTx-Noise= 12.25\tRx-Sync= 8128\tTx-Sync= 448"},
        WriteNowCase{"user figures under their labels", true, "00100100", false, false, "81.2.3.4",
                     ", 81.2.3.4, Errors= 3, Uptime= 1200.5"},
        WriteNowCase{"a short flag string logs only what it holds", false, "1", false, false, "81.2.3.4",
                     "\t81.2.3.4\tRx-Noise= 6.5"},
        WriteNowCase{"the telnet figures by their own switches", true, "00000000", true, true, "81.2.3.4",
                     ", 81.2.3.4, TelTxNoise= 7.5, TelTxSync= 8000"},
        WriteNowCase{"telnet sync alone", false, "00000000", false, true, "", "\t         \tTelTxSync= 8000"}));

} // namespace
