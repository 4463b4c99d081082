// Whatever a router sends over telnet, the program stays bounded: the
// protocol layer's answers and text, the terminal's lines and characters,
// the socket's buffers and the batches handled per event-loop turn, and the
// SpeedTouch session's unclaimed text. Crossing a bound drops the session
// with a message; timers keep firing through a flood.
#include "HostileTelnetServer.h"
#include "TelnetParserFixture.h"
#include "TestSupport.h"
#include "acquisition/RouterHttpClient.h"
#include "acquisition/TelnetClient.h"
#include "acquisition/TelnetReceiver.h"
#include "acquisition/TelnetSession.h"
#include "acquisition/ThomsonSession.h"

#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

constexpr int IAC = 255, DONT = 254, DO = 253, WONT = 252, WILL = 251, SB = 250, SE = 240;
constexpr int ECHO_ = 1, TTYPE = 24, COMPRESS2 = 86;

QByteArray repeated(const QByteArray &piece, int times)
{
    QByteArray out;
    out.reserve(piece.size() * times);
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

// A zlib stream as a router would start it after asking for compression.
QByteArray compressed(const QByteArray &plain)
{
    return qCompress(plain, 9).mid(4); // qCompress puts the length in front
}

// ---- the protocol layer -------------------------------------------------------------

struct ProtocolCase {
    const char *name;
    QByteArray in;
    QByteArray text;
    QByteArray out;
    bool fails;
};

class ReceiverCases : public ::testing::TestWithParam<ProtocolCase> {};

TEST_P(ReceiverCases, TextAnswersAndFailure)
{
    const ProtocolCase &c = GetParam();
    TelnetReceiver r;
    const QString text = r.receive(c.in);
    EXPECT_TRUE(QString::fromLatin1(c.text) == text) << text.left(80).toStdString();
    EXPECT_EQ(c.out, r.takeOutgoing());
    EXPECT_EQ(c.fails, !r.failure().isEmpty()) << r.failure().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Telnet, ReceiverCases,
    ::testing::Values(
        ProtocolCase{"PlainText", "abc\r\n# ", "abc\r\n# ", {}, false},
        ProtocolCase{"DoubledIacIsOneByte", "a" + bytes({IAC, IAC}) + "b", "a\xff" "b", {}, false},
        ProtocolCase{"RouterMayEcho", bytes({IAC, WILL, ECHO_}), {}, bytes({IAC, DO, ECHO_}), false},
        ProtocolCase{"TerminalTypeIsDumb", bytes({IAC, DO, TTYPE, IAC, SB, TTYPE, 1, IAC, SE}), {},
                     bytes({IAC, WILL, TTYPE, IAC, SB, TTYPE, 0}) + "dumb" + bytes({IAC, SE}), false},
        ProtocolCase{"UnknownOptionRefused", bytes({IAC, DO, 99}) + "x", "x", bytes({IAC, WONT, 99}), false},
        // One answer per request, never more than came in.
        ProtocolCase{"NegotiationFloodAnsweredOneForOne", repeated(bytes({IAC, DO, 99}), 5000), {},
                     repeated(bytes({IAC, WONT, 99}), 5000), false},
        ProtocolCase{"UnaskedCompressionFails",
                     bytes({IAC, SB, COMPRESS2, IAC, SE}) + QByteArray("this is no zlib stream at all"), {},
                     {}, true}),
    [](const ::testing::TestParamInfo<ProtocolCase> &info) { return std::string(info.param.name); });

TEST(TelnetReceiver, CompressedRequestsAreNeitherShownNorAnswered)
{
    // A few kilobytes that would expand into megabytes of text and requests.
    TelnetReceiver r;
    const QByteArray plain = repeated("text" + bytes({IAC, DO, 99, IAC, SB, TTYPE, 1, IAC, SE}), 1 << 18);
    const QByteArray bomb = compressed(plain);
    ASSERT_LT(bomb.size(), 64 * 1024);
    EXPECT_EQ(QStringLiteral("ok"), r.receive("ok" + bytes({IAC, SB, COMPRESS2, IAC, SE}) + bomb));
    EXPECT_TRUE(r.takeOutgoing().isEmpty());
    EXPECT_EQ(QStringLiteral("the router compressed its output unasked"), r.failure());
    // Nothing more is taken once it failed.
    EXPECT_TRUE(r.receive(QByteArray("more")).isEmpty());
}

// ---- the terminal --------------------------------------------------------------------

TEST(TerminalBounds, ALineWithoutEndIsCutAndReported)
{
    TerminalBuffer b;
    const QString shown = b.append(QString(TerminalBuffer::kMaxLineChars - 10, QLatin1Char('x')))
                          + b.append(QString(100, QLatin1Char('y')));
    EXPECT_EQ(TerminalBuffer::kMaxLineChars, b.lastLine().size());
    EXPECT_EQ(TerminalBuffer::kMaxLineChars, shown.size());
    EXPECT_TRUE(b.lineTooLong());
    // A line end starts afresh.
    b.append(QStringLiteral("yy\r\n# "));
    EXPECT_FALSE(b.lineTooLong());
    EXPECT_EQ(QStringLiteral("# "), b.lastLine());
    b.append(QString(TerminalBuffer::kMaxLineChars + 1, QLatin1Char('q')));
    EXPECT_TRUE(b.lineTooLong());
    b.clear();
    EXPECT_FALSE(b.lineTooLong());
    EXPECT_EQ(0, b.charCount());
}

TEST(TerminalBounds, LongLinesAreCappedByCharactersNewestKept)
{
    TerminalBuffer b;
    const QString line(TerminalBuffer::kMaxLineChars - 1, QLatin1Char('l'));
    for (int i = 0; i < 100; ++i) {
        b.append(line + QStringLiteral("\r\n"));
        ASSERT_LE(b.charCount(), TerminalBuffer::kMaxChars);
    }
    b.append(QStringLiteral("# "));
    EXPECT_LE(b.text().size(), TerminalBuffer::kMaxChars + 2 * b.lineCount());
    EXPECT_GT(b.droppedLines(), 0);
    EXPECT_EQ(QStringLiteral("# "), b.lastLine());
    EXPECT_EQ(line, b.text().section(QStringLiteral("\r\n"), -2, -2));
    // The count follows the text exactly.
    EXPECT_EQ(b.text().size() - 2 * (b.lineCount() - 1), b.charCount());
}

// ---- the client against hostile routers ---------------------------------------------

struct ClientRun {
    TelnetClient client;
    QStringList dropped;
    qint64 unsentAtDrop = -1;
    qint64 received = 0;
    qsizetype largestChunk = 0;
    qint64 largestPending = 0;
    bool disconnected = false;
    bool receivedAfterDisconnect = false;

    explicit ClientRun(quint16 port)
    {
        QObject::connect(&client, &TelnetClient::dropped, [this](const QString &why) {
            dropped << why;
            unsentAtDrop = client.unsentBytes();
        });
        QObject::connect(&client, &TelnetClient::dataReceived, [this](const QString &text) {
            receivedAfterDisconnect |= disconnected;
            received += text.size();
            largestChunk = std::max(largestChunk, text.size());
            largestPending = std::max(largestPending, client.pendingBytes());
        });
        QObject::connect(&client, &TelnetClient::disconnected, [this] { disconnected = true; });
        client.connectToHost(QStringLiteral("127.0.0.1"), port, 5000);
    }
};

TEST(TelnetClientBounds, ARouterThatDoesNotReadIsDropped)
{
    // Requests to refuse, as fast as the network takes them; the answers pile up.
    telnettest::HostileTelnetServer server({{}, repeated(bytes({IAC, DO, 99}), 4096), 512 * 1024 * 1024, false});
    ClientRun run(server.port());
    ASSERT_TRUE(testsupport::waitFor([&] { return run.disconnected; }, 60000));
    EXPECT_EQ(QStringList{QStringLiteral("Session dropped: the router does not read what is sent.")}, run.dropped);
    EXPECT_GT(run.unsentAtDrop, TelnetClient::kMaxUnsentBytes);
    // One batch's answers at most, and the answer to a command split across two batches.
    EXPECT_LE(run.unsentAtDrop, TelnetClient::kMaxUnsentBytes + TelnetClient::kReadBatchBytes + 3);
    EXPECT_FALSE(run.client.isConnected());
}

TEST(TelnetClientBounds, AFloodIsReadInBatchesWhileTimersFire)
{
    telnettest::HostileTelnetServer server({{}, repeated("0123456789abcdef0123456789abcdef\r\n", 2000), 0, true});
    ClientRun run(server.port());
    int ticks = 0;
    qint64 receivedAtFirstTick = -1;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (++ticks == 1)
            receivedAtFirstTick = run.received;
        run.largestPending = std::max(run.largestPending, run.client.pendingBytes());
    });
    poll.start(5);
    // The stream never ends: the timer only gets its turns if the reading yields.
    ASSERT_TRUE(testsupport::waitFor([&] { return ticks >= 20 && run.received > receivedAtFirstTick + 1000000; },
                                     60000))
        << ticks << " ticks, " << run.received << " bytes";
    EXPECT_TRUE(run.client.isConnected());
    EXPECT_TRUE(run.dropped.isEmpty());
    EXPECT_LE(run.largestChunk, TelnetClient::kReadBatchBytes);
    EXPECT_LE(run.largestPending, TelnetClient::kSocketBufferBytes);
}

TEST(TelnetClientBounds, WhatCameBeforeTheRouterClosedIsHandedOnWhole)
{
    const qint64 total = 4 * TelnetClient::kSocketBufferBytes + 123;
    telnettest::HostileTelnetServer server({{}, "line of text\r\n", total, true});
    ClientRun run(server.port());
    ASSERT_TRUE(testsupport::waitFor([&] { return run.disconnected; }, 30000));
    EXPECT_EQ(total, run.received);
    EXPECT_FALSE(run.receivedAfterDisconnect);
    EXPECT_TRUE(run.dropped.isEmpty());
}

TEST(TelnetClientBounds, UnaskedCompressionDropsTheSession)
{
    telnettest::HostileTelnetServer server(
        {"text " + bytes({IAC, SB, COMPRESS2, IAC, SE}) + compressed(QByteArray(1 << 24, 'a')), "more", 64 * 1024,
         true});
    ClientRun run(server.port());
    ASSERT_TRUE(testsupport::waitFor([&] { return run.disconnected; }, 30000));
    EXPECT_EQ(QStringList{QStringLiteral("Session dropped: the router compressed its output unasked.")}, run.dropped);
    EXPECT_EQ(5, run.received); // what came before
}

// ---- the sessions ---------------------------------------------------------------------

TEST(TelnetSessionBounds, ALineWithoutEndDropsTheSessionWithAMessage)
{
    telnettest::HostileTelnetServer server({QByteArray("login: "), QByteArray(4096, 'x'), 0, true});
    TSettings settings = telnettest::defaultSettings();
    settings.Router.Telnet = true;
    settings.Telnet.LoginTelnet = true; // straight to the telnet port, no debug page
    settings.Telnet.UseHttpDebug = false;
    settings.Telnet.WaitForPassword = false;
    settings.Telnet.DGTeamTimeout = 5;
    settings.Telnet.TelnetIP = QStringLiteral("127.0.0.1");
    settings.Telnet.TelnetPort = server.port();
    RouterHttpClient http;
    TelnetSession session(settings, http);
    QStringList messages;
    QList<bool> connection;
    QObject::connect(&session, &TelnetSession::systemMessage, [&](const QString &m) { messages << m; });
    QObject::connect(&session, &TelnetSession::connectionChanged, [&](bool up) { connection << up; });
    session.btnConnectClick(TelnetSender::ConnectButton);
    ASSERT_TRUE(testsupport::waitFor([&] { return connection.contains(false); }, 30000)) << messages.join(QLatin1Char(10)).toStdString();
    EXPECT_TRUE(messages.contains(QStringLiteral("Telnet: Session dropped: a line longer than 65536 characters.")))
        << messages.join('\n').toStdString();
    EXPECT_FALSE(session.isConnected());
    EXPECT_LE(session.terminal().lastLine().size(), TerminalBuffer::kMaxLineChars);
    EXPECT_LE(session.terminal().charCount(), TerminalBuffer::kMaxChars);
}

TEST(ThomsonSessionBounds, UnclaimedTextDropsTheSessionWithAMessage)
{
    telnettest::HostileTelnetServer server({{}, QByteArray(4096, 'y'), 0, true});
    TSettings settings = telnettest::defaultSettings();
    settings.Router.ST585 = true;
    settings.Router.Login = QStringLiteral("http://127.0.0.1/cgi/b/dsl/dt/?be=0&l0=1&l1=0");
    settings._585Telnet.TelnetPort = QString::number(server.port());
    TelnetFigures figures;
    ThomsonSession session(settings, figures);
    session.setTimeoutMs(60000); // the bound, not the wait, must end this
    QStringList messages;
    int failed = 0;
    qsizetype largestBuffer = 0;
    QObject::connect(&session, &ThomsonSession::systemMessage, [&](const QString &m) {
        messages << m;
        largestBuffer = std::max(largestBuffer, session.bufferedChars());
    });
    QObject::connect(&session, &ThomsonSession::refreshFailed, [&] { ++failed; });
    ASSERT_TRUE(session.ThomsonBitloading());
    ASSERT_TRUE(testsupport::waitFor([&] { return failed > 0; }, 30000)) << messages.join('\n').toStdString();
    EXPECT_TRUE(messages.contains(
        QStringLiteral("ST585 Session dropped: more than 262144 characters without the awaited reply.")))
        << messages.join('\n').toStdString();
    EXPECT_FALSE(session.ThomsonSessionUp());
    EXPECT_LE(largestBuffer, ThomsonSession::kMaxBufferChars);
}

} // namespace
