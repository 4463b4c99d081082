#pragma once
// Helpers for the router simulator tests: raw and Qt HTTP fetches against a
// simulator on loopback, and the program's page searches written out again
// from its documented rules (1-based positions, "not found" is 0), as the
// yardstick for what the simulated pages must satisfy.
#include "RouterSim.h"
#include "TestSupport.h"

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTcpSocket>
#include <QUrl>
#include <cctype>
#include <gtest/gtest.h>
#include <memory>

namespace rstest {

// ---- 1-based text helpers -------------------------------------------------

inline int pos(const QByteArray &sub, const QByteArray &s)
{
    const qsizetype i = s.indexOf(sub);
    return i < 0 ? 0 : static_cast<int>(i) + 1;
}

inline QByteArray copy(const QByteArray &s, int index, int count)
{
    if (index < 1)
        index = 1;
    if (count <= 0 || index > s.size())
        return {};
    return s.mid(index - 1, count);
}

inline QByteArray copyFrom(const QByteArray &s, int index)
{
    return copy(s, index, static_cast<int>(s.size()));
}

inline int count(const QByteArray &sub, const QByteArray &s)
{
    return static_cast<int>(s.count(sub));
}

// First run of characters from `set` within the first `examine` characters.
inline QByteArray firstRun(const QByteArray &window, int examine, const QByteArray &set)
{
    const QByteArray w = window.left(examine);
    qsizetype i = 0;
    while (i < w.size() && !set.contains(w[i]))
        ++i;
    qsizetype j = i;
    while (j < w.size() && set.contains(w[j]))
        ++j;
    return w.mid(i, j - i);
}

inline const QByteArray kNumeric = "0123456789,-.";
inline const QByteArray kSyncSet = "0123456789,.";

// ---- DG834 label search ----------------------------------------------------

inline QByteArray dg834RxNoise(const QByteArray &page)
{
    return firstRun(copy(page, pos("Noise Margin", page) + 15, 90), 89, kNumeric);
}

inline QByteArray afterFirstTd(const QByteArray &w)
{
    return copyFrom(w, pos("</td>", w) + 5);
}

inline QByteArray dg834TxNoise(const QByteArray &page)
{
    const QByteArray w = afterFirstTd(copy(page, pos("Noise Margin", page) + 25, 160));
    return firstRun(w, static_cast<int>(w.size()) - 1, kNumeric);
}

inline QByteArray dg834RxSync(const QByteArray &page)
{
    return firstRun(copy(page, pos("Connection Speed", page) + 20, 80), 79, kSyncSet);
}

inline QByteArray dg834TxSync(const QByteArray &page)
{
    const QByteArray w = afterFirstTd(copy(page, pos("Connection Speed", page) + 25, 200));
    return firstRun(w, static_cast<int>(w.size()) - 1, kSyncSet);
}

inline QByteArray afterCellTag(const QByteArray &w)
{
    return copy(w, pos("ttext\">", w) + 7, 100);
}

inline QByteArray dg834AttenuationDown(const QByteArray &page)
{
    return firstRun(afterCellTag(copy(page, pos("Line Attenuation", page) + 16, 100)), 89, kNumeric);
}

inline QByteArray dg834AttenuationUp(const QByteArray &page)
{
    return firstRun(afterCellTag(afterCellTag(copy(page, pos("Line Attenuation", page) + 16, 200))), 89, kNumeric);
}

// The teaching page's "Test" reads the downstream values 50 past the label.
inline QByteArray teachTestDown(const QByteArray &page, const QByteArray &label, const QByteArray &set)
{
    return firstRun(copy(page, pos(label, page) + 50, 50), 49, set);
}

inline QByteArray teachTestUp(const QByteArray &page, const QByteArray &label, const QByteArray &set)
{
    const QByteArray w = afterFirstTd(copy(page, pos(label, page) + 50, 200));
    return firstRun(w, static_cast<int>(w.size()) - 1, set);
}

// ---- taught positions -------------------------------------------------------

// A standard figure found by its search text and position.
inline QByteArray positionSearch(const QByteArray &page, const QByteArray &text, int position, bool noise)
{
    const QByteArray window = copy(page, position, 75);
    const QByteArray field = copy(window, pos(text, window) + 10, 22);
    if (field.size() < 2)
        return {};
    qsizetype i = 0;
    while (i < field.size() && !(std::isdigit(static_cast<unsigned char>(field[i])) || (noise && field[i] == '-')))
        ++i;
    const QByteArray set = noise ? QByteArray("0123456789-.") : QByteArray("0123456789.,");
    qsizetype j = i;
    while (j < field.size() && set.contains(field[j]))
        ++j;
    return field.mid(i, j - i);
}

// A user-defined figure: digits, ':' and both separators after the first digit.
inline QByteArray userPositionSearch(const QByteArray &page, const QByteArray &text, int position)
{
    const QByteArray window = copy(page, position, 75);
    const QByteArray field = copy(window, pos(text, window) + 10, 22);
    qsizetype i = 0;
    while (i < field.size() && !std::isdigit(static_cast<unsigned char>(field[i])))
        ++i;
    qsizetype j = i;
    while (j < field.size() && QByteArray("0123456789:.,").contains(field[j]))
        ++j;
    return field.mid(i, j - i);
}

// The line uptime by text and position (v1234 and other routers).
inline QByteArray uptimeSearch(const QByteArray &page, const QByteArray &text, int position)
{
    const QByteArray w = copy(page, position, 75);
    const QByteArray f = copy(w, pos(text, w) + 10, 30);
    return firstRun(f, static_cast<int>(f.size()), "0123456789:");
}

// v5: seven hops past 'align="center"' from the first "WAN".
inline QByteArray v5Uptime(const QByteArray &page)
{
    QByteArray w = copy(page, pos("WAN", page), 600);
    for (int i = 0; i < 7; ++i)
        w = copyFrom(w, pos("align=\"center\"", w) + 18);
    const int gt = pos(">", w);
    const int lt = pos("<", w);
    return copy(w, gt + 1, lt - gt - 1);
}

// ---- SpeedTouch 585 ---------------------------------------------------------

inline QByteArray after(const QByteArray &w, const QByteArray &mark, int length)
{
    return copy(w, pos(mark, w) + 1, length);
}

inline QByteArray st585Window(const QByteArray &page, const QByteArray &label, int offset)
{
    return copy(page, pos(label, page) + offset, 50);
}

inline const QByteArray kSnLabel = "SN Margin (Up/Down) [dB]:";
inline const QByteArray kBwLabel = ">Bandwidth (Up/Down)";

inline QByteArray st585RxNoise(const QByteArray &p) { return firstRun(after(st585Window(p, kSnLabel, 30), "/", 10), 9, kNumeric); }
inline QByteArray st585TxNoise(const QByteArray &p) { return firstRun(after(st585Window(p, kSnLabel, 30), ">", 10), 9, kNumeric); }
inline QByteArray st585RxSync(const QByteArray &p) { return firstRun(after(st585Window(p, kBwLabel, 36), "/", 15), 14, kSyncSet); }
inline QByteArray st585TxSync(const QByteArray &p) { return firstRun(after(st585Window(p, kBwLabel, 40), ">", 10), 9, kNumeric); }
inline QByteArray st585AttUp(const QByteArray &p) { return firstRun(after(st585Window(p, "Line Attenuation", 40), ">", 10), 9, kNumeric); }
inline QByteArray st585AttDown(const QByteArray &p) { return firstRun(after(st585Window(p, "Line Attenuation", 43), "/", 15), 14, kNumeric); }

inline QByteArray st585Uptime(const QByteArray &page)
{
    const QByteArray w = copy(page, pos("Uptime:", page) + 27, 50);
    return copy(w, 2, pos("<", w) - 2);
}

struct UserPair {
    QByteArray first;
    QByteArray second;
};

// A user-defined figure of the 585 taught by its label.
inline UserPair st585User(const QByteArray &page, const QByteArray &label)
{
    QByteArray w = copy(page, pos(label, page) + static_cast<int>(label.size()), 120);
    w = copy(w, pos("'3'>", w) + 4, 50);
    UserPair r;
    if (label.contains("Loss of L")) {
        r.first = copy(w, 1, pos("<", w) - 1).trimmed();
        return r;
    }
    const int slash = pos("/", w);
    r.first = copy(w, 1, slash - 1).trimmed();
    const QByteArray rest = copy(w, slash + 1, 20);
    r.second = copy(rest, 1, pos("<", rest) - 1).trimmed();
    return r;
}

// ---- side pages -------------------------------------------------------------

inline QByteArray wanSearch(const QByteArray &page, const QByteArray &label, int offset)
{
    const QByteArray text = copy(page, pos(label, page) + static_cast<int>(label.size()) + offset, 40);
    if (text.size() <= 5)
        return {};
    return firstRun(text, static_cast<int>(text.size()), "0123456789.").trimmed();
}

inline QByteArray connectionState(const QByteArray &page)
{
    if (pos("NOWRAP>Connect", page) > 1)
        return "Connected";
    if (pos("NOWRAP>Disconnect", page) > 1)
        return "Disconnected";
    return "xxx";
}

inline QByteArray cutLog(const QByteArray &page, const QByteArray &startText, int offset, const QByteArray &endText)
{
    const int start = pos(startText, page) + offset;
    const int end = pos(endText, page);
    return copy(page, start, end - start);
}

// ---- HTTP -------------------------------------------------------------------

inline QByteArray basic(const QString &user, const QString &password)
{
    return "Basic " + (user + ':' + password).toLatin1().toBase64();
}

struct RawReply {
    QByteArray data;
    bool closed = false; // the server ended the connection
    QAbstractSocket::SocketError error = QAbstractSocket::UnknownSocketError;
    int status() const
    {
        if (!data.startsWith("HTTP/1."))
            return 0;
        return data.mid(9, 3).toInt();
    }
    QByteArray body() const
    {
        const qsizetype i = data.indexOf("\r\n\r\n");
        return i < 0 ? QByteArray() : data.mid(i + 4);
    }
    QByteArray header(const QByteArray &name) const
    {
        const QByteArray head = data.left(data.indexOf("\r\n\r\n")).toLower();
        const qsizetype i = head.indexOf("\r\n" + name.toLower() + ":");
        if (i < 0)
            return {};
        const qsizetype start = i + 2 + name.size() + 1;
        return data.mid(start, head.indexOf("\r\n", start) - start).trimmed();
    }
};

// Sends raw bytes and collects everything until the server closes (or the
// wait ends, leaving closed false).
inline RawReply rawExchange(quint16 port, const QByteArray &bytes, int waitMs = 5000)
{
    RawReply r;
    QTcpSocket s;
    s.connectToHost(QHostAddress::LocalHost, port);
    if (!testsupport::waitFor([&] { return s.state() == QAbstractSocket::ConnectedState
                                           || s.state() == QAbstractSocket::UnconnectedState; }, waitMs))
        return r;
    QObject::connect(&s, &QTcpSocket::errorOccurred, [&r](QAbstractSocket::SocketError e) { r.error = e; });
    s.write(bytes);
    r.closed = testsupport::waitFor([&] {
        r.data += s.readAll();
        return s.state() == QAbstractSocket::UnconnectedState;
    }, waitMs);
    r.data += s.readAll();
    return r;
}

inline RawReply rawGet(quint16 port, const QByteArray &target, const QByteArray &authorization = {})
{
    QByteArray req = "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n";
    if (!authorization.isEmpty())
        req += "Authorization: " + authorization + "\r\n";
    return rawExchange(port, req + "\r\n");
}

struct Fetched {
    bool finished = false;
    int status = 0;
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    QByteArray body;
};

// A GET the way the program makes it: Basic credentials sent up front.
inline Fetched qtGet(QNetworkAccessManager &nam, quint16 port, const QString &target, const QString &user,
                     const QString &password, int waitMs = 5000)
{
    QNetworkRequest req(QUrl(QString("http://127.0.0.1:%1%2").arg(port).arg(target)));
    req.setRawHeader("Authorization", basic(user, password));
    std::unique_ptr<QNetworkReply> reply(nam.get(req));
    Fetched f;
    f.finished = testsupport::waitFor([&] { return reply->isFinished(); }, waitMs);
    if (!f.finished) {
        reply->abort();
        f.error = reply->error();
        return f;
    }
    f.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    f.error = reply->error();
    f.body = reply->readAll();
    return f;
}

// A running simulator on 127.0.0.1 with free ports.
class SimFixture : public ::testing::Test
{
protected:
    void startSim(const QString &profile = "v1234", routersim::RouterSimOptions options = {})
    {
        options.profile = profile;
        QString error;
        ASSERT_TRUE(sim.start(options, &error)) << error.toStdString();
        port = sim.httpPort();
    }
    // The page exactly as served to the right credentials.
    QByteArray page(const QString &target)
    {
        const RawReply r = rawGet(port, target.toLatin1(), basic(sim.auth().user(), sim.auth().password()));
        EXPECT_EQ(200, r.status()) << target.toStdString();
        return r.body();
    }

    routersim::RouterSim sim;
    quint16 port = 0;
};

} // namespace rstest
