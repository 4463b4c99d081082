// The settings hub: a change is announced as exactly the keys whose values it
// changed, nothing when it changed nothing, and a listener's own change after
// the announcement that caused it.
#include "settings/SettingsHub.h"

#include <QSignalSpy>
#include <functional>
#include <gtest/gtest.h>

namespace {

struct HubCase {
    const char *name;
    std::function<void(TSettings &)> change;
    SettingKeys expected;
};

} // namespace

TEST(SettingsHub, AChangeIsAnnouncedAsTheKeysItChanged)
{
    const HubCase cases[] = {
        {"a box", [](TSettings &s) { s.Telnet.BitsGraph = !s.Telnet.BitsGraph; }, {"Telnet/BitsGraph"}},
        {"a number", [](TSettings &s) { s.System.Sample += 1; }, {"System/Sample"}},
        {"a text", [](TSettings &s) { s.Graph.UserLabel += QLatin1Char('x'); }, {"Graph/UserLabel"}},
        {"a colour", [](TSettings &s) { s.Graph.NoiseColour ^= 0xFF; }, {"Graph/NoiseColour"}},
        {"a section named by a digit", [](TSettings &s) { s.Telnet._3D = !s.Telnet._3D; }, {"Telnet/3D"}},
        {"two at once", [](TSettings &s) {
             s.Router.V5 = !s.Router.V5;
             s.Router.Login += QLatin1Char('/');
         }, {"Router/V5", "Router/Login"}},
        {"a capture flag of a telnet chart", [](TSettings &s) { s.CaptureTelnetFlags[3] = !s.CaptureTelnetFlags[3]; },
         {"CaptureTelnet/CaptureTelnet"}},
        {"a log flag of a telnet chart", [](TSettings &s) { s.LogTelnetFlags[13] = !s.LogTelnetFlags[13]; },
         {"CaptureTelnet/LogTelnet"}},
        {"a value written back as it was", [](TSettings &s) { s.System.Sample = s.System.Sample; }, {}},
    };
    for (const HubCase &c : cases) {
        TSettings settings;
        SettingsHub hub(settings);
        QSignalSpy heard(&hub, &SettingsHub::changed);
        hub.change(c.change);
        if (c.expected.isEmpty()) {
            EXPECT_TRUE(heard.isEmpty()) << c.name;
            continue;
        }
        ASSERT_EQ(heard.size(), 1) << c.name;
        EXPECT_EQ(heard.front().front().value<SettingKeys>(), c.expected) << c.name;
        // Announced once: a second look finds nothing new.
        hub.sync();
        EXPECT_EQ(heard.size(), 1) << c.name;
    }
}

TEST(SettingsHub, WritesMadeWithoutTheHubAreAnnouncedAtTheNextSync)
{
    TSettings settings;
    SettingsHub hub(settings);
    settings.System.Points = 500; // a handler that wrote directly
    QSignalSpy heard(&hub, &SettingsHub::changed);
    hub.change([](TSettings &s) { s.System.Sample = 7; });
    ASSERT_EQ(heard.size(), 1);
    EXPECT_EQ(heard.front().front().value<SettingKeys>(), SettingKeys({"System/Points", "System/Sample"}));
    // A load the views are then built from is not a change.
    settings.System.Points = 300;
    hub.rebase();
    hub.sync();
    EXPECT_EQ(heard.size(), 1);
}

TEST(SettingsHub, AListenersOwnChangeFollowsTheAnnouncementThatCausedIt)
{
    TSettings settings;
    settings.Telnet.BitsGraph = true;
    settings.Telnet.BitswapGraph = true;
    SettingsHub hub(settings);
    QList<SettingKeys> order;
    QObject::connect(&hub, &SettingsHub::changed, [&](const SettingKeys &keys) {
        order << keys;
        // The bitswap chart needs the bit loading.
        if (keys.contains(QStringLiteral("Telnet/BitsGraph")) && !settings.Telnet.BitsGraph)
            hub.change([](TSettings &s) { s.Telnet.BitswapGraph = false; });
    });
    int laterListenerSaw = 0;
    QObject::connect(&hub, &SettingsHub::changed, [&](const SettingKeys &) { ++laterListenerSaw; });
    hub.change([](TSettings &s) { s.Telnet.BitsGraph = false; });
    ASSERT_EQ(order.size(), 2);
    EXPECT_EQ(order[0], SettingKeys({"Telnet/BitsGraph"}));
    EXPECT_EQ(order[1], SettingKeys({"Telnet/BitswapGraph"}));
    // Every listener heard the first announcement before the second began.
    EXPECT_EQ(laterListenerSaw, 2);
    EXPECT_EQ(hub.announcements(), 2);
}
