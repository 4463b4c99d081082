// The simulator's web server: paths per model, Basic authentication and
// what it does with requests that are not HTTP.
#include "PageBuilder.h"
#include "SimTestSupport.h"

using namespace routersim;
using namespace rstest;

namespace {

const QList<PageKind> kAllPages = {PageKind::Status, PageKind::WanAddress, PageKind::Connection, PageKind::Log,
                                   PageKind::Reboot, PageKind::Logout, PageKind::Debug, PageKind::Link,
                                   PageKind::Events, PageKind::Home};

class Routing : public SimFixture {};
class Auth : public SimFixture {};
class Robustness : public SimFixture {};

} // namespace

TEST_F(Routing, EveryModelServesItsPagesAtTheProgramsPaths)
{
    startSim();
    for (ProfileId p : Profile::all()) {
        sim.setProfile(p);
        int served = 0;
        for (PageKind k : kAllPages) {
            const QString path = Profile::pagePath(p, k);
            if (path.isEmpty())
                continue;
            SCOPED_TRACE(QString("%1 %2").arg(Profile::name(p), path).toStdString());
            EXPECT_EQ(PageBuilder(sim.state()).build(p, k), page(path));
            ++served;
        }
        EXPECT_GE(served, 4);
    }
}

TEST_F(Routing, HostAndExtraQueryItemsAreIgnored)
{
    startSim("v1234");
    const QByteArray status = PageBuilder(sim.state()).build(ProfileId::V1234, PageKind::Status);
    // The absolute form only names the host in the request text.
    EXPECT_EQ(status, page("http://192.168.0.1/setup.cgi?next_file=stattbl.htm"));
    EXPECT_EQ(status, page("/setup.cgi?foo=1&next_file=stattbl.htm&bar"));
    EXPECT_EQ(status, page("/setup.cgi?next_file=stattbl%2Ehtm"));
    // The reboot URL carries next_file too; "todo" decides.
    page("/setup.cgi?next_file=diag.htm&todo=reboot");
    EXPECT_EQ(1, sim.state().rebootCount());
}

TEST_F(Routing, V5LogPathWithABackslashStillFindsTheLog)
{
    startSim("v5");
    const QByteArray log = PageBuilder(sim.state()).build(ProfileId::V5, PageKind::Log);
    EXPECT_EQ(log, page("\\FW_log.htm"));
    EXPECT_EQ(log, page("/%5CFW_log.htm"));
}

TEST_F(Routing, SidePagesChangeTheRouter)
{
    startSim("v1234");
    EXPECT_FALSE(sim.state().telnetEnabled());
    page("/setup.cgi?todo=debug");
    EXPECT_TRUE(sim.state().telnetEnabled());
    page("/setup.cgi?next_file=diag.htm&todo=reboot");
    page("/setup.cgi?next_file=diag.htm&todo=reboot");
    EXPECT_EQ(QStringList{"ok 2"}, sim.execute("reboots"));
}

TEST_F(Routing, UnknownPathsMethodsAndHead)
{
    startSim("st585", [] { RouterSimOptions o; o.auth = "none"; return o; }());
    EXPECT_EQ(404, rawGet(port, "/setup.cgi?todo=reboot").status()); // the 585 reboots over telnet
    EXPECT_EQ(405, rawExchange(port, "POST /cgi/b/dsl/dt/ HTTP/1.1\r\nContent-Length: 0\r\n\r\n").status());

    const RawReply head = rawExchange(port, "HEAD /cgi/b/dsl/dt/ HTTP/1.0\r\n\r\n");
    EXPECT_EQ(200, head.status());
    EXPECT_TRUE(head.body().isEmpty());
    EXPECT_EQ(PageBuilder(sim.state()).build(ProfileId::St585, PageKind::Status).size(),
              head.header("Content-Length").toInt());
}

TEST_F(Routing, QtClientGetsTheStatusPage)
{
    startSim("v5");
    QNetworkAccessManager nam;
    const Fetched f = qtGet(nam, port, "/RST_stattbl.htm", "admin", "quillfen");
    ASSERT_TRUE(f.finished);
    EXPECT_EQ(200, f.status);
    EXPECT_EQ(PageBuilder(sim.state()).build(ProfileId::V5, PageKind::Status), f.body);
}

TEST_F(Auth, RequiredModeChecksUserAndPassword)
{
    startSim("v1234");
    const QByteArray path = "/setup.cgi?next_file=stattbl.htm";
    const RawReply none = rawGet(port, path);
    EXPECT_EQ(401, none.status());
    EXPECT_EQ("Basic realm=\"DG834G\"", none.header("WWW-Authenticate"));
    EXPECT_EQ(401, rawGet(port, path, basic("admin", "wrong")).status());
    EXPECT_EQ(401, rawGet(port, path, basic("root", "quillfen")).status());
    EXPECT_EQ(401, rawGet(port, path, "Basic !!notbase64!!").status());
    EXPECT_EQ(401, rawGet(port, path, "Digest username=\"admin\"").status());
    EXPECT_EQ(200, rawGet(port, path, basic("admin", "quillfen")).status());

    // Every page is behind the log-in, the reboot URL included.
    EXPECT_EQ(401, rawGet(port, "/setup.cgi?next_file=diag.htm&todo=reboot").status());
    EXPECT_EQ(0, sim.state().rebootCount());
}

TEST_F(Auth, AnyUserModeChecksOnlyThePassword)
{
    startSim("v1234", [] {
        RouterSimOptions o;
        o.auth = "any";
        o.password = "s3cret";
        return o;
    }());
    const QByteArray path = "/setup.cgi?next_file=stattbl.htm";
    EXPECT_EQ(200, rawGet(port, path, basic("whoever", "s3cret")).status());
    EXPECT_EQ(200, rawGet(port, path, basic("", "s3cret")).status());
    EXPECT_EQ(401, rawGet(port, path, basic("admin", "quillfen")).status());
    EXPECT_EQ(401, rawGet(port, path).status());
}

TEST_F(Auth, NoneModeLetsEveryoneIn)
{
    startSim("v1234", [] { RouterSimOptions o; o.auth = "none"; return o; }());
    EXPECT_EQ(200, rawGet(port, "/st_poe.htm").status());
    EXPECT_EQ(200, rawGet(port, "/st_poe.htm", basic("x", "y")).status());
}

TEST_F(Auth, ModelDefaultsAndLatin1Credentials)
{
    startSim("st585");
    EXPECT_EQ(AuthMode::None, sim.auth().mode()); // the 585 preset logs in without credentials
    EXPECT_EQ(QStringList{"ok required"}, sim.execute("auth required \"J\xc3\xb6rg\" \"p w\""));
    // The router reads the credential bytes as Latin-1.
    const QByteArray creds = "Basic " + QByteArray("J\xf6rg:p w").toBase64();
    EXPECT_EQ(200, rawGet(port, "/cgi/b/is/", creds).status());
    EXPECT_EQ(401, rawGet(port, "/cgi/b/is/", basic("Jorg", "p w")).status());
}

TEST_F(Auth, QtClientSeesARejectedLoginAsAnAuthenticationError)
{
    startSim("v1234");
    QNetworkAccessManager nam;
    const Fetched f = qtGet(nam, port, "/setup.cgi?next_file=stattbl.htm", "admin", "wrong");
    ASSERT_TRUE(f.finished);
    EXPECT_EQ(QNetworkReply::AuthenticationRequiredError, f.error);
}

TEST_F(Robustness, GarbageGetsA400AndTheConnectionClosed)
{
    startSim();
    const QList<QByteArray> junk = {
        QByteArray("\x16\x03\x01\x02\x00\x01\x00\x01\xfc\x03\x03\r\n\r\n", 15), // a TLS hello
        "GET /\r\n\r\n",
        "GET / HTTP/2.0\r\n\r\n",
        "GET noslash HTTP/1.1\r\n\r\n",
        "GET / HTTP/1.1\r\nNo colon here\r\n\r\n",
        "GET / HTTP/1.1\r\n: empty name\r\n\r\n",
    };
    for (const QByteArray &bytes : junk) {
        const RawReply r = rawExchange(port, bytes);
        EXPECT_EQ(400, r.status()) << bytes.toStdString();
        EXPECT_TRUE(r.closed);
    }
    // Still serving.
    EXPECT_EQ(200, rawGet(port, "/", basic("admin", "quillfen")).status());
}

TEST_F(Robustness, HugeHeaderGetsA400)
{
    startSim();
    const QByteArray request = "GET / HTTP/1.1\r\nX-Filler: " + QByteArray(64 * 1024, 'a') + "\r\n\r\n";
    const RawReply r = rawExchange(port, request);
    EXPECT_EQ(400, r.status());
    EXPECT_TRUE(r.closed);
    // Endless garbage without any line end is cut off the same way.
    const RawReply noEol = rawExchange(port, QByteArray(20000, 'x'));
    EXPECT_EQ(400, noEol.status());
    EXPECT_TRUE(noEol.closed);
    EXPECT_TRUE(testsupport::waitFor([&] { return sim.openHttpConnections() == 0; }));
}

TEST_F(Robustness, SilentClientIsClosedAfterTheIdleTime)
{
    startSim();
    sim.setHttpIdleTimeout(100);
    QTcpSocket s;
    s.connectToHost(QHostAddress::LocalHost, port);
    s.write("GET / HTTP/1.1\r\n"); // never finishes its head
    EXPECT_TRUE(testsupport::waitFor([&] { return s.state() == QAbstractSocket::UnconnectedState; }));
    EXPECT_TRUE(sim.journal().lines().last().endsWith("\ttimeout"));
}

TEST_F(Robustness, StopClosesOpenConnections)
{
    startSim();
    sim.execute("fail * hang");
    QTcpSocket s;
    s.connectToHost(QHostAddress::LocalHost, port);
    s.write("GET / HTTP/1.1\r\n\r\n");
    ASSERT_TRUE(testsupport::waitFor([&] { return sim.openHttpConnections() == 1; }));
    sim.stop();
    EXPECT_TRUE(testsupport::waitFor([&] { return s.state() == QAbstractSocket::UnconnectedState; }));
    EXPECT_EQ(0, sim.openHttpConnections());
}
