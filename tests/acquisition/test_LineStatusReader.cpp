// The WAN address and connection-state steps against a simulated router:
// what each family's page gives, when an address change is announced, what
// the connection step tells the window, and that a failing or hanging page
// is swallowed within its bound and a cancelled step stays silent.
#include "PageBuilder.h"
#include "RouterSim.h"
#include "TestSupport.h"
#include "acquisition/LineStatusReader.h"
#include "settings/SettingsStore.h"

#include <gtest/gtest.h>
#include <memory>

using linestatus::PanelUpdate;
using routersim::PageKind;
using routersim::Profile;
using routersim::ProfileId;

namespace {

// A simulated router of one model and the settings that point at it.
struct Bench {
    routersim::RouterSim sim;
    TSettings settings;
    RunState state;
    RouterHttpClient client;
    LineStatusReader reader{client};
    ProfileId profile;

    explicit Bench(ProfileId id) : profile(id)
    {
        routersim::RouterSimOptions o;
        o.profile = Profile::name(id);
        o.control = false;
        QString error;
        EXPECT_TRUE(sim.start(o, &error)) << error.toStdString();

        SettingsEnvironment env;
        env.settingsPath = QStringLiteral("/nonexistent/veltrano.ini");
        env.now = QDateTime(QDate(2026, 12, 6), QTime(8, 47, 39), Qt::UTC);
        settings = settingsstore::load(env).settings;
        settings.Router.Login = QStringLiteral("http://127.0.0.1:%1%2")
                                    .arg(sim.httpPort())
                                    .arg(Profile::pagePath(id, PageKind::Status));
        settings.Router.Username = Profile::defaultUser(id);
        settings.Router.Password = Profile::defaultPassword(id);
        settings.Router.cbLogin = Profile::defaultNeedsLogin(id);
        settings.Router.V1234 = id == ProfileId::V1234;
        settings.Router.V5 = id == ProfileId::V5;
        settings.Router.ST585 = id == ProfileId::St585;
        settings.Router.NotNetgear = id == ProfileId::Other;
        settings.System.IsDG834 = id == ProfileId::V1234 || id == ProfileId::V5;
        settings.System.Sample = 1; // each request bounded to one second
        settings.Alarm.State = true;
        settings.Log.LogState = true;
        state.Running = true;
    }

    void command(const QString &line)
    {
        const QString reply = sim.execute(line).value(0);
        ASSERT_TRUE(reply.startsWith(QLatin1String("ok"))) << line.toStdString() << ": " << reply.toStdString();
    }

    WanAddressResult wan(qint64 sampleCount)
    {
        std::optional<WanAddressResult> result;
        reader.readWanAddress(settings, state, sampleCount, [&](const WanAddressResult &r) { result = r; });
        EXPECT_TRUE(testsupport::waitFor([&] { return result.has_value(); }, 10000));
        return result.value_or(WanAddressResult{});
    }

    ConnectionResult connection()
    {
        std::optional<ConnectionResult> result;
        reader.readConnectionState(settings, state, [&](const ConnectionResult &r) { result = r; });
        EXPECT_TRUE(testsupport::waitFor([&] { return result.has_value(); }, 10000));
        if (result && result->changed)
            state.ConnectionStatus = result->connectionStatus;
        return result.value_or(ConnectionResult{});
    }

    // Target and credentials of each request the router saw.
    QStringList requests()
    {
        QStringList out;
        for (const QString &line : sim.journal().lines()) {
            const QStringList f = line.split(QLatin1Char('\t'));
            out << f.value(3) + QLatin1Char(' ') + f.value(4);
        }
        return out;
    }
};

const QString kDefaultWan = QStringLiteral("203.0.113.7");

} // namespace

TEST(LineStatusReader, WanAddressOfEveryFamily)
{
    struct Case {
        ProfileId profile;
        const char *request;
    };
    const Case cases[] = {
        {ProfileId::V1234, "/setup.cgi?next_file=st_poe.htm admin:quillfen"},
        {ProfileId::V5, "/RST_status.htm admin:quillfen"},
        {ProfileId::Other, "/setup.cgi?next_file=st_poe.htm admin:quillfen"},
        {ProfileId::St585, "/cgi/b/is/?be=0&l0=1&l1=1 none"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(Profile::name(c.profile).toStdString());
        Bench b(c.profile);
        const QString urlSetting = b.settings.IPAddress.URL;
        const WanAddressResult r = b.wan(0);
        EXPECT_EQ(r.panel1, PanelUpdate::set(kDefaultWan));
        EXPECT_FALSE(r.ipChanged);
        EXPECT_EQ(b.requests(), QStringList{QString::fromLatin1(c.request)});
        // The family's own page is used on a copy; the setting stays as it was.
        EXPECT_EQ(b.settings.IPAddress.URL, urlSetting);
        if (c.profile == ProfileId::St585) {
            EXPECT_TRUE(r.st585);
            EXPECT_EQ(r.thomsonDataUnit, QStringLiteral("[kB/kB]"));
            EXPECT_EQ(r.thomsonDataSent, QStringLiteral("1234.56"));
            EXPECT_EQ(r.thomsonDataReceived, QStringLiteral("98765.43"));
        } else {
            EXPECT_FALSE(r.st585);
            EXPECT_EQ(b.state.WanIPAddress, kDefaultWan);
            EXPECT_EQ(r.wanIPAddress, kDefaultWan);
            EXPECT_EQ(r.lastWanIPAddress, kDefaultWan);
        }
    }
}

TEST(LineStatusReader, St585DataCountersFollowTheRouter)
{
    Bench b(ProfileId::St585);
    b.command(QStringLiteral("set dataunit MB"));
    b.command(QStringLiteral("set DataSent 17,5"));
    b.command(QStringLiteral("set DataReceived 2048.75"));
    b.command(QStringLiteral("set wan 0.0"));
    const WanAddressResult r = b.wan(5);
    EXPECT_EQ(r.panel1, PanelUpdate::clear());
    EXPECT_EQ(r.thomsonDataUnit, QStringLiteral("[MB/MB]"));
    EXPECT_EQ(r.thomsonDataSent, QStringLiteral("17,5"));
    EXPECT_EQ(r.thomsonDataReceived, QStringLiteral("2048.75"));
}

TEST(LineStatusReader, AnAddressChangeIsAnnouncedOnceAndOnlyAfterThreeSamples)
{
    Bench b(ProfileId::V1234);
    b.settings.Email.IPChanged = true;
    struct Step {
        const char *wan;   // the router's address for this poll
        qint64 sample;     // SampleCount before the poll
        bool runStarts;    // Run cleared WanIPAddress just before
        bool announced;
        const char *last;  // LastWanIPAddress afterwards
    };
    const Step steps[] = {
        {"203.0.113.7", 0, true, false, "203.0.113.7"},   // the first address of a run
        {"198.51.100.1", 2, false, false, "198.51.100.1"}, // changes early on are silent
        {"198.51.100.2", 4, false, true, "198.51.100.2"},
        {"198.51.100.2", 5, false, false, "198.51.100.2"}, // said once
        {"192.0.2.44", 9, true, false, "192.0.2.44"},      // a new run starts afresh
        {"192.0.2.45", 10, false, true, "192.0.2.45"},
    };
    for (const Step &s : steps) {
        SCOPED_TRACE(s.sample);
        const QString address = QString::fromLatin1(s.wan);
        b.command(QStringLiteral("set wan ") + address);
        if (s.runStarts)
            b.state.WanIPAddress.clear();
        const WanAddressResult r = b.wan(s.sample);
        EXPECT_EQ(r.panel1, PanelUpdate::set(address));
        EXPECT_EQ(b.state.WanIPAddress, address);
        EXPECT_EQ(r.wanIPAddress, address);
        EXPECT_EQ(r.lastWanIPAddress, QString::fromLatin1(s.last));
        EXPECT_EQ(r.ipChanged, s.announced);
        EXPECT_EQ(r.ipChangedMessage, s.announced ? QStringLiteral("IP Changed to ") + address : QString());
        EXPECT_EQ(r.emailText, s.announced ? QStringLiteral("New IP Address: ") + address : QString());
    }

    // Without the e-mail option a change is taken silently.
    b.settings.Email.IPChanged = false;
    b.command(QStringLiteral("set wan 192.0.2.99"));
    const WanAddressResult r = b.wan(20);
    EXPECT_FALSE(r.ipChanged);
    EXPECT_EQ(b.state.WanIPAddress, QStringLiteral("192.0.2.99"));
}

TEST(LineStatusReader, NoAddressOnThePageClearsThePanel)
{
    Bench b(ProfileId::V5);
    b.wan(0);
    const QString commands[] = {QStringLiteral("set wan 0.0"), QStringLiteral("fail wan empty"),
                                QStringLiteral("auth required admin other")};
    for (const QString &c : commands) {
        SCOPED_TRACE(c.toStdString());
        b.command(c);
        const WanAddressResult r = b.wan(10);
        EXPECT_EQ(r.panel1, PanelUpdate::clear());
        EXPECT_FALSE(r.ipChanged);
        // The address last seen stays for the change test.
        EXPECT_EQ(b.state.WanIPAddress, kDefaultWan);
    }
}

TEST(LineStatusReader, ARouterKnownByNameIsNotAsked)
{
    Bench b(ProfileId::V1234);
    b.settings.Router.Login = QStringLiteral("http://localhost:%1/setup.cgi?next_file=stattbl.htm").arg(b.sim.httpPort());
    EXPECT_EQ(b.wan(5).panel1, PanelUpdate{});
    const ConnectionResult c = b.connection();
    EXPECT_TRUE(c.checked);
    EXPECT_EQ(c.state, QStringLiteral("xxx"));
    EXPECT_TRUE(b.requests().isEmpty());
}

TEST(LineStatusReader, CredentialsOnlyWhenLogInIsOn)
{
    Bench b(ProfileId::Other);
    b.command(QStringLiteral("auth none"));
    b.settings.Router.cbLogin = false;
    b.settings.System.IsDG834 = true;
    b.wan(0);
    b.connection();
    b.settings.Router.cbLogin = true;
    b.settings.Router.UsernameNotRequired = true;
    b.wan(0);
    EXPECT_EQ(b.requests(), (QStringList{QStringLiteral("/setup.cgi?next_file=st_poe.htm none"),
                                         QStringLiteral("/st_poe.htm none"),
                                         QStringLiteral("/setup.cgi?next_file=st_poe.htm :quillfen")}));
}

TEST(LineStatusReader, ConnectionGoesDownAndComesBack)
{
    Bench b(ProfileId::V1234);
    struct Step {
        const char *command;
        const char *pageState;
        bool changed;
        const char *status; // ConnectionStatus afterwards
        bool alarm;
    };
    const Step steps[] = {
        {"set state Connected", "Connected", false, "Connected", false},
        {"set state Disconnected", "Disconnected", true, "Disconnected", true},
        {"set state Disconnected", "Disconnected", false, "Disconnected", false},
        // A page showing neither state leaves the last one standing.
        {"fail connection empty", "xxx", false, "Disconnected", false},
        {"fail connection none", "Disconnected", false, "Disconnected", false},
        {"set state Connected", "Connected", true, "Connected", false},
    };
    for (const Step &s : steps) {
        SCOPED_TRACE(s.command);
        b.command(QString::fromLatin1(s.command));
        const ConnectionResult r = b.connection();
        const QString status = QString::fromLatin1(s.status);
        EXPECT_TRUE(r.checked);
        EXPECT_EQ(r.state, QString::fromLatin1(s.pageState));
        EXPECT_EQ(r.changed, s.changed);
        EXPECT_EQ(r.connectionStatus, status);
        EXPECT_EQ(b.state.ConnectionStatus, status);
        EXPECT_EQ(r.message, s.changed ? QStringLiteral("Router - Connection status changed: ") + status : QString());
        EXPECT_EQ(r.logText, s.changed ? QLatin1Char('[') + status + QLatin1Char(']') : QString());
        EXPECT_EQ(r.writeLog, s.changed);
        EXPECT_EQ(r.raiseAlarm, s.alarm);
        EXPECT_EQ(r.caption, QStringLiteral("Veltrano 6.3    [Running]   [") + status + QLatin1Char(']'));
    }

    // Logging only: the change is logged, no alarm. Stopped: the plain caption.
    b.settings.Alarm.State = false;
    b.state.Running = false;
    b.command(QStringLiteral("set state Disconnected"));
    const ConnectionResult r = b.connection();
    EXPECT_EQ(r.logText, QStringLiteral("[Disconnected]"));
    EXPECT_TRUE(r.writeLog);
    EXPECT_FALSE(r.raiseAlarm);
    EXPECT_EQ(r.caption, QStringLiteral("Veltrano 6.3"));

    // Alarm only: the alarm, no log lines.
    b.settings.Alarm.State = true;
    b.settings.Log.LogState = false;
    b.state.ConnectionStatus = QStringLiteral("Connected");
    const ConnectionResult alarmOnly = b.connection();
    EXPECT_TRUE(alarmOnly.raiseAlarm);
    EXPECT_FALSE(alarmOnly.writeLog);
}

TEST(LineStatusReader, ConnectionPageIsAskedOnlyWhenWanted)
{
    struct Case {
        const char *name;
        std::function<void(TSettings &)> change;
    };
    const Case cases[] = {
        {"neither alarm nor log", [](TSettings &s) { s.Alarm.State = s.Log.LogState = false; }},
        {"not a DG834", [](TSettings &s) { s.System.IsDG834 = false; }},
        {"telnet only", [](TSettings &s) { s.Telnet.DisableHTTP = true; }},
        {"SpeedTouch 585", [](TSettings &s) { s.Router.ST585 = true; }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Bench b(ProfileId::V1234);
        c.change(b.settings);
        b.command(QStringLiteral("set state Disconnected"));
        const ConnectionResult r = b.connection();
        EXPECT_FALSE(r.checked);
        EXPECT_TRUE(r.caption.isEmpty());
        EXPECT_EQ(b.state.ConnectionStatus, QStringLiteral("Connected"));
        EXPECT_TRUE(b.requests().isEmpty());
    }
}

TEST(LineStatusReader, FailingPagesAreSwallowedWithinTheirBound)
{
    const char *modes[] = {"hang", "500", "close", "refuse", "401"};
    for (const char *mode : modes) {
        SCOPED_TRACE(mode);
        Bench b(ProfileId::V1234);
        b.wan(0);
        b.sim.journal().clear();
        b.command(QStringLiteral("fail wan %1").arg(QLatin1String(mode)));
        b.command(QStringLiteral("fail connection %1").arg(QLatin1String(mode)));
        EXPECT_EQ(b.wan(10).panel1, PanelUpdate::clear());
        const ConnectionResult c = b.connection();
        EXPECT_EQ(c.state, QStringLiteral("xxx"));
        EXPECT_FALSE(c.changed);
        // One request each: a failure is not retried.
        EXPECT_EQ(b.requests().size(), 2);
        EXPECT_FALSE(b.reader.isBusy());
    }

    Bench down(ProfileId::St585);
    down.command(QStringLiteral("fail * down"));
    const WanAddressResult r = down.wan(10);
    EXPECT_EQ(r.panel1, PanelUpdate::clear());
    EXPECT_TRUE(r.thomsonDataSent.isEmpty());
}

TEST(LineStatusReader, StopCancelsWithoutCallingBack)
{
    Bench b(ProfileId::V1234);
    b.command(QStringLiteral("fail wan hang"));
    b.command(QStringLiteral("fail connection hang"));
    int calls = 0;
    b.reader.readWanAddress(b.settings, b.state, 10, [&](const WanAddressResult &) { ++calls; });
    ASSERT_TRUE(testsupport::waitFor([&] { return b.sim.journal().lines().size() == 1; }));
    b.reader.readConnectionState(b.settings, b.state, [&](const ConnectionResult &) { ++calls; });
    EXPECT_TRUE(b.reader.isBusy());
    b.reader.cancel();
    EXPECT_FALSE(b.reader.isBusy());

    // A step that needs no request is cancelled the same way.
    b.settings.System.IsDG834 = false;
    b.reader.readConnectionState(b.settings, b.state, [&](const ConnectionResult &) { ++calls; });
    b.reader.cancel();

    // Past the requests' own bound: still nothing.
    testsupport::waitFor([] { return false; }, 1500);
    EXPECT_EQ(calls, 0);

    // The reader works again after a Stop.
    b.command(QStringLiteral("fail wan none"));
    EXPECT_EQ(b.wan(10).panel1, PanelUpdate::set(kDefaultWan));
}

TEST(LineStatusReader, UptimeOfEveryFamilyWithTheDaysFormAndWithout)
{
    struct Case {
        ProfileId profile;
        bool days;
        const char *expected;
    };
    const Case cases[] = {
        {ProfileId::V1234, true, "ppp0: 2 d, 01:05:10"}, {ProfileId::V1234, false, "ppp0: 49:05:10"},
        {ProfileId::V5, true, "ppp0: 2 d, 01:05:10"},    {ProfileId::V5, false, "ppp0: 49:05:10"},
        {ProfileId::Other, true, "ppp0: 2 d, 01:05:10"},
        // The 585 shows the router's text as it stands.
        {ProfileId::St585, true, "DSL: 49:05:10"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.expected);
        Bench b(c.profile);
        b.command(QStringLiteral("set uptime 49:05:10"));
        b.settings.System.IsDG834 = true; // the panel shows DG834 uptimes only
        b.settings.System.StatusBarWAN = c.days;
        const QString page =
            QString::fromLatin1(routersim::PageBuilder(b.sim.state()).build(c.profile, PageKind::Status));
        EXPECT_EQ(LineStatusReader::uptime(page, b.settings, false), PanelUpdate::set(QString::fromLatin1(c.expected)));
    }
}
