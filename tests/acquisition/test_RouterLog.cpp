// The router's own log: where each model's log is cut from its page, and the
// saved file the e-mails attach, against a simulated router.
#include "RouterSim.h"
#include "TestSupport.h"
#include "acquisition/RouterLog.h"
#include "settings/TSettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kV1234Start = QStringLiteral("<TEXTAREA NAME=\"outlog_Display\"");

RouterLogCut netgearCut(const QString &start, int offset)
{
    return RouterLogCut{RouterLogFamily::Netgear, start, offset, QStringLiteral("</textarea>")};
}

} // namespace

TEST(CutRouterLog, CutsTheTextOrGivesNothing)
{
    const QString pad = QString(101 - kV1234Start.size(), QLatin1Char(' ')) + QLatin1Char('>');
    const QString v1234 = QStringLiteral("<html>x") + kV1234Start + pad + QStringLiteral("a\nb</textarea>");
    struct Case {
        const char *name;
        QString page;
        RouterLogCut cut;
        QString expected;
    };
    const Case cases[] = {
        {"v1234 layout", v1234, netgearCut(kV1234Start, 102), QStringLiteral("a\r\nb")},
        {"start only in lower case", v1234.toLower(), netgearCut(kV1234Start, 102), QStringLiteral("a\r\nb")},
        {"missing start is no log, not the page top", QStringLiteral("some text a\nb</textarea>"),
         netgearCut(kV1234Start, 102), QString()},
        {"missing end", QString(v1234).remove(QStringLiteral("</textarea>")), netgearCut(kV1234Start, 102), QString()},
        {"end before start", QStringLiteral("</textarea>") + kV1234Start + pad + QStringLiteral("abc"),
         netgearCut(kV1234Start, 102), QString()},
        {"CR LF kept as it is", QStringLiteral("<TEXTAREA>x\r\ny\nz</textarea>"), netgearCut(QStringLiteral("<TEXTAREA"), 10),
         QStringLiteral("x\r\ny\r\nz")},
        {"585 events", QStringLiteral("..Recorded Events") + QString(12, QLatin1Char(0x2d)) + QStringLiteral("<t>e1</t>")
                           + QString(10, QLatin1Char(' ')) + QStringLiteral("</form>"),
         RouterLogCut{RouterLogFamily::St585, {}, 0, {}}, QStringLiteral("<t>e1</t> ")}, // pos - 10 characters
        {"offset near INT_MAX starts past the end", v1234, netgearCut(kV1234Start, 2147483647), QString()},
        {"offset just below INT_MAX", v1234, netgearCut(kV1234Start, 2147483647 - 60), QString()},
        {"585 without its label", QStringLiteral("<t>e1</t>          </form>"), RouterLogCut{RouterLogFamily::St585, {}, 0, {}},
         QString()},
    };
    for (const Case &c : cases)
        EXPECT_EQ(cutRouterLog(c.page, c.cut), c.expected) << c.name;
}

TEST(RouterLogRequest, EachCallerPicksItsPageAndStart)
{
    struct Case {
        const char *name;
        bool v1234, v5, dg834n, st585;
        RouterLogCaller caller;
        QString path, start;
        int offset;
    };
    const QString logUrl = QStringLiteral("/custom_log.htm");
    const QString stored = QStringLiteral("<pre");
    const Case cases[] = {
        {"e-mail, stored start", true, false, false, false, RouterLogCaller::GetRouterLog, logUrl, stored, 102},
        {"e-mail, DG834N", true, false, true, false, RouterLogCaller::GetRouterLog, logUrl, QStringLiteral("<textarea"), 112},
        {"e-mail, v5", false, true, false, false, RouterLogCaller::GetRouterLog, logUrl, QStringLiteral("<TEXTAREA"), 99},
        {"view, v1234", true, false, false, false, RouterLogCaller::View, logUrl, kV1234Start, 102},
        {"view, v5", false, true, false, false, RouterLogCaller::View, QStringLiteral("/FW_log.htm"),
         QStringLiteral("<TEXTAREA"), 99},
        {"refresh, stored start", true, false, false, false, RouterLogCaller::Refresh, logUrl, stored, 102},
        {"585 events", false, false, false, true, RouterLogCaller::GetRouterLog,
         QStringLiteral("/cgi/b/events/?be=0&l0=0&l1=2"), QString(), 0},
    };
    for (const Case &c : cases) {
        TSettings s;
        s.Router.V1234 = c.v1234;
        s.Router.V5 = c.v5;
        s.Router.ST585 = c.st585;
        s.RouterLog.IsDG834N = c.dg834n;
        s.RouterLog.LogURL = logUrl;
        s.RouterLog.LogStart = stored;
        const RouterLogRequest r = routerLogRequest(s, c.caller);
        EXPECT_EQ(r.path, c.path) << c.name;
        EXPECT_EQ(r.cut.start, c.start) << c.name;
        EXPECT_EQ(r.cut.offset, c.offset) << c.name;
        EXPECT_EQ(r.cut.family, c.st585 ? RouterLogFamily::St585 : RouterLogFamily::Netgear) << c.name;
    }
}

TEST(ReverseLogLines, OddAndEvenCounts)
{
    EXPECT_EQ(reverseLogLines({"1", "2", "3", "4", "5"}), QStringList({"5", "4", "3", "2", "1"}));
    EXPECT_EQ(reverseLogLines({"1", "2", "3", "4"}), QStringList({"4", "3", "2", "1"}));
    EXPECT_TRUE(reverseLogLines({}).isEmpty());
}

namespace {

struct RouterLogTest : ::testing::Test {
    routersim::RouterSim sim;
    RouterHttpClient client;
    TSettings settings;
    RouterLog log{client, settings};
    QTemporaryDir dir;
    QString path;
    QStringList messages;
    QStringList shown;
    int doneCalls = 0;

    void startSim(const QString &profile)
    {
        routersim::RouterSimOptions o;
        o.profile = profile;
        o.control = false;
        o.telnet = false;
        QString error;
        ASSERT_TRUE(sim.start(o, &error)) << error.toStdString();
        settings.Router.Login = QStringLiteral("http://127.0.0.1:%1/status.htm").arg(sim.httpPort());
        settings.Router.cbLogin = profile != QLatin1String("st585");
        settings.Router.Username = QStringLiteral("admin");
        settings.Router.Password = QStringLiteral("quillfen");
        settings.Router.V1234 = profile == QLatin1String("v1234");
        settings.Router.V5 = profile == QLatin1String("v5");
        settings.Router.ST585 = profile == QLatin1String("st585");
        settings.RouterLog.LogURL = settings.Router.V5 ? QStringLiteral("\\FW_log.htm")
                                                       : QStringLiteral("/setup.cgi?next_file=log.htm&todo=cfg_init");
        settings.RouterLog.LogStart = kV1234Start;
        settings.RouterLog.LogOffset = 101;
        settings.RouterLog.LogEnd = QStringLiteral("</textarea>");
        ASSERT_TRUE(sim.execute(QStringLiteral("set log first line\\nsecond line\\nthird")).value(0).startsWith("ok"));
        sim.journal().clear();
    }

    void SetUp() override
    {
        path = dir.filePath(QStringLiteral("VT-routerlog.txt"));
        log.setTransferTimeoutMs(600);
        QObject::connect(&log, &RouterLog::systemMessage, [this](const QString &m) { messages << m; });
        QObject::connect(&log, &RouterLog::showMessage, [this](const QString &m) { shown << m; });
    }

    void getLog()
    {
        log.GetRouterLog(path, [this] { ++doneCalls; });
        ASSERT_TRUE(testsupport::waitFor([this] { return doneCalls > 0 && log.pendingCount() == 0; }, 20000));
        // Nothing more may arrive once it is done.
        testsupport::waitFor([] { return false; }, 100);
        EXPECT_EQ(doneCalls, 1);
    }

    QStringList journalColumn(int column)
    {
        QStringList out;
        for (const QString &line : sim.journal().lines())
            out << line.split(QLatin1Char('\t')).value(column);
        return out;
    }
};

} // namespace

TEST_F(RouterLogTest, EachModelsLogIsSavedWithCrLf)
{
    struct Case {
        const char *profile;
        QByteArray expected;
        QString target;
        QString credentials;
    };
    const Case cases[] = {
        {"v1234", "first line\r\nsecond line\r\nthird", "/setup.cgi?next_file=log.htm&todo=cfg_init", "admin:quillfen"},
        {"v5", "first line\r\nsecond line\r\nthird", "/FW_log.htm", "admin:quillfen"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.profile);
        startSim(QString::fromLatin1(c.profile));
        doneCalls = 0;
        messages.clear();
        getLog();
        EXPECT_EQ(testsupport::readAll(path), c.expected);
        EXPECT_EQ(journalColumn(3), QStringList{c.target});
        EXPECT_EQ(journalColumn(4), QStringList{c.credentials});
        EXPECT_EQ(messages, QStringList{QStringLiteral("Retrieved router's internal log")});
        QFile::remove(path);
        sim.stop();
    }
}

TEST_F(RouterLogTest, St585EventsPageIsSavedWithoutCredentials)
{
    startSim(QStringLiteral("st585"));
    getLog();
    const QByteArray saved = testsupport::readAll(path);
    EXPECT_TRUE(saved.startsWith("<table")) << saved.constData();
    EXPECT_TRUE(saved.contains("second line"));
    EXPECT_TRUE(saved.endsWith("</table>\r")) << saved.constData();
    EXPECT_EQ(journalColumn(4), QStringList{QStringLiteral("none")});
}

TEST_F(RouterLogTest, ShortLogIsFetchedAgainTheViewWay)
{
    startSim(QStringLiteral("v1234"));
    settings.RouterLog.LogStart = QStringLiteral("<nothing like it");
    getLog();
    // The first cut found nothing; the retry used the model's own start text and kept it.
    EXPECT_EQ(testsupport::readAll(path), QByteArray("first line\r\nsecond line\r\nthird"));
    EXPECT_EQ(journalColumn(0).size(), 2);
    EXPECT_EQ(settings.RouterLog.LogStart, kV1234Start);
    EXPECT_EQ(settings.RouterLog.LogOffset, 102);
}

TEST_F(RouterLogTest, FailuresLeaveNoFileAndEndOnce)
{
    struct Case {
        const char *mode;
        int requests;
    };
    // A 500 is tried again (four in all); a hang ends with its time-out.
    const Case cases[] = {{"500", 4}, {"hang", 1}, {"empty", 4}};
    startSim(QStringLiteral("v1234"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.mode);
        QFile::remove(path);
        ASSERT_TRUE(sim.execute(QStringLiteral("fail log ") + c.mode).value(0).startsWith("ok"));
        sim.journal().clear();
        doneCalls = 0;
        getLog();
        EXPECT_FALSE(QFile::exists(path));
        EXPECT_EQ(journalColumn(0).size(), c.requests);
    }
}

TEST_F(RouterLogTest, FailedFetchKeepsTheEarlierFile)
{
    startSim(QStringLiteral("v1234"));
    testsupport::writeAll(path, "earlier");
    sim.execute(QStringLiteral("fail log 500"));
    getLog();
    EXPECT_EQ(testsupport::readAll(path), QByteArray("earlier"));
}

TEST_F(RouterLogTest, MissingSettingsFetchNothing)
{
    struct Case {
        const char *name;
        QString login;
        QString password;
        QString message;
    };
    const Case cases[] = {
        {"no login URL", QString(), QStringLiteral("quillfen"), QStringLiteral("The router Login URL needs to be specified.")},
        {"no password", QStringLiteral("keep"), QString(), QStringLiteral("The router Username or Password is missing!")},
    };
    startSim(QStringLiteral("v1234"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        if (c.login != QLatin1String("keep"))
            settings.Router.Login = c.login;
        settings.Router.Password = c.password;
        shown.clear();
        doneCalls = 0;
        getLog();
        EXPECT_EQ(shown, QStringList{c.message});
        EXPECT_FALSE(QFile::exists(path));
    }
    EXPECT_TRUE(sim.journal().lines().isEmpty());
}

TEST_F(RouterLogTest, DestroyingEndsOutstandingCalls)
{
    startSim(QStringLiteral("v1234"));
    sim.execute(QStringLiteral("fail log hang"));
    int calls = 0;
    {
        RouterLog other(client, settings);
        other.GetRouterLog(path, [&calls] { ++calls; });
        testsupport::waitFor([this] { return !sim.journal().lines().isEmpty(); }, 5000);
    }
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(QFile::exists(path));
}
