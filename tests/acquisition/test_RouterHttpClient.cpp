// The status-page fetch against a hostile web server at the router's address:
// each reply that once hung, exhausted memory or broke every later poll now
// fails its attempt with the client's reason, and the next poll works.
#include "FetchRecording.h"
#include "TestSupport.h"
#include "acquisition/StatusPageFetch.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <functional>
#include <gtest/gtest.h>

namespace {

// What the server sends for one request: fixed bytes, then optionally a
// filler byte streamed as fast as the client reads, until it hangs up.
struct Reply {
    QByteArray wire;
    char filler = 0;
    qint64 fillerBytes = 0;
    bool closeAfter = true;
};

class HostileServer : public QObject {
public:
    std::function<Reply(int index)> replyFor;
    QList<QByteArray> requests; // the request heads, in order
    qint64 streamed = 0;

    bool listen() { return m_server.listen(QHostAddress::LocalHost); }
    QString url() const { return QStringLiteral("http://127.0.0.1:%1/status.htm").arg(m_server.serverPort()); }

    HostileServer()
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *s = m_server.nextPendingConnection())
                serve(s);
        });
    }

private:
    void serve(QTcpSocket *s)
    {
        s->setParent(this);
        auto head = std::make_shared<QByteArray>();
        connect(s, &QTcpSocket::readyRead, s, [this, s, head] {
            if (head->endsWith("\r\n\r\n"))
                return;
            *head += s->readAll();
            if (!head->endsWith("\r\n\r\n"))
                return;
            requests << *head;
            const Reply r = replyFor(int(requests.size()) - 1);
            s->write(r.wire);
            if (r.fillerBytes > 0)
                stream(s, r);
            else if (r.closeAfter)
                s->disconnectFromHost();
        });
        connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
    }

    // Keeps a little in flight; what the client never reads is never made.
    void stream(QTcpSocket *s, const Reply &r)
    {
        auto left = std::make_shared<qint64>(r.fillerBytes);
        const QByteArray block(64 * 1024, r.filler);
        auto topUp = [this, s, left, block] {
            while (*left > 0 && s->bytesToWrite() < 4 * block.size()) {
                const QByteArray piece = block.left(qsizetype(qMin<qint64>(*left, block.size())));
                s->write(piece);
                *left -= piece.size();
                streamed += piece.size();
            }
        };
        connect(s, &QTcpSocket::bytesWritten, s, topUp);
        topUp();
    }

    QTcpServer m_server;
};

struct HostileFetchTest : ::testing::Test, FetchRecording {
    HostileServer server;
    RouterHttpClient client;
    StatusPageFetch fetch{client};

    void SetUp() override
    {
        ASSERT_TRUE(server.listen());
        record(fetch);
    }

    // One poll's fetch; false when it did not end.
    bool poll(int attempts)
    {
        StatusPageRequest r;
        r.url = server.url();
        r.attempts = attempts;
        r.login = false;
        r.transferTimeoutMs = 1000;
        messages.clear();
        done = false;
        fetch.start(r);
        return testsupport::waitFor([this] { return done; }, 20000);
    }
};

const QString kConnected1 = QStringLiteral("Failed to retrieve stats page (router connected but didn't respond  (1)).");
const QString kConnected2 = QStringLiteral("Failed to retrieve stats page (router connected but didn't respond (2)).");
const QByteArray kOk = "HTTP/1.1 200 OK\r\n";
const QByteArray kChunked = kOk + "Transfer-Encoding: chunked\r\n\r\n";
constexpr qint64 kGiB = 1024LL * 1024 * 1024;

} // namespace

TEST_F(HostileFetchTest, EachHostileReplyFailsItsAttemptsWithTheReasonAndTheNextPollWorks)
{
    const QString tooLarge = QStringLiteral("Reply larger than 8388608 bytes");
    const QString malformed = QStringLiteral("Malformed HTTP reply");
    struct Case {
        const char *name;
        Reply reply;
        QString reason;
    };
    const Case cases[] = {
        // 65 bytes that once spun the window thread for ever.
        {"chunk size near 2^63", {kChunked + "7ffffffffffffff0\r\n"}, tooLarge},
        // ... and with 100 more bytes, grew to many GB.
        {"chunk size near 2^63 and data", {kChunked + "7ffffffffffffff0\r\n" + QByteArray(100, 'x')}, tooLarge},
        {"chunk of 1 GiB, streamed", {kChunked + "40000000\r\n", 'x', kGiB}, tooLarge},
        {"chunk size beyond 64 bits", {kChunked + "10000000000000000000\r\n"}, tooLarge},
        {"negative chunk size", {kChunked + "-10\r\n"}, QStringLiteral("Malformed HTTP reply")},
        {"head lines ended by a bare CR", {"HTTP/1.1 200 OK\rContent-Length: 4\r\rpage"}, malformed},
        {"bare CR head, kept open", {"HTTP/1.1 200 OK\rContent-Length: 4\r\rpage", 0, 0, false}, malformed},
        {"Content-Length of 1 GiB, streamed", {kOk + "Content-Length: 1073741824\r\n\r\n", 'x', kGiB}, tooLarge},
        {"no length, streamed past the cap", {kOk + "\r\n", 'x', kGiB}, tooLarge},
        {"a head that never ends", {kOk + "X-Pad: ", 'h', kGiB}, QStringLiteral("Reply header too large")},
        {"interim replies for ever", {QByteArray("HTTP/1.1 100 Continue\r\n\r\n").repeated(5000)},
         QStringLiteral("Reply header too large")},
        {"silent after the head", {kChunked + "5\r\nhel", 0, 0, false}, QStringLiteral("Read timed out.")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        server.requests.clear();
        server.streamed = 0;
        server.replyFor = [&](int) { return c.reply; };
        ASSERT_TRUE(poll(2));
        EXPECT_TRUE(noAnswer);
        EXPECT_EQ(messages, QStringList({kConnected1 + QLatin1Char(' ') + c.reason,
                                         kConnected1 + QLatin1Char(' ') + c.reason, kConnected2}));
        EXPECT_EQ(server.requests.size(), 2);
        // A streamed reply is dropped near the cap, not read to its end.
        EXPECT_LT(server.streamed, 64LL * 1024 * 1024);

        // The next poll finds a sound router and gets its page.
        server.replyFor = [](int) { return Reply{kOk + "Content-Length: 4\r\n\r\npage"}; };
        ASSERT_TRUE(poll(2));
        EXPECT_FALSE(noAnswer);
        EXPECT_EQ(page, QByteArray("page"));
        EXPECT_TRUE(messages.isEmpty());
    }
}

// "100 Continue" (or any 1xx) before the real reply once failed every fetch.
TEST_F(HostileFetchTest, InterimRepliesBeforeThePageAreSkipped)
{
    server.replyFor = [](int) {
        return Reply{"HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 103 Early Hints\r\nLink: </a.css>\r\n\r\n" + kChunked
                     + "4\r\npage\r\n0\r\n\r\n"};
    };
    ASSERT_TRUE(poll(3));
    EXPECT_FALSE(noAnswer);
    EXPECT_EQ(page, QByteArray("page"));
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(server.requests.size(), 1);
}

// Small embedded web servers end their head's lines with LF alone; such a
// page was refused as "Connection closed gracefully.".
TEST_F(HostileFetchTest, PagesWhoseHeadEndsLinesWithBareLfAreRead)
{
    const Reply cases[] = {
        {"HTTP/1.0 200 OK\nContent-Type: text/html\nContent-Length: 4\n\npage"},
        {"HTTP/1.0 200 OK\nServer: micro\n\npage"},
        {"HTTP/1.1 200 OK\nTransfer-Encoding: chunked\r\n\n4\npage\n0\n\n"},
    };
    for (const Reply &reply : cases) {
        SCOPED_TRACE(reply.wire.toStdString());
        server.replyFor = [&](int) { return reply; };
        ASSERT_TRUE(poll(3));
        EXPECT_FALSE(noAnswer);
        EXPECT_EQ(page, QByteArray("page"));
        EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('|')).toStdString();
    }
}

// A router that names a new session cookie in every reply once grew our
// request head until it refused every poll; a refusal now also empties the jar.
TEST_F(HostileFetchTest, RouterCookiesStayBoundedAndARefusalDropsThem)
{
    auto cookieField = [](const QByteArray &request) {
        for (const QByteArray &line : request.split('\n')) {
            if (line.startsWith("Cookie: "))
                return line.mid(8).trimmed();
        }
        return QByteArray();
    };
    server.replyFor = [](int i) {
        return Reply{kOk + "Set-Cookie: session" + QByteArray::number(i) + '=' + QByteArray(40, 'a' + i % 26)
                     + "; Path=/\r\nContent-Length: 4\r\n\r\npage"};
    };
    for (int i = 0; i < 300; ++i)
        ASSERT_TRUE(poll(1));
    EXPECT_EQ(page, QByteArray("page"));
    const QByteArray last = cookieField(server.requests.last());
    EXPECT_LE(last.size(), RouterCookieJar::kMaxFieldBytes);
    EXPECT_TRUE(last.contains("session298="));
    EXPECT_FALSE(last.contains("session0="));
    EXPECT_LT(server.requests.last().size(), 8 * 1024);

    // Same name: replaced, not added.
    server.replyFor = [](int) { return Reply{kOk + "Set-Cookie: session298=new\r\nContent-Length: 1\r\n\r\nx"}; };
    ASSERT_TRUE(poll(1));
    ASSERT_TRUE(poll(1));
    EXPECT_EQ(cookieField(server.requests.last()).count("session298="), 1);
    EXPECT_TRUE(cookieField(server.requests.last()).contains("session298=new"));

    server.replyFor = [](int) { return Reply{"HTTP/1.1 403 Forbidden\r\nContent-Length: 0\r\n\r\n"}; };
    ASSERT_TRUE(poll(1));
    EXPECT_EQ(messages.value(0), kConnected1 + QStringLiteral(" HTTP/1.1 403 Forbidden"));
    server.replyFor = [](int) { return Reply{kOk + "Content-Length: 4\r\n\r\npage"}; };
    ASSERT_TRUE(poll(1));
    EXPECT_EQ(cookieField(server.requests.last()), QByteArray());
}
