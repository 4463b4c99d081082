// Router replies read byte by byte and in one piece: what each shape of reply
// gives, and that hostile sizes fail at once, within the bounds, instead of
// wrapping or being buffered.
#include "acquisition/HttpReplyReader.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

using State = HttpReplyReader::State;

const QString kMalformed = QStringLiteral("Malformed HTTP reply");
const QString kTooLarge = QStringLiteral("Reply larger than 8388608 bytes");

struct ReplyCase {
    const char *name;
    QByteArray wire;
    bool closeAfter; // the connection ends after the bytes
    State state;
    int status;
    QByteArray body;
    QString error;
};

// The same reply fed whole and one byte at a time must read the same.
std::vector<HttpReplyReader> readBothWays(const ReplyCase &c)
{
    std::vector<HttpReplyReader> readers(2);
    readers[0].feed(c.wire);
    for (char b : c.wire)
        readers[1].feed(QByteArrayView(&b, 1));
    for (auto &r : readers) {
        if (c.closeAfter)
            r.close();
    }
    return readers;
}

} // namespace

TEST(HttpReplyReader, EachShapeOfReplyReadsTheSameWholeOrByteByByte)
{
    const QByteArray ok = "HTTP/1.1 200 OK\r\n";
    const ReplyCase cases[] = {
        {"length", ok + "Content-Length: 5\r\n\r\nhello", false, State::Done, 200, "hello", {}},
        {"length, extra bytes ignored", ok + "Content-Length: 2\r\n\r\nhello", false, State::Done, 200, "he", {}},
        {"until close", ok + "\r\nhello", true, State::Done, 200, "hello", {}},
        {"until close, not closed yet", ok + "\r\nhello", false, State::Reading, 200, "hello", {}},
        {"chunked", ok + "Transfer-Encoding: chunked\r\n\r\n5;x=y\r\nhello\r\n6\r\n world\r\n0\r\n\r\n", false,
         State::Done, 200, "hello world", {}},
        {"chunked, bare LF lines", ok + "Transfer-Encoding: chunked\r\n\r\n5\nhello\n0\n", false, State::Done, 200,
         "hello", {}},
        {"chunked wins over a length", ok + "Content-Length: 99\r\nTransfer-Encoding: gzip, Chunked\r\n\r\n2\r\nhi\r\n0\r\n",
         false, State::Done, 200, "hi", {}},
        {"interim replies skipped",
         "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 102 Processing\r\nX: y\r\n\r\n\r\n" + ok + "Content-Length: 2\r\n\r\nok",
         false, State::Done, 200, "ok", {}},
        {"no body for 204", "HTTP/1.1 204 No Content\r\n\r\n", false, State::Done, 204, "", {}},
        {"error status with a body", "HTTP/1.0 500 Internal Server Error\r\nContent-Length: 4\r\n\r\noops", false,
         State::Done, 500, "oops", {}},
        {"closed before anything", "", true, State::Failed, 0, "", QStringLiteral("Connection closed gracefully.")},
        {"closed inside a length body", ok + "Content-Length: 9\r\n\r\nhello", true, State::Failed, 200, "",
         QStringLiteral("Connection closed before the reply was complete")},
        {"closed inside a chunk", ok + "Transfer-Encoding: chunked\r\n\r\n9\r\nhello", true, State::Failed, 200, "",
         QStringLiteral("Connection closed before the reply was complete")},
        {"not HTTP", "SSH-2.0-OpenSSH\r\n\r\n", false, State::Failed, 0, "", kMalformed},
        {"status not three digits", "HTTP/1.1 20 OK\r\n\r\n", false, State::Failed, 0, "", kMalformed},
        {"negative length", ok + "Content-Length: -1\r\n\r\n", false, State::Failed, 0, "", kMalformed},
        {"two lengths", ok + "Content-Length: 1\r\nContent-Length: 2\r\n\r\nab", false, State::Failed, 0, "", kMalformed},
        {"length beyond the allowance", ok + "Content-Length: 1073741824\r\n\r\n", false, State::Failed, 200, "",
         kTooLarge},
        {"length beyond 64 bits", ok + "Content-Length: 99999999999999999999999\r\n\r\n", false, State::Failed, 200, "",
         kTooLarge},
        // A size near 2^63 once wrapped the arithmetic and looped for ever.
        {"chunk size near 2^63", ok + "Transfer-Encoding: chunked\r\n\r\n7fffffffffffffff\r\n", false, State::Failed,
         200, "", kTooLarge},
        {"chunk size beyond 64 bits", ok + "Transfer-Encoding: chunked\r\n\r\nfffffffffffffffffffffff\r\nabc", false,
         State::Failed, 200, "", kTooLarge},
        {"chunk of 1 GiB", ok + "Transfer-Encoding: chunked\r\n\r\n40000000\r\nabc", false, State::Failed, 200, "",
         kTooLarge},
        {"negative chunk size", ok + "Transfer-Encoding: chunked\r\n\r\n-5\r\nhello", false, State::Failed, 200, "",
         kMalformed},
        {"unparsable chunk size", ok + "Transfer-Encoding: chunked\r\n\r\n0x10\r\n", false, State::Failed, 200, "",
         kMalformed},
        {"empty chunk size", ok + "Transfer-Encoding: chunked\r\n\r\n\r\n", false, State::Failed, 200, "", kMalformed},
        {"chunk without its line end", ok + "Transfer-Encoding: chunked\r\n\r\n2\r\nhiX\r\n0\r\n", false,
         State::Failed, 200, "", kMalformed},
        {"endless chunk-size line", ok + "Transfer-Encoding: chunked\r\n\r\n1" + QByteArray(2000, ' '), false,
         State::Failed, 200, "", kMalformed},
    };
    for (const ReplyCase &c : cases) {
        SCOPED_TRACE(c.name);
        for (const HttpReplyReader &r : readBothWays(c)) {
            EXPECT_EQ(r.state(), c.state);
            EXPECT_EQ(r.headDone() ? r.head().status : 0, c.status);
            EXPECT_EQ(r.body(), c.body);
            EXPECT_EQ(r.error(), c.error);
        }
    }
}

// Whatever arrives, the reader never holds more than its bounds, and a reply
// that crosses one fails on the byte that crosses it.
TEST(HttpReplyReader, BytesCountAgainstTheBoundsAsTheyArrive)
{
    constexpr qint64 kBody = 1000;
    constexpr qint64 kHead = 200;
    struct Case {
        const char *name;
        QByteArray head;
        char filler;
        QString error;
    };
    const Case cases[] = {
        {"no length", "HTTP/1.1 200 OK\r\n\r\n", 'x', QStringLiteral("Reply larger than 1000 bytes")},
        {"chunk as large as allowed, then more", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3e8\r\n", 'x',
         kMalformed},
        {"a head without an end", "HTTP/1.1 200 OK\r\n", 'h', QStringLiteral("Reply header too large")},
        {"interim replies for ever", "", 'c', QStringLiteral("Reply header too large")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        HttpReplyReader r(kBody, kHead);
        r.feed(c.head);
        const QByteArray block = c.filler == 'c' ? QByteArray("HTTP/1.1 100 Continue\r\n\r\n") : QByteArray(7, c.filler);
        qint64 fed = 0;
        while (r.state() == State::Reading && fed < 100 * kBody) {
            r.feed(block);
            fed += block.size();
            EXPECT_LE(r.bufferedBytes(), kBody + kHead);
        }
        EXPECT_EQ(r.state(), State::Failed);
        EXPECT_EQ(r.error(), c.error);
        EXPECT_LE(fed, kBody + kHead + block.size());
    }
}

TEST(HttpReplyReader, ChunkSizesAreReadWithoutOverflow)
{
    using CS = HttpReplyReader::ChunkSize;
    constexpr qint64 kMax = std::numeric_limits<qint64>::max();
    struct Case {
        const char *line;
        qint64 limit;
        CS result;
        qint64 size;
    };
    const Case cases[] = {
        {"0", 0, CS::Ok, 0},
        {"1A", 26, CS::Ok, 26},
        {"1a", 25, CS::TooLarge, 0},
        {" 10 ;name=\"v\"", 100, CS::Ok, 16},
        {"7fffffffffffffff", kMax, CS::Ok, kMax},
        {"8000000000000000", kMax, CS::TooLarge, 0},
        {"7fffffffffffffff", kMax - 1, CS::TooLarge, 0},
        {"000000000000000000000000001", 1, CS::Ok, 1},
        {"f", 0, CS::TooLarge, 0},
        {"", 100, CS::Malformed, 0},
        {"-1", 100, CS::Malformed, 0},
        {"+1", 100, CS::Malformed, 0},
        {"1 2", 100, CS::Malformed, 0},
        {"fffffffffffffffffffffz", kMax, CS::Malformed, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        qint64 size = 0;
        EXPECT_EQ(HttpReplyReader::parseChunkSize(c.line, c.limit, &size), c.result);
        EXPECT_EQ(size, c.size);
    }
}

TEST(HttpReplyReader, TheHeadGivesStatusReasonLengthAndCookies)
{
    const auto h = HttpReplyReader::parseHead("HTTP/1.1 401 Unauthorized\r\nset-cookie: a=1; Path=/\r\n"
                                              "CONTENT-LENGTH: 12\r\nSet-Cookie: b=2\r\nno colon here\r\n");
    ASSERT_TRUE(h);
    EXPECT_EQ(h->status, 401);
    EXPECT_EQ(h->reason, QStringLiteral("Unauthorized"));
    EXPECT_EQ(h->contentLength, 12);
    EXPECT_FALSE(h->chunked);
    EXPECT_EQ(h->setCookies, (QList<QByteArray>{"a=1; Path=/", "b=2"}));

    // The reason reaches a message pane: control bytes escaped, length bounded.
    const auto hostile = HttpReplyReader::parseHead("HTTP/1.1 500 \x1b[2J\x7f\xe9" + QByteArray(500, 'x'));
    ASSERT_TRUE(hostile);
    EXPECT_TRUE(hostile->reason.startsWith(QString::fromUtf8("\\x1B[2J\\x7F\u00E9xxx")));
    EXPECT_EQ(hostile->reason.size(), HttpReplyReader::kMaxReasonChars + 6); // two controls written as four

}
