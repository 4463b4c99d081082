// What the program writes to its settings file it must read back the same,
// and hostile numbers in a hand-edited file must load as clear refusals or
// clamps, never as wrapped values.
#include "SettingsTestEnv.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

struct FloatCase {
    double value;
    const char *locale;
};

class FloatRoundTrip : public ::testing::TestWithParam<FloatCase> {};

} // namespace

TEST_P(FloatRoundTrip, ASavedFloatLoadsAsTheSameValue)
{
    SettingsTestEnv t;
    const QLocale locale(QString::fromLatin1(GetParam().locale));
    TSettings s = t.load(locale).settings;
    s.Telnet.SFCounter = GetParam().value;
    ASSERT_TRUE(t.save(s, locale).ok);
    const auto loaded = t.load(locale);
    EXPECT_EQ(loaded.settings.Telnet.SFCounter, GetParam().value) << t.fileValue("Telnet", "SFCounter").constData();
    EXPECT_TRUE(loaded.problems.isEmpty()) << loaded.problems.join(QLatin1Char(10)).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Extremes, FloatRoundTrip,
    ::testing::Values(FloatCase{std::numeric_limits<double>::max(), "C"},
                      FloatCase{-std::numeric_limits<double>::max(), "de_DE"},
                      FloatCase{std::numeric_limits<double>::denorm_min(), "C"},
                      FloatCase{std::numeric_limits<double>::min(), "de_DE"}, FloatCase{0.1 + 0.2, "C"},
                      FloatCase{123456789012345678.0, "C"}, FloatCase{16.168, "de_DE"}, FloatCase{-0.0, "C"}));

TEST(SettingsRoundTrip, OrdinaryFloatsKeepTheirShortForm)
{
    SettingsTestEnv t;
    TSettings s = t.load().settings;
    s.Telnet.SFCounter = 17.5;
    ASSERT_TRUE(t.save(s).ok);
    EXPECT_EQ(t.fileValue("Telnet", "SFCounter"), QByteArray("17.5"));
}

TEST(SettingsRoundTrip, AByteOrderMarkStartingALaterLineKeepsItsSection)
{
    SettingsTestEnv t;
    // Two files pasted together: the second part still carries its mark.
    t.write("\xEF\xBB\xBF[System]\r\nSample=7\r\n\xEF\xBB\xBF[Telnet]\r\nSFCounter=2.5\r\n"
            "\xEF\xBB\xBFTelnetPort=2323\r\n");
    const TSettings first = t.load().settings;
    EXPECT_EQ(first.System.Sample, 7);
    EXPECT_EQ(first.Telnet.SFCounter, 2.5);
    EXPECT_EQ(first.Telnet.TelnetPort, 2323);

    // One save later nothing has moved, and the file says it once, in [Telnet].
    ASSERT_TRUE(t.save(first).ok);
    const QByteArray file = t.read();
    EXPECT_FALSE(file.contains("\xEF\xBB\xBF"));
    EXPECT_EQ(file.count("SFCounter="), 1);
    EXPECT_EQ(t.fileValue("Telnet", "SFCounter"), QByteArray("2.5"));
    const TSettings second = t.load().settings;
    EXPECT_EQ(second.Telnet.SFCounter, 2.5);
    EXPECT_EQ(second.Telnet.TelnetPort, 2323);

    // A mark inside a value is the value's own business.
    t.write("[WebServer]\nWebUser=a\xEF\xBB\xBF" "b\n");
    const QString user = t.load().settings.WebServer.WebUser;
    EXPECT_TRUE(user.startsWith(u'a') && user.endsWith(u'b') && user.size() > 2) << user.toStdString();
}

TEST(SettingsRoundTrip, AnUnclosedSectionHeaderNamesNoSection)
{
    SettingsTestEnv t;
    // "[Tel" lacks its "]": the keys under it stay in the section above, on every load.
    t.write("[Alarm]\nNoiseAboveVal=7\n[Tel\xA2\nTelnetIP=127.0.0.5\n[Ping]\nPingHost=127.0.0.9\n");
    const TSettings first = t.load().settings;
    EXPECT_EQ(first.Alarm.NoiseAboveVal, 7);
    EXPECT_EQ(first.Ping.PingHost, QStringLiteral("127.0.0.9"));
    EXPECT_EQ(first.Telnet.TelnetIP, QString());
    ASSERT_TRUE(t.save(first).ok);
    const QByteArray once = t.read();
    EXPECT_TRUE(once.startsWith("[Alarm]\nNoiseAboveVal=7\n[Tel\xA2\nTelnetIP=127.0.0.5\n")) << once.constData();
    ASSERT_TRUE(t.save(t.load().settings).ok);
    EXPECT_EQ(t.read(), once);
    EXPECT_EQ(t.load().settings.Ping.PingHost, QStringLiteral("127.0.0.9"));
}

TEST(SettingsRoundTrip, ACommentAfterAnInvalidFirstLineKeepsItsPlace)
{
    SettingsTestEnv t;
    for (const QByteArray &start : {QByteArray("\x15\x04 not a setting\n"), QByteArray("\n"), QByteArray()}) {
        t.write(start + "; about the router\n[Router]\nUsername=admin\n[System]\nSample=9\n");
        ASSERT_TRUE(t.save(t.load().settings).ok);
        const QByteArray once = t.read();
        ASSERT_TRUE(t.save(t.load().settings).ok);
        EXPECT_EQ(t.read(), once) << start.toHex().constData();
        EXPECT_EQ(once.count("; about the router"), 1);
        EXPECT_EQ(t.load().settings.System.Sample, 9);
    }
}

TEST(SettingsRoundTrip, AHeaderWithoutANameReadsTheSameAfterEverySave)
{
    SettingsTestEnv t;
    const QByteArray files[] = {"[]", "; note\n[ ]\n[Ping]\nMax=9\n", "[Ping]\nMax=9\n[]\n; tail\n",
                                "[Ping]\nMax=9\n\t[ \t]\n[System]\nSample=9\n", "[]\nLater=1\n[Ping]\nMax=9\n"};
    for (const QByteArray &file : files) {
        SCOPED_TRACE(file.toHex(' ').constData());
        t.write(file);
        ASSERT_TRUE(t.save(t.load().settings).ok);
        const QByteArray once = t.read();
        ASSERT_TRUE(t.save(t.load().settings).ok);
        EXPECT_EQ(t.read(), once);
        EXPECT_FALSE(once.startsWith('\n'));
        if (file.contains("Max=9")) {
            EXPECT_EQ(t.load().settings.Ping.Max, 9);
        }
    }
}

namespace {

struct IntegerCase {
    const char *text;
    const char *expected; // [WebServer] Port as loaded: in-range text is kept as written
    bool reported;
};

class HostileIntegers : public ::testing::TestWithParam<IntegerCase> {};

} // namespace

TEST_P(HostileIntegers, LoadAsRefusalsOrClampsNeverWrapped)
{
    SettingsTestEnv t;
    t.write(QByteArray("[WebServer]\nPort=") + GetParam().text + "\n[System]\nSample=" + GetParam().text + "\n");
    const auto loaded = t.load();
    EXPECT_EQ(loaded.settings.WebServer.Port, QString::fromLatin1(GetParam().expected));
    // Sample is a 32-bit key in 1..120: a 64-bit extreme is refused or clamped, never wrapped into range.
    EXPECT_TRUE(loaded.settings.System.Sample == 20 || loaded.settings.System.Sample == 1
                || loaded.settings.System.Sample == 120)
        << loaded.settings.System.Sample;
    EXPECT_EQ(loaded.problems.join('\n').contains(QLatin1String("[WebServer] Port")), GetParam().reported);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, HostileIntegers,
    ::testing::Values(IntegerCase{"-$-8000000000000000", "81", true}, IntegerCase{"$-1", "81", true},
                      IntegerCase{"0x-5", "81", true}, IntegerCase{"--5", "81", true},
                      IntegerCase{"-$8000000000000000", "1", true}, IntegerCase{"$8000000000000000", "81", true},
                      IntegerCase{"-9223372036854775808", "1", true}, IntegerCase{"-9223372036854775809", "81", true},
                      IntegerCase{"9223372036854775807", "65535", true},
                      IntegerCase{"18446744073709551616", "81", true}, IntegerCase{"$FFFF", "$FFFF", false},
                      IntegerCase{"+0x1F90", "+0x1F90", false}, IntegerCase{"-0", "1", true}));
