// The demo's settings file as scripts/run-demo fills it in: it must load
// cleanly and switch on what a newcomer should see working.
#include "SettingsTestEnv.h"
#include "settings/EnDeCrypt.h"

#include <gtest/gtest.h>

namespace {

QByteArray demoTemplate()
{
    return testsupport::readAll(qEnvironmentVariable("VELTRANO_TEST_DATA")
                                + QStringLiteral("/../../resources/demo/veltrano-demo.ini"));
}

} // namespace

TEST(DemoSettings, PlaceholdersLiveOnSettingLinesOnly)
{
    const QByteArray text = demoTemplate();
    ASSERT_FALSE(text.isEmpty());
    for (const QByteArray &line : text.split('\n')) {
        const QByteArray t = line.trimmed();
        if (t.startsWith(';') || t.startsWith('#')) {
            EXPECT_FALSE(t.contains('@')) << "a comment would carry a filled-in value: " << t.constData();
        }
    }
}

TEST(DemoSettings, LoadsCleanlyWithLogWebServerAndAlarmsOn)
{
    SettingsTestEnv t;
    QByteArray text = demoTemplate();
    text.replace("@PORT@", "40000").replace("@WEBPORT@", "40001").replace("@DIR@", "/tmp/veltrano-demo");
    text.replace("@PASSWORD@", EnDeCrypt(QByteArray("quillfen")));
    t.write(text);
    const SettingsLoadResult loaded = t.load();
    EXPECT_TRUE(loaded.problems.isEmpty()) << loaded.problems.join(QLatin1Char(10)).toStdString();
    const TSettings &s = loaded.settings;
    EXPECT_EQ(s.Router.Password, QStringLiteral("quillfen"));
    EXPECT_TRUE(s.Router.Login.startsWith(QStringLiteral("http://127.0.0.1:40000/")));
    EXPECT_TRUE(s.Alarm.RebootURL.startsWith(QStringLiteral("http://127.0.0.1:40000/")));
    EXPECT_TRUE(s.System.Log);
    EXPECT_TRUE(s.WebServer.WebServer);
    EXPECT_EQ(s.WebServer.LocalHost, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(s.WebServer.Port, QStringLiteral("40001"));
    EXPECT_TRUE(s.Capture.HTTPWeb.startsWith(QStringLiteral("111111")));
    EXPECT_TRUE(s.Alarm.NoiseBelow);
    EXPECT_TRUE(s.Alarm.SyncBelow);
    EXPECT_FALSE(s.Alarm.cbReboot); // a demo never reboots the (simulated) router on its own
    EXPECT_EQ(s.Telnet.TelnetIP, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(s.Ping.PingHost, QStringLiteral("127.0.0.1"));
}
