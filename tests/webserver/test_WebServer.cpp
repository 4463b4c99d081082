// The server on 127.0.0.1 with real connections: files, authentication, the
// blocked list, paths that leave the folder, the connection limit, the
// in-progress count, stopping under a stuck client and the access log's
// hand-over to the window thread.
#include "WebTestSupport.h"
#include "webserver/BlockedList.h"
#include "webserver/WebRequestHandler.h"
#include "webserver/WebServer.h"
#include "webserver/WebServing.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTcpServer>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using webtest::HttpReply;
using webtest::RawClient;
using webtest::request;

namespace {

class WebServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(start());
    }
    void TearDown() override
    {
        server.stop();
        EXPECT_TRUE(testsupport::waitFor([] { return WebServing::count() == 0; }));
    }
    bool start(int maxUsers = 10, int timeoutSecs = 30)
    {
        WebServerSettings s;
        s.webPage = folder.page;
        s.settingsFile = folder.settings;
        server.setSettings(s);
        WebServerConfig cfg;
        cfg.address = QStringLiteral("127.0.0.1");
        cfg.port = 0;
        cfg.maxUsers = maxUsers;
        cfg.connectionTimeoutSecs = timeoutSecs;
        cfg.idleReplyMs = cfg.replyGraceMs; // a stalled reply keeps its place until it is given up
        QString error;
        const bool ok = server.start(cfg, &error);
        EXPECT_TRUE(ok) << error.toStdString();
        port = quint16(server.port());
        return ok;
    }
    void change(const std::function<void(WebServerSettings &)> &f)
    {
        WebServerSettings s = server.settings();
        f(s);
        server.setSettings(s);
    }
    // A request whose reply the client does not read: it stays in progress.
    std::unique_ptr<RawClient> stalledDownload()
    {
        QFile big(folder.root + QStringLiteral("/big.bin"));
        if (!big.exists()) {
            big.open(QIODevice::WriteOnly);
            big.resize(qint64(64) << 20); // sparse
            big.close();
        }
        auto c = std::make_unique<RawClient>(port, 4096);
        c->send("GET /big.bin HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
        c->readSome(1024); // the reply has started
        return c;
    }

    webtest::WebFolder folder;
    WebServer server;
    quint16 port = 0;
};

} // namespace

TEST_F(WebServerTest, ServesAFileWithItsType)
{
    EXPECT_TRUE(server.isActive());
    EXPECT_EQ(server.address(), QStringLiteral("127.0.0.1"));
    EXPECT_GT(port, 0);
    const HttpReply r = request(port, "/noise.jpg");
    EXPECT_EQ(r.status, 200);
    EXPECT_EQ(r.body, QByteArray("JPEGDATA"));
    EXPECT_EQ(r.headers.value("content-type"), QByteArray("image/jpeg"));
    const HttpReply page = request(port, "/page.htm");
    EXPECT_EQ(page.headers.value("content-type"), QByteArray("text/html"));
    const HttpReply head = request(port, "/noise.jpg", {}, "HEAD");
    EXPECT_EQ(head.status, 200);
    EXPECT_TRUE(head.body.isEmpty());
    EXPECT_EQ(request(port, "/noise.jpg", {}, "POST").status, 501);
}

TEST_F(WebServerTest, RootAndMissingFilesGetTheNotFoundPage)
{
    for (const QByteArray &target : {QByteArray("/"), QByteArray("/none.jpg")}) {
        const HttpReply r = request(port, target);
        EXPECT_EQ(r.status, 404) << target.constData();
        EXPECT_EQ(r.body, WebRequestHandler::errorPage(404)) << target.constData();
    }
}

TEST_F(WebServerTest, AuthenticationRefusesMissingAndWrongCredentials)
{
    change([](WebServerSettings &s) {
        s.webAuth = true;
        s.webUser = QStringLiteral("admin");
        s.webPassword = QStringLiteral("s3cret");
    });
    const struct {
        QByteArray header;
        int status;
    } cases[] = {
        {{}, 401},
        {webtest::basicAuth("admin", "wrong"), 401},
        {webtest::basicAuth("Admin", "s3cret"), 401},
        {"Authorization: Basic !!!notbase64\r\n", 401},
        {webtest::basicAuth("admin", "s3cret"), 200},
        // A NUL inside the secret does not end it: the bytes compare whole.
        {webtest::basicAuth("admin", QByteArray("s3cret\0junk", 11)), 401},
        {webtest::basicAuth(QByteArray("admin\0x", 7), "s3cret"), 401},
        {"Authorization: basic " + QByteArray("admin:s3cret").toBase64() + "\r\n", 200},
    };
    for (const auto &c : cases) {
        const HttpReply r = request(port, "/noise.jpg", c.header);
        EXPECT_EQ(r.status, c.status) << c.header.constData();
        if (c.status == 401) {
            EXPECT_EQ(r.headers.value("www-authenticate"), QByteArray("Basic realm=\"Veltrano\""));
            EXPECT_EQ(r.body, WebRequestHandler::authFailedPage());
        }
    }
    // Refused requests are not counted in progress, nor logged.
    EXPECT_EQ(WebServing::count(), 0);
}

// A name or secret beyond Latin-1 matches as a browser sends it, in UTF-8 or the Windows code
// page, and only then: no lossy spelling of it (a "?" for each character Latin-1 lacks) gets in.
TEST_F(WebServerTest, CredentialsMatchOnlyTheSettingsOwnBytes)
{
    const QString euroPassword = QStringLiteral("pa\u20ACs");    // Windows-1252 has the euro sign
    const QString snowmanPassword = QStringLiteral("\u2603\u00E9"); // Windows-1252 lacks the snowman
    const QString acuteUser = QStringLiteral("vi\u00E9wer");
    const struct { const char *what; QString user, password; QByteArray sentUser, sentPassword; int status; } cases[] = {
        {"euro, UTF-8", "viewer", euroPassword, "viewer", "pa\xE2\x82\xACs", 200},
        {"euro, Windows-1252", "viewer", euroPassword, "viewer", "pa\x80s", 200},
        {"euro as a question mark", "viewer", euroPassword, "viewer", "pa?s", 401},
        {"euro as Latin-1's C1 byte", "viewer", euroPassword, "viewer", "pa\xC2\x80s", 401},
        {"snowman, UTF-8", "viewer", snowmanPassword, "viewer", "\xE2\x98\x83\xC3\xA9", 200},
        {"snowman as a question mark", "viewer", snowmanPassword, "viewer", "?\xE9", 401},
        {"snowman as a question mark in UTF-8", "viewer", snowmanPassword, "viewer", "?\xC3\xA9", 401},
        {"accented name, UTF-8", acuteUser, "s3cret", "vi\xC3\xA9wer", "s3cret", 200},
        {"accented name, Windows-1252", acuteUser, "s3cret", "vi\xE9wer", "s3cret", 200},
        {"accented name as a question mark", acuteUser, "s3cret", "vi?wer", "s3cret", 401},
        {"accented name without its accent", acuteUser, "s3cret", "viewer", "s3cret", 401},
        {"a question mark that is the setting", "viewer", "pa?s", "viewer", "pa?s", 200},
        {"a euro sign for the setting's question mark", "viewer", "pa?s", "viewer", "pa\x80s", 401},
    };
    for (const auto &c : cases) {
        change([&](WebServerSettings &s) {
            s.webAuth = true;
            s.webUser = c.user;
            s.webPassword = c.password;
        });
        EXPECT_EQ(request(port, "/noise.jpg", webtest::basicAuth(c.sentUser, c.sentPassword)).status, c.status)
            << c.what;
    }
}

TEST_F(WebServerTest, BlockedClientGetsForbiddenWithAnEmptyBodyForFilesThatExist)
{
    testsupport::writeAll(folder.root + QStringLiteral("/blocked.txt"), "10.1.1.1\n127.0.0.1\n");
    change([](WebServerSettings &s) { s.useBlocked = true; });
    const HttpReply r = request(port, "/noise.jpg");
    EXPECT_EQ(r.status, 403);
    EXPECT_TRUE(r.body.isEmpty());
    // The list is not consulted for a missing file: the usual page.
    const HttpReply missing = request(port, "/none.jpg");
    EXPECT_EQ(missing.status, 404);
    EXPECT_EQ(missing.body, WebRequestHandler::errorPage(404));
    change([](WebServerSettings &s) { s.useBlocked = false; });
    EXPECT_EQ(request(port, "/noise.jpg").status, 200);
}

// A blocked list that is a link to /dev/zero, a FIFO or oversized fails every request, is
// reported once, and a sound list is read again at the next request.
TEST_F(WebServerTest, ABlockedListThatIsNoListFailsEachRequestAndIsReportedOnce)
{
    const QString list = folder.root + QStringLiteral("/blocked.txt");
    const QByteArray name = QFile::encodeName(list);
    const std::function<void()> cases[] = {
        [&] { ::symlink("/dev/zero", name.constData()); },
        [&] { ::mkfifo(name.constData(), 0600); },
        [&] { testsupport::writeAll(list, QByteArray("10.0.0.1\n").repeated(BlockedList::kMaxBytes / 9) + "127.0.0.1\n"); },
    };
    change([](WebServerSettings &s) { s.useBlocked = true; });
    QSignalSpy errors(&server, &WebServer::serverError);
    for (const auto &make : cases) {
        QFile::remove(list);
        make();
        errors.clear();
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(request(port, "/noise.jpg").status, 500);
            server.flushNow();
        }
        EXPECT_EQ(errors.size(), 1);
        QFile::remove(list);
        testsupport::writeAll(list, "127.0.0.1\n");
        EXPECT_EQ(request(port, "/noise.jpg").status, 403);
    }
}

// An unreadable list is reported once while it stays so, and again after a good read, its removal or a restart.
TEST_F(WebServerTest, ABlockedListThatBreaksAgainAfterBeingMendedIsReportedAgain)
{
    const QString list = folder.root + QStringLiteral("/blocked.txt");
    enum class List { Broken, Sound, Gone, Restart };
    const struct {
        List list;
        int status;
        int reports;
    } steps[] = {
        {List::Broken, 500, 1}, {List::Broken, 500, 0}, {List::Sound, 403, 0}, {List::Broken, 500, 1},
        {List::Broken, 500, 0}, {List::Gone, 200, 0},   {List::Broken, 500, 1}, {List::Restart, 500, 1},
        {List::Broken, 500, 0},
    };
    const auto useBlocked = [](WebServerSettings &s) { s.useBlocked = true; };
    change(useBlocked);
    QSignalSpy errors(&server, &WebServer::serverError);
    for (size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(i);
        if (steps[i].list == List::Restart) {
            server.stop();
            ASSERT_TRUE(start());
            change(useBlocked);
        } else {
            QFile::remove(list);
            QDir().rmdir(list);
            if (steps[i].list == List::Broken)
                QDir().mkdir(list);
            else if (steps[i].list == List::Sound)
                testsupport::writeAll(list, "127.0.0.1\n");
        }
        errors.clear();
        EXPECT_EQ(request(port, "/noise.jpg").status, steps[i].status);
        server.flushNow();
        EXPECT_EQ(errors.size(), steps[i].reports);
    }
}

TEST_F(WebServerTest, PathsOutsideTheFolderAreForbiddenWhetherOrNotTheyExist)
{
    change([](WebServerSettings &s) { s.allowSubFolders = true; });
    const QByteArray targets[] = {
        "/../outside.txt", "/../missing.txt", "/%2e%2e/outside.txt", "/%2E%2E/missing.txt", "/sub/..%2f..%2foutside.txt",
        "/sub/%2e%2e/%2e%2e/outside.txt", "/link-file", "/link-out/outside.txt", "/dangling-out",
        "http://127.0.0.1/../outside.txt", "outside.txt",
    };
    for (const QByteArray &t : targets) {
        const HttpReply r = request(port, t);
        EXPECT_EQ(r.status, 403) << t.constData();
        EXPECT_EQ(r.body, WebRequestHandler::accessDeniedPage()) << t.constData();
        EXPECT_FALSE(r.body.contains("secret")) << t.constData();
    }
    // An absolute name is taken inside the folder.
    EXPECT_EQ(request(port, "//etc/passwd").status, 404);
    EXPECT_EQ(request(port, "/%2Fetc%2Fpasswd").status, 404);
}

TEST_F(WebServerTest, NeverServesSettingsTemporaryFilesOrTheBlockedList)
{
    for (const QByteArray &t : {QByteArray("/veltrano.ini"), QByteArray("/veltrano.ini.Xy12ab"), QByteArray("/chart.tmp"),
                               QByteArray("/blocked.txt"), QByteArray("/BLOCKED.TXT")}) {
        const HttpReply r = request(port, t);
        EXPECT_EQ(r.status, 403) << t.constData();
        EXPECT_FALSE(r.body.contains("scrambled")) << t.constData();
    }
}

TEST_F(WebServerTest, SubFoldersFollowTheirSwitch)
{
    EXPECT_EQ(request(port, "/sub/inner.jpg").status, 403);
    change([](WebServerSettings &s) { s.allowSubFolders = true; });
    const HttpReply r = request(port, "/sub/inner.jpg");
    EXPECT_EQ(r.status, 200);
    EXPECT_EQ(r.body, QByteArray("INNER"));
}

TEST_F(WebServerTest, RequestCountsInProgressUntilItsReplyIsSent)
{
    EXPECT_EQ(WebServing::count(), 0);
    auto stalled = stalledDownload();
    ASSERT_TRUE(testsupport::waitFor([] { return WebServing::count() == 1; }));
    // Other requests come and go meanwhile.
    EXPECT_EQ(request(port, "/noise.jpg").status, 200);
    EXPECT_TRUE(testsupport::waitFor([] { return WebServing::count() == 1; }));
    stalled.reset();
    EXPECT_TRUE(testsupport::waitFor([] { return WebServing::count() == 0; }));
}

TEST_F(WebServerTest, NotCountedWhileImagesAreMadeWithoutTheServer)
{
    change([](WebServerSettings &s) { s.imageWithoutServer = true; });
    auto stalled = stalledDownload();
    EXPECT_EQ(request(port, "/noise.jpg").status, 200); // the stalled request has been taken on by now
    EXPECT_EQ(WebServing::count(), 0);
}

TEST_F(WebServerTest, ConnectionLimitTurnsAwayTheNextClient)
{
    server.stop();
    ASSERT_TRUE(start(1));
    auto first = stalledDownload();
    ASSERT_TRUE(testsupport::waitFor([] { return WebServing::count() == 1; }));

    const HttpReply refused = request(port, "/noise.jpg");
    EXPECT_EQ(refused.status, 0); // closed without a reply

    first.reset();
    EXPECT_TRUE(testsupport::waitFor([this] { return request(port, "/noise.jpg").status == 200; }));
}

TEST_F(WebServerTest, StopReturnsWhileClientsHang)
{
    // One client sent half a request, one stopped reading its reply.
    RawClient half(port);
    half.send("GET /noise.jpg HTTP/1.1\r\nHost: 127.0.0.1\r\n");
    auto stalled = stalledDownload();
    ASSERT_TRUE(testsupport::waitFor([] { return WebServing::count() == 1; }));

    EXPECT_TRUE(server.stop()); // within its wait, not after the connection time-out
    EXPECT_FALSE(server.isActive());
    EXPECT_EQ(WebServing::count(), 0);
    EXPECT_TRUE(half.readToEnd().isEmpty());
    EXPECT_FALSE(half.lastReadTimedOut()); // closed by the server

    // The port is free again at once.
    const int freed = port;
    WebServerConfig cfg;
    cfg.address = QStringLiteral("127.0.0.1");
    cfg.port = freed;
    QString error;
    EXPECT_TRUE(server.start(cfg, &error)) << error.toStdString();
    EXPECT_EQ(server.port(), freed);
}

TEST_F(WebServerTest, AccessLogLinesArriveOnTheReceiversThread)
{
    change([](WebServerSettings &s) {
        s.logWeb = true;
        s.showSystem = true;
    });
    QObject receiver; // lives on this (the window) thread
    QStringList lines;
    QList<QThread *> threads;
    QStringList addresses;
    QObject::connect(&server, &WebServer::accessLogBatch, &receiver, [&](const QList<AccessLogEntry> &batch) {
        for (const AccessLogEntry &e : batch) {
            lines << e.line;
            addresses << e.address;
        }
        threads << QThread::currentThread();
    });

    RawClient c(port);
    c.send("GET /noise.jpg HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(webtest::parse(c.readToEnd()).status, 200);
    EXPECT_EQ(request(port, "/none.jpg").status, 404); // missing files are not logged
    ASSERT_TRUE(testsupport::waitFor([&] { return !lines.isEmpty(); }));
    QCoreApplication::processEvents();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(threads.first(), QThread::currentThread());
    EXPECT_TRUE(lines.first().endsWith(
        QStringLiteral("  Command GET /noise.jpg received from 127.0.0.1:%1").arg(c.localPort())))
        << lines.first().toStdString();
    EXPECT_EQ(addresses, QStringList{QStringLiteral("127.0.0.1")});
}

TEST_F(WebServerTest, UnreadableBlockedListReportsAServerError)
{
    QFile::remove(folder.root + QStringLiteral("/blocked.txt"));
    QDir().mkdir(folder.root + QStringLiteral("/blocked.txt"));
    change([](WebServerSettings &s) { s.useBlocked = true; });
    QObject receiver;
    int errors = 0;
    QObject::connect(&server, &WebServer::serverError, &receiver, [&] { ++errors; }, Qt::QueuedConnection);
    EXPECT_EQ(request(port, "/noise.jpg").status, 500);
    EXPECT_TRUE(testsupport::waitFor([&] { return errors == 1; }));
}

TEST(WebServerStart, ReportsWhyItCouldNotStart)
{
    QTcpServer busy;
    ASSERT_TRUE(busy.listen(QHostAddress::LocalHost, 0));
    const struct {
        QString address;
        int port;
        const char *error;
    } cases[] = {
        {QStringLiteral("127.0.0.1"), busy.serverPort(), "Could not bind socket. Address already in use"},
        {QStringLiteral("999.1.1.1"), 0, "Invalid server address 999.1.1.1"},
        {QStringLiteral("localhost"), 0, "Invalid server address localhost"},
        {QStringLiteral("127.0.0.1"), 70000, "Invalid port 70000"},
    };
    for (const auto &c : cases) {
        WebServer server;
        WebServerConfig cfg;
        cfg.address = c.address;
        cfg.port = c.port;
        QString error;
        EXPECT_FALSE(server.start(cfg, &error));
        EXPECT_EQ(error, QLatin1String(c.error));
        EXPECT_FALSE(server.isActive());
        EXPECT_TRUE(server.stop());
    }
}

TEST(WebServerStart, StartingTwiceKeepsTheFirstBinding)
{
    WebServer server;
    WebServerConfig cfg;
    cfg.address = QStringLiteral("127.0.0.1");
    cfg.port = 0;
    QString error;
    ASSERT_TRUE(server.start(cfg, &error));
    const int first = server.port();
    ASSERT_TRUE(server.start(cfg, &error));
    EXPECT_EQ(server.port(), first);
}
