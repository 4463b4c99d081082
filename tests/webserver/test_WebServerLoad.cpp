// The server under the loads a monitor on an open network meets: kept-alive
// connections, clients that hold connections idle or trickle their request
// head, and bursts of logged requests reaching the window in batches.
#include "WebTestSupport.h"
#include "webserver/WebRequestHandler.h"
#include "webserver/WebServer.h"
#include "webserver/WebServing.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

using webtest::RawClient;

namespace {

class WebServerLoadTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        server.stop();
        EXPECT_TRUE(testsupport::waitFor([] { return WebServing::count() == 0; }));
    }
    void start(WebServerConfig cfg, bool logWeb = false)
    {
        WebServerSettings s;
        s.webPage = folder.page;
        s.settingsFile = folder.settings;
        s.logWeb = logWeb;
        s.showSystem = logWeb;
        server.setSettings(s);
        cfg.address = QStringLiteral("127.0.0.1");
        cfg.port = 0;
        QString error;
        ASSERT_TRUE(server.start(cfg, &error)) << error.toStdString();
        port = quint16(server.port());
    }
    // Deadlines far off: what a test sees is not their doing.
    static WebServerConfig farDeadlines()
    {
        WebServerConfig cfg;
        cfg.headDeadlineMs = 60000;
        cfg.connectionTimeoutSecs = 60;
        return cfg;
    }
    static QByteArray get(const QByteArray &target)
    {
        return "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    }

    webtest::WebFolder folder;
    WebServer server;
    quint16 port = 0;
};

} // namespace

TEST_F(WebServerLoadTest, OneConnectionCarriesSeveralRequests)
{
    start({});
    RawClient c(port);
    const QByteArray targets[] = {"/noise.jpg", "/none.jpg", "/page.htm", "/noise.jpg"};
    const int statuses[] = {200, 404, 200, 200};
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(c.send(get(targets[i]))) << i;
        const webtest::HttpReply r = webtest::parse(c.readReply());
        EXPECT_EQ(r.status, statuses[i]) << targets[i].constData();
        EXPECT_NE(r.headers.value("connection").toLower(), QByteArray("close")) << targets[i].constData();
    }
    // A client that asks for the close gets it after its reply.
    c.send("GET /noise.jpg HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(webtest::parse(c.readToEnd()).body, QByteArray("JPEGDATA"));
    EXPECT_FALSE(c.lastReadTimedOut());
}

TEST_F(WebServerLoadTest, AClientIsServedWhileAnotherAddressHoldsIdleAndTricklingConnections)
{
    WebServerConfig cfg;
    cfg.maxUsers = 4;
    cfg.headDeadlineMs = 60000; // only the per-address limit is at work here
    start(cfg);
    ASSERT_EQ(cfg.effectivePerClientLimit(), 2);

    std::vector<std::unique_ptr<RawClient>> hogs;
    for (int i = 0; i < 4; ++i) {
        hogs.push_back(std::make_unique<RawClient>(port, 0, 5, "127.0.0.2"));
        ASSERT_TRUE(hogs.back()->connected());
        hogs.back()->send(i % 2 ? QByteArray("G") : QByteArray()); // one trickles, one idles
    }
    // The address keeps its share: its newer connections take the places of
    // its oldest waiting ones.
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_TRUE(hogs[i]->readToEnd().isEmpty()) << i;
        EXPECT_FALSE(hogs[i]->lastReadTimedOut()) << i;
    }
    hogs[3]->send("E");

    for (int i = 0; i < 3; ++i) {
        const webtest::HttpReply r = webtest::request(port, "/noise.jpg");
        EXPECT_EQ(r.status, 200) << i;
        EXPECT_EQ(r.body, QByteArray("JPEGDATA")) << i;
    }
}

// Two addresses stall every connection they may hold, in every way they can
// (idle, a head that trickles, a body that trickles, a reply left unread) and
// fill their places again before each request: a third client is still
// served each time. The deadlines are far off, so room is made by the server
// taking back idle places and never waiting for a body.
TEST_F(WebServerLoadTest, AClientIsServedWhileTwoAddressesKeepEveryConnectionStalled)
{
    WebServerConfig cfg = farDeadlines();
    cfg.maxUsers = 4;
    start(cfg);
    ASSERT_EQ(cfg.effectivePerClientLimit(), 2);

    const QByteArray stalls[] = {
        QByteArray(),                                                             // connects, says nothing
        "GET /noise.jpg HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Slow: a",               // a head that trickles
        "GET /noise.jpg HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 1000000\r\n\r\nxx", // a body that trickles
        get("/page.htm"),                                                         // a reply it never reads
    };
    std::vector<std::unique_ptr<RawClient>> hogs;
    for (int round = 0; round < 8; ++round) {
        for (const char *from : {"127.0.0.2", "127.0.0.3"})
            for (int i = 0; i < 2; ++i) {
                hogs.push_back(std::make_unique<RawClient>(port, 2048, 1, from));
                hogs.back()->send(stalls[(round + i + (from[8] == '3' ? 2 : 0)) % 4]);
            }
        const webtest::HttpReply r = webtest::request(port, "/noise.jpg");
        EXPECT_EQ(r.status, 200) << "round " << round;
        EXPECT_EQ(r.body, QByteArray("JPEGDATA")) << "round " << round;
    }
}

// Ten connections from two addresses hold every place with replies their clients
// do not take; a third client is still served each time the places fill again:
// a reply fallen behind counts as idle and makes room (the deadline is far off).
TEST_F(WebServerLoadTest, RepliesNobodyTakesDoNotLockOutAThirdClient)
{
    testsupport::writeAll(folder.root + QStringLiteral("/image.jpg"), QByteArray(4096, 'j'));
    testsupport::writeAll(folder.root + QStringLiteral("/big.bin"), {});
    ASSERT_TRUE(QFile::resize(folder.root + QStringLiteral("/big.bin"), qint64(20) << 20)); // sparse
    QByteArray pipelined;
    for (int i = 0; i < 1500; ++i) // replies far beyond what the socket buffers hold
        pipelined += get("/image.jpg");

    const struct { const char *what; QByteArray requests; bool trickle; } cases[] = {
        {"pipelined requests for a 4 KB image, never read", pipelined, false},
        {"a 20 MB file, never read", get("/big.bin"), false},
        {"a 20 MB file, read 256 bytes at a time", get("/big.bin"), true},
    };
    for (const auto &c : cases) {
        WebServerConfig cfg = farDeadlines();
        cfg.replyGraceMs = 600000;
        cfg.idleReplyMs = 300;
        start(cfg);
        ASSERT_EQ(cfg.effectivePerClientLimit(), 5);

        std::vector<std::unique_ptr<RawClient>> hogs;
        std::mutex hogsMutex;
        std::atomic<bool> done{false};
        std::thread trickle([&] {
            for (; !done && c.trickle; QThread::msleep(50)) {
                std::lock_guard lock(hogsMutex);
                for (auto &h : hogs)
                    h->readSome(256);
            }
        });
        for (int round = 0; round < 3; ++round) {
            for (int i = 0; i < 10; ++i) {
                std::lock_guard lock(hogsMutex);
                hogs.push_back(std::make_unique<RawClient>(port, 4096, 1, i % 2 ? "127.0.0.3" : "127.0.0.2"));
                hogs.back()->send(c.requests);
            }
            // Asked at once: it waits for a place until one of them falls behind.
            const webtest::HttpReply r = webtest::request(port, "/noise.jpg");
            EXPECT_EQ(r.status, 200) << c.what << ", round " << round;
            EXPECT_EQ(r.body, QByteArray("JPEGDATA")) << c.what << ", round " << round;
        }
        done = true;
        trickle.join();
        server.stop();
    }
}

// Nine places hold replies their clients keep taking; a client given the last
// place sends its request a round trip later, while a newcomer connects just
// after it or other addresses reconnect as soon as they are answered. It keeps
// its place and is answered; the others wait for a place.
TEST_F(WebServerLoadTest, AClientKeepsItsPlaceUntilItsFirstRequestArrives)
{
    testsupport::writeAll(folder.root + QStringLiteral("/big.bin"), {});
    ASSERT_TRUE(QFile::resize(folder.root + QStringLiteral("/big.bin"), qint64(64) << 20)); // sparse
    start({});
    ASSERT_EQ(WebServerConfig().maxUsers, 10);
    std::vector<std::unique_ptr<RawClient>> busy;
    for (int i = 0; i < 9; ++i) {
        busy.push_back(std::make_unique<RawClient>(port, 4096, 5, i % 2 ? "127.0.0.3" : "127.0.0.2"));
        busy.back()->send(get("/big.bin"));
    }
    std::jthread readers([&](std::stop_token stop) {
        for (; !stop.stop_requested(); QThread::msleep(20))
            for (auto &b : busy)
                b->readSome(16 * 1024); // well above the minimum rate
    });
    ASSERT_TRUE(testsupport::waitFor([] { return WebServing::count() == 9; }));

    const QByteArray once = "GET /noise.jpg HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
    const struct { const char *what; int delayMs; QList<const char *> reconnecting; const char *newcomer; } cases[] = {
        {"request 200 ms after connecting, one more client meanwhile", 200, {}, "127.0.0.4"},
        {"request 50 ms after connecting, two addresses reconnecting", 50, {"127.0.0.5", "127.0.0.6"}, nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::jthread> reconnecting;
        for (const char *from : c.reconnecting)
            reconnecting.emplace_back([&, from](std::stop_token stop) {
                while (!stop.stop_requested()) {
                    RawClient r(port, 0, 10, from);
                    r.send(once);
                    r.readToEnd();
                }
            });
        for (int attempt = 0; attempt < 5; ++attempt) {
            RawClient late(port, 0, 10);
            std::optional<RawClient> newcomer;
            if (c.newcomer)
                newcomer.emplace(port, 0, 10, c.newcomer).send(once);
            QThread::msleep(c.delayMs);
            late.send(once);
            const webtest::HttpReply r = webtest::parse(late.readToEnd());
            EXPECT_EQ(r.status, 200) << "attempt " << attempt;
            EXPECT_EQ(r.body, QByteArray("JPEGDATA")) << "attempt " << attempt;
            if (newcomer) {
                EXPECT_EQ(webtest::parse(newcomer->readToEnd()).status, 200) << "it waited for the place";
            }
        }
    }
}

// A reply whose client keeps taking it is never cut short, however long it
// runs past the grace: the rate is measured as it goes.
TEST_F(WebServerLoadTest, AReplyThatKeepsBeingTakenRunsToItsEnd)
{
    testsupport::writeAll(folder.root + QStringLiteral("/big.bin"), {});
    ASSERT_TRUE(QFile::resize(folder.root + QStringLiteral("/big.bin"), qint64(4) << 20)); // sparse
    WebServerConfig cfg = farDeadlines();
    cfg.replyGraceMs = 100; // the whole reply takes many times this
    cfg.idleReplyMs = 50;
    cfg.maxUsers = 1;
    start(cfg);

    RawClient reader(port, 0, 30);
    reader.send("GET /big.bin HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
    QByteArray head;
    qint64 received = 0;
    for (QByteArray part = reader.readSome(); !part.isEmpty(); part = reader.readSome()) {
        if (head.size() < 4096)
            head += part.left(4096);
        received += part.size();
        QThread::msleep(20);
    }
    EXPECT_FALSE(reader.lastReadTimedOut());
    const qsizetype body = head.indexOf("\r\n\r\n") + 4;
    ASSERT_GT(body, 4);
    EXPECT_EQ(received - body, qint64(4) << 20) << "the reply was cut short";
}

// At the limit, the connection that has waited longest for its next request
// makes room for a new client; the others are kept.
TEST_F(WebServerLoadTest, AtTheLimitTheLongestIdleConnectionMakesRoom)
{
    WebServerConfig cfg = farDeadlines();
    cfg.maxUsers = 2;
    cfg.perClientLimit = 2;
    start(cfg);
    RawClient first(port, 0, 30);
    RawClient second(port, 0, 30);
    for (RawClient *c : {&first, &second}) {
        c->send(get("/noise.jpg"));
        ASSERT_EQ(webtest::parse(c->readReply()).status, 200);
        // Done on the server's side too: the connection waits from now on.
        ASSERT_TRUE(testsupport::waitFor([] { return WebServing::count() == 0; }));
    }
    RawClient third(port, 0, 30);
    third.send(get("/noise.jpg"));
    EXPECT_EQ(webtest::parse(third.readReply()).status, 200);

    EXPECT_TRUE(first.readToEnd().isEmpty());
    EXPECT_FALSE(first.lastReadTimedOut()) << "the longest idle connection is closed";
    second.send(get("/page.htm"));
    EXPECT_EQ(webtest::parse(second.readReply()).status, 200) << "the other one is kept";
}

// Only GET and HEAD are served: a request that announces a body is answered
// at once and its connection closed, whatever the body does.
TEST_F(WebServerLoadTest, ABodyIsNeverWaitedFor)
{
    WebServerConfig cfg = farDeadlines();
    start(cfg);
    const struct {
        const char *what;
        QByteArray request;
        int status;
        QByteArray body;
    } cases[] = {
        {"GET with a long body to come",
         "GET /noise.jpg HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 1000000\r\n\r\nabc", 200, "JPEGDATA"},
        {"GET with a chunked body to come",
         "GET /noise.jpg HTTP/1.1\r\nHost: 127.0.0.1\r\nTransfer-Encoding: chunked\r\n\r\n10\r\nabc", 200,
         "JPEGDATA"},
        {"POST with a body to come", "POST /noise.jpg HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 500\r\n\r\n",
         501, WebRequestHandler::errorPage(501)},
        {"HEAD with a body to come", "HEAD /noise.jpg HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 9\r\n\r\n",
         200, ""},
    };
    for (const auto &c : cases) {
        RawClient client(port, 0, 30);
        client.send(c.request);
        const webtest::HttpReply r = webtest::parse(client.readReply());
        EXPECT_EQ(r.status, c.status) << c.what;
        EXPECT_EQ(r.body, c.body) << c.what;
        client.readToEnd();
        EXPECT_FALSE(client.lastReadTimedOut()) << c.what << ": the connection is closed, not left waiting";
    }
    // A body announced as empty is no body: the connection is kept.
    RawClient keep(port, 0, 30);
    keep.send("GET /noise.jpg HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 0\r\n\r\n");
    EXPECT_EQ(webtest::parse(keep.readReply()).status, 200);
    keep.send(get("/page.htm"));
    EXPECT_EQ(webtest::parse(keep.readReply()).status, 200);
}

// A reply the client stops reading has as long as its size allows at the
// minimum rate, then its place is taken back for the next client.
TEST_F(WebServerLoadTest, AnUnreadReplyIsGivenUpAtTheMinimumRate)
{
    QFile big(folder.root + QStringLiteral("/big.bin"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    big.resize(qint64(64) << 20); // sparse
    big.close();
    WebServerConfig cfg;
    cfg.maxUsers = 1;
    cfg.perClientLimit = 1;
    cfg.headDeadlineMs = 60000;
    cfg.connectionTimeoutSecs = 600;
    cfg.replyGraceMs = 200;
    cfg.minSendRate = 128 << 20; // the file's time is half a second
    start(cfg);

    RawClient reader(port, 4096, 30);
    reader.send(get("/big.bin"));
    reader.readSome(1024); // the reply has started; nothing more is read for now
    ASSERT_TRUE(testsupport::waitFor([] { return WebServing::count() == 1; }));
    EXPECT_TRUE(testsupport::waitFor([] { return WebServing::count() == 0; }, 20000))
        << "the reply was not given up";
    qint64 received = 1024;
    for (QByteArray part = reader.readSome(); !part.isEmpty(); part = reader.readSome())
        received += part.size();
    EXPECT_FALSE(reader.lastReadTimedOut());
    EXPECT_LT(received, qint64(64) << 20);
    EXPECT_EQ(webtest::request(port, "/noise.jpg").status, 200);
}

TEST_F(WebServerLoadTest, TheRequestHeadHasADeadlineThatTrickledBytesDoNotRenew)
{
    WebServerConfig cfg;
    cfg.headDeadlineMs = 1500;
    cfg.connectionTimeoutSecs = 60;
    start(cfg);

    struct Case {
        const char *what;
        QList<QByteArray> chunks; // sent 100 ms apart
        int status;               // 0: closed by the server without a reply
    };
    QList<QByteArray> endless{"GET /noise.jpg HTTP/1.1\r\n"};
    for (int i = 0; i < 60; ++i)
        endless << "X"; // a header that never ends, a byte at a time
    const Case cases[] = {
        {"a head that never ends", endless, 0},
        {"a head sent in pieces within the deadline", {"GET /noise", ".jpg HTTP/1.1\r\n", "\r\n"}, 200},
    };
    for (const Case &c : cases) {
        RawClient client(port, 0, 30);
        bool refused = false;
        for (const QByteArray &chunk : c.chunks) {
            if (!client.send(chunk)) {
                refused = true;
                break;
            }
            QThread::msleep(100);
        }
        const QByteArray reply = refused ? QByteArray() : client.readReply();
        EXPECT_EQ(webtest::parse(reply).status, c.status) << c.what;
        if (c.status == 0) {
            client.readToEnd();
            EXPECT_FALSE(client.lastReadTimedOut()) << c.what; // closed, not left hanging
        }
    }

    // A kept-alive connection that then says nothing is let go as well.
    RawClient idle(port, 0, 30);
    idle.send(get("/noise.jpg"));
    EXPECT_EQ(webtest::parse(idle.readReply()).status, 200);
    EXPECT_TRUE(idle.readToEnd().isEmpty());
    EXPECT_FALSE(idle.lastReadTimedOut());
}

TEST_F(WebServerLoadTest, NoConnectionIsTurnedAwayBelowTheLimit)
{
    WebServerConfig cfg;
    cfg.maxUsers = 8;
    cfg.perClientLimit = 8;
    start(cfg);
    // Eight clients, each with one kept-alive connection, many requests apiece.
    std::vector<std::thread> clients;
    std::atomic<int> answered{0};
    std::atomic<int> unanswered{0};
    for (int i = 0; i < 8; ++i)
        clients.emplace_back([&] {
            RawClient c(port);
            for (int n = 0; n < 50; ++n) {
                c.send(get("/noise.jpg"));
                (webtest::parse(c.readReply()).status == 200 ? answered : unanswered)++;
            }
        });
    for (std::thread &t : clients)
        t.join();
    EXPECT_EQ(answered.load(), 400);
    EXPECT_EQ(unanswered.load(), 0);
}

TEST_F(WebServerLoadTest, ABurstOfLoggedRequestsArrivesAsOneBatchInOrder)
{
    WebServerConfig cfg;
    cfg.batchIntervalMs = 600000; // only flushNow hands lines over
    start(cfg, true);
    std::vector<QStringList> batches;
    QObject::connect(&server, &WebServer::accessLogBatch, &server,
                     [&](const QList<AccessLogEntry> &entries) { batches.push_back(webtest::linesOf(entries)); });

    RawClient c(port);
    for (int i = 0; i < 300; ++i) {
        c.send(get(QByteArray("/noise.jpg?n=") + QByteArray::number(i)));
        ASSERT_EQ(webtest::parse(c.readReply()).status, 200) << i;
    }
    QCoreApplication::processEvents(); // the wake is one queued call, not one per line
    EXPECT_TRUE(batches.empty());
    server.flushNow();
    ASSERT_EQ(batches.size(), 1u);
    ASSERT_EQ(batches[0].size(), 300);
    for (int i = 0; i < 300; ++i)
        EXPECT_TRUE(batches[0][i].contains(QStringLiteral("Command GET /noise.jpg received from")))
            << batches[0][i].toStdString();
    server.flushNow();
    EXPECT_EQ(batches.size(), 1u); // nothing waits, nothing is sent
}

TEST_F(WebServerLoadTest, LinesBeyondTheBufferDropTheOldestAndRepeatedErrorsAreReportedOnce)
{
    WebServerConfig cfg;
    cfg.batchIntervalMs = 600000;
    cfg.accessLogCapacity = 10;
    start(cfg, true);
    QStringList lines;
    QStringList errors;
    QObject::connect(&server, &WebServer::accessLogBatch, &server,
                     [&](const QList<AccessLogEntry> &b) { lines << webtest::linesOf(b); });
    QObject::connect(&server, &WebServer::serverError, &server, [&](const QString &e) { errors << e; });

    RawClient c(port);
    for (int i = 0; i < 25; ++i) {
        c.send(get("/page.htm"));
        ASSERT_EQ(webtest::parse(c.readReply()).status, 200);
    }
    for (int i = 0; i < 5; ++i) {
        c.send(get("/noise.jpg"));
        ASSERT_EQ(webtest::parse(c.readReply()).status, 200);
    }
    QFile::remove(folder.root + QStringLiteral("/blocked.txt"));
    QDir().mkdir(folder.root + QStringLiteral("/blocked.txt"));
    WebServerSettings s = server.settings();
    s.useBlocked = true;
    server.setSettings(s);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(webtest::request(port, "/noise.jpg").status, 500);

    server.flushNow();
    ASSERT_EQ(lines.size(), 10);
    // The newest ten, oldest first: five page lines, then five image lines.
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(lines[i].contains(i < 5 ? QStringLiteral("/page.htm") : QStringLiteral("/noise.jpg")))
            << i << ' ' << lines[i].toStdString();
    EXPECT_EQ(errors.size(), 1);
}
