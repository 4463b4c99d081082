// The alarm's router reboot by URL against a simulated router: which
// request it sends, with which credentials, to which server, and what the
// user is told.
#include "RouterSim.h"
#include "TestSupport.h"
#include "acquisition/RouterHttpClient.h"
#include "notify/AlarmActions.h"
#include "settings/SettingsStore.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct AlarmRebootTest : ::testing::Test {
    routersim::RouterSim sim;
    routersim::RouterSim other; // another server on the same machine
    QTemporaryDir dir;
    TSettings settings;
    RunState run;
    std::unique_ptr<AlarmInputs> inputs;
    RouterHttpClient http;
    std::unique_ptr<AlarmActions> actions;
    QStringList messages;

    void SetUp() override
    {
        messages.clear();
        for (routersim::RouterSim *s : {&sim, &other}) {
            s->stop();
            routersim::RouterSimOptions o;
            o.profile = QStringLiteral("v1234");
            o.control = false;
            if (s == &other)
                o.auth = QStringLiteral("none");
            QString error;
            ASSERT_TRUE(s->start(o, &error)) << error.toStdString();
        }
        SettingsEnvironment env = SettingsEnvironment::forFile(dir.filePath(QStringLiteral("veltrano.ini")));
        env.locale = QLocale::c();
        settings = settingsstore::load(env).settings;
        settings.Router.Login = base(sim) + QStringLiteral("/setup.cgi?next_file=stattbl.htm");
        settings.Router.Username = QStringLiteral("admin");
        settings.Router.Password = QStringLiteral("quillfen");
        settings.Router.cbLogin = true;
        settings.Alarm.RebootURL = base(sim) + QStringLiteral("/setup.cgi?next_file=diag.htm&todo=reboot");
        settings.Alarm.UseWeb = true;
        settings.Alarm.UseTelnet = false;
        settings.Alarm.cbReboot = true;
        settings.System.Sample = 2;
        run = RunState{};
        run.Running = true;
        inputs = std::make_unique<AlarmInputs>(settings, QLocale::c());
        actions = std::make_unique<AlarmActions>(settings, run, *inputs, http, QLocale::c());
        QObject::connect(actions.get(), &AlarmActions::systemMessage, [this](const QString &m) { messages << m; });
    }

    static QString base(routersim::RouterSim &s) { return QStringLiteral("http://127.0.0.1:%1").arg(s.httpPort()); }

    // method, target, credentials and result of each request.
    static QStringList requests(routersim::RouterSim &s)
    {
        QStringList out;
        for (const QString &line : s.journal().lines())
            out << line.split(QLatin1Char('\t')).mid(2).join(QLatin1Char(' '));
        return out;
    }

    bool waitForMessage(const QString &text) { return testsupport::waitFor([&] { return messages.contains(text); }, 20000); }
};

const QString kInitiated = QStringLiteral("Router Reboot initiated (HTTP)");
const QString kFailed = QStringLiteral("Router Reboot failed! (HTTP)");
const QString kRebootTarget = QStringLiteral("/setup.cgi?next_file=diag.htm&todo=reboot");

} // namespace

TEST_F(AlarmRebootTest, RebootUrlGetsTheRouterCredentialsOnly)
{
    struct Case {
        const char *what;
        std::function<void(AlarmRebootTest &)> setUp;
        bool toOther; // the reboot URL names the other server
        QString credentials;
        QString result;
        QString message;
    };
    const Case cases[] = {
        {"router with log-in", [](AlarmRebootTest &) {}, false, QStringLiteral("admin:quillfen"),
         QStringLiteral("200"), kInitiated},
        {"no user name needed", [](AlarmRebootTest &t) { t.settings.Router.UsernameNotRequired = true; }, false,
         QStringLiteral(":quillfen"), QStringLiteral("401"), kFailed},
        {"log-in off", [](AlarmRebootTest &t) { t.settings.Router.cbLogin = false; }, false, QStringLiteral("none"),
         QStringLiteral("401"), kFailed},
        {"another server", [](AlarmRebootTest &) {}, true, QStringLiteral("none"), QStringLiteral("200"), kInitiated},
    };
    for (const Case &c : cases) {
        SetUp();
        c.setUp(*this);
        if (c.toOther)
            settings.Alarm.RebootURL = base(other) + kRebootTarget;
        routersim::RouterSim &target = c.toOther ? other : sim;
        routersim::RouterSim &bystander = c.toOther ? sim : other;
        const int rebootsBefore = target.state().rebootCount();
        actions->AlarmTriggered(QStringLiteral("Disconnected"));
        ASSERT_TRUE(waitForMessage(c.message)) << c.what << ": " << messages.join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(requests(target), QStringList{QStringLiteral("GET ") + kRebootTarget + QLatin1Char(' ')
                                                + c.credentials + QLatin1Char(' ') + c.result})
            << c.what;
        EXPECT_TRUE(requests(bystander).isEmpty()) << c.what;
        EXPECT_EQ(target.state().rebootCount() - rebootsBefore, c.result == QLatin1String("200") ? 1 : 0) << c.what;
        EXPECT_FALSE(messages.contains(c.message == kInitiated ? kFailed : kInitiated)) << c.what;
        // The counter and the guard stay set whatever the router answered.
        EXPECT_EQ(actions->RebootCount, 1) << c.what;
        EXPECT_TRUE(run.RebootInProgress) << c.what;
        sim.journal().clear();
        other.journal().clear();
    }
}

TEST_F(AlarmRebootTest, AFailedRebootIsOneRequestAndIsReported)
{
    for (const char *mode : {"500", "close"}) {
        SetUp();
        ASSERT_EQ(sim.execute(QStringLiteral("fail reboot ") + QLatin1String(mode)).value(0).left(2), "ok");
        actions->AlarmTriggered(QStringLiteral("Disconnected"));
        ASSERT_TRUE(waitForMessage(kFailed)) << mode;
        EXPECT_EQ(sim.journal().lines().size(), 1) << mode;
        EXPECT_FALSE(messages.contains(kInitiated)) << mode;
        sim.execute(QStringLiteral("fail reboot none"));
        sim.journal().clear();
    }
}

TEST_F(AlarmRebootTest, ManualRebootTriesTwiceAndSaysNothing)
{
    ASSERT_EQ(sim.execute(QStringLiteral("fail reboot 500")).value(0).left(2), "ok");
    actions->manualReboot();
    EXPECT_TRUE(run.RebootInProgress);
    EXPECT_TRUE(actions->tmrRebootInProgress->isActive());
    ASSERT_TRUE(testsupport::waitFor([this] { return sim.journal().lines().size() == 2; }, 20000));
    // Nothing more comes.
    QElapsedTimer settle;
    settle.start();
    testsupport::waitFor([&] { return settle.elapsed() > 300; });
    EXPECT_EQ(sim.journal().lines().size(), 2);
    EXPECT_TRUE(messages.isEmpty());

    sim.execute(QStringLiteral("fail reboot none"));
    sim.journal().clear();
    const int rebootsBefore = sim.state().rebootCount();
    actions->manualReboot();
    ASSERT_TRUE(testsupport::waitFor([&] { return sim.state().rebootCount() == rebootsBefore + 1; }, 20000));
    testsupport::waitFor([&] { return settle.elapsed() > 600; });
    EXPECT_EQ(sim.journal().lines().size(), 1);
}
