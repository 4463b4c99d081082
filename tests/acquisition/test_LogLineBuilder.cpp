// The statistics log line of a poll: item forms, the header decision, the
// order of the items and the number and uptime texts.
#include "acquisition/LogLineBuilder.h"
#include "settings/SettingsStore.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TSettings defaultSettings()
{
    QTemporaryDir dir;
    SettingsEnvironment env = SettingsEnvironment::forFile(dir.filePath(QStringLiteral("veltrano.ini")));
    env.now = QDateTime(QDate(2026, 12, 6), QTime(8, 47, 39));
    env.locale = QLocale::c();
    return settingsstore::load(env).settings;
}

const QList<LogItem> kFigures = {{QStringLiteral("Rx-Noise"), QStringLiteral("6.5")},
                                 {QStringLiteral("Rx-Sync"), QStringLiteral("8000")}};

} // namespace

TEST(LogLineBuilder, ItemFormsFollowTheSeparators)
{
    using F = LogLineBuilder::ItemForm;
    struct Case {
        F form;
        const char *sep;
        const char *headerSep;
        const char *expected;
    };
    const Case cases[] = {
        {F::Header, "\t", "\t  ", "Rx-Noise\t  "},
        {F::ValuesOnly, "\t", "\t  ", "6.5\t"},
        {F::Named, "\t", "\t  ", "Rx-Noise=6.5\t"},
        {F::Header, ", ", ",   ", "Rx-Noise,   "},
        {F::ValuesOnly, ", ", ",   ", "6.5, "},
        {F::Named, ", ", ",   ", "Rx-Noise=6.5, "},
    };
    for (const Case &c : cases)
        EXPECT_EQ(LogLineBuilder::itemText(c.form, QStringLiteral("Rx-Noise"), QStringLiteral("6.5"),
                                           QString::fromLatin1(c.sep), QString::fromLatin1(c.headerSep)),
                  QString::fromLatin1(c.expected))
            << int(c.form) << " sep '" << c.sep << "'";
}

TEST(LogLineBuilder, HeaderIsDueForAnEmptyFileOrWhenPending)
{
    struct Case {
        bool addHeader;
        qint64 size;
        bool pending;
        bool expected;
    };
    const Case cases[] = {
        {false, 0, true, false}, {true, 0, false, true},    {true, 9, false, true},
        {true, 10, false, false}, {true, 5000, true, true}, {false, 5000, false, false},
    };
    TSettings s = defaultSettings();
    LogLineBuilder b(s);
    for (const Case &c : cases) {
        s.Log.AddHeader = c.addHeader;
        s.Log.HeaderRequired = !c.expected;
        EXPECT_EQ(b.decideHeader(c.size, c.pending), c.expected) << c.addHeader << " " << c.size << " " << c.pending;
        EXPECT_EQ(s.Log.HeaderRequired, c.expected);
    }
}

TEST(LogLineBuilder, LinesInCycleOrder)
{
    const QString dateColumn = QStringLiteral("Date   /   Time");
    const QString eight(8, QLatin1Char(' '));
    struct Case {
        const char *what;
        bool addHeader;
        bool csv;
        bool logIp;
        bool logUptime;
        bool answered; // the HTTP part ran (step 8e)
        bool telnetOnly;
        QString panel1;
        QString line;
        QString header;
    };
    const Case cases[] = {
        {"named", false, false, true, true, true, false, QStringLiteral("10.0.0.138"),
         QStringLiteral("10.0.0.138\tRx-Noise=6.5\tRx-Sync=8000\tppp0=2d,01:05:10\t"), QString()},
        {"header and values, CSV", true, true, true, true, true, false, QStringLiteral(" 10.0.0.138 "),
         QStringLiteral("10.0.0.138, 6.5, 8000, ppp0=2d,01:05:10, "),
         dateColumn + QStringLiteral(",   ") + eight + QStringLiteral("IP Addr.,   Rx-Noise,   Rx-Sync,   Uptime,   \r\n")},
        {"no address in the panel", true, false, true, false, true, false, QStringLiteral("Unknown"),
         QStringLiteral("6.5\t8000\t"),
         dateColumn + QStringLiteral("\t  ") + eight + QStringLiteral("IP Addr.\t  Rx-Noise\t  Rx-Sync\t  \r\n")},
        {"address not logged", false, false, false, false, true, false, QStringLiteral("10.0.0.138"),
         QStringLiteral("Rx-Noise=6.5\tRx-Sync=8000\t"), QString()},
        // A poll without a page has no date column: its names are no header.
        {"no answer", true, false, true, false, false, false, QStringLiteral("10.0.0.138"),
         QStringLiteral("6.5\t8000\t"), QString()},
        {"telnet only", true, false, true, false, false, true, QString(), QStringLiteral("\t6.5\t8000\t"),
         QStringLiteral("IP Addr.\t  Rx-Noise\t  Rx-Sync\t  \r\n")},
        {"telnet only, named", false, false, true, false, false, true, QStringLiteral("10.0.0.9"),
         QStringLiteral("10.0.0.9\tRx-Noise=6.5\tRx-Sync=8000\t"), QString()},
    };
    for (const Case &c : cases) {
        TSettings s = defaultSettings();
        s.Log.AddHeader = c.addHeader;
        s.System.CSV = c.csv;
        s.Log.LogIP = c.logIp;
        s.Log.LogUptime = c.logUptime;
        s.System.Log = true;
        s.Telnet.DisableHTTP = c.telnetOnly;
        LogLineBuilder b(s, QLocale::c());
        b.begin();
        if (c.answered)
            b.addLeadingItems(c.panel1);
        if (!c.telnetOnly) {
            b.addItems(kFigures.mid(0, 1));
            b.addItem(kFigures.at(1));
        }
        b.addTelnetOnlyIpItem(c.panel1);
        if (c.telnetOnly) // items from the telnet session, after the address
            b.addItems(kFigures);
        b.addUptimeItem(QStringLiteral("ppp0: 2 d, 01:05:10"));
        const PollLogLine out = b.finish();
        EXPECT_EQ(out.line, c.line) << c.what;
        EXPECT_EQ(out.header, c.header) << c.what;
    }
}

TEST(LogLineBuilder, UptimeNeedsLoggingOnAndNamesItself)
{
    struct Case {
        const char *panel;
        const char *value;
    };
    const Case cases[] = {
        {"ppp0: 2 d, 01:05:10", "ppp0=2d,01:05:10"},
        {"Up: 1:02:03", "Up=1:02:03"},
        {"no colon here", "nocolonhere"},
        {"", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(LogLineBuilder::uptimeValue(QString::fromLatin1(c.panel)), QString::fromLatin1(c.value)) << c.panel;

    TSettings s = defaultSettings();
    s.Log.LogUptime = true;
    s.System.Log = false;
    LogLineBuilder b(s);
    b.begin();
    b.addUptimeItem(QStringLiteral("ppp0: 1 d"));
    EXPECT_EQ(b.finish().line, QString());
}

TEST(LogLineBuilder, NumberTextRoundsToSignificantDigitsAndDecimals)
{
    struct Case {
        double value;
        int precision;
        int decimals;
        const char *expected;
    };
    const Case cases[] = {
        {6.5, 3, 1, "6.5"},
        {double(12.35f), 3, 1, "12.4"},
        {12.25, 3, 1, "12.3"}, // half up, as written
        {1234.5, 3, 1, "1,230.0"},
        {0.04, 3, 1, "0.0"},
        {0.06, 3, 1, "0.1"},
        {-3.25, 3, 1, "-3.3"},
        {-0.04, 3, 1, "0.0"},
        {99.96, 3, 1, "100.0"},
        {0, 3, 1, "0.0"},
        {12345.67, 5, 1, "12,346.0"},
        {7, 5, 1, "7.0"},
        {1e6, 3, 1, "1,000,000.0"},
        {2.5, 3, 0, "3"},
        {double(6.45f), 3, 1, "6.4"}, // 6.4499998: rounded once, not to 6.45 and then 6.5
    };
    for (const Case &c : cases)
        EXPECT_EQ(LogLineBuilder::numberText(c.value, c.precision, c.decimals, QLocale::c()),
                  QString::fromLatin1(c.expected))
            << c.value << " " << c.precision << " " << c.decimals;
    EXPECT_EQ(LogLineBuilder::numberText(1234.5, 5, 1, QLocale(QLocale::German, QLocale::Germany)),
              QStringLiteral("1.234,5"));
}

TEST(LogLineBuilder, LineIsWrittenWhenLoggingEachSampleAndNoTrimRuns)
{
    struct Case {
        bool log;
        bool atSample;
        bool trimming;
        bool expected;
    };
    const Case cases[] = {
        {true, true, false, true},
        {false, true, false, false},
        {true, false, false, false},
        {true, true, true, false},
    };
    TSettings s = defaultSettings();
    for (const Case &c : cases) {
        s.System.Log = c.log;
        s.Log.LogAtSample = c.atSample;
        EXPECT_EQ(LogLineBuilder::shouldWrite(s, c.trimming), c.expected) << c.log << c.atSample << c.trimming;
    }
}
