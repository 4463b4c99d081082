#pragma once
// A raw HTTP client for the web server tests (request targets are sent exactly
// as written, ".." and all) and a served folder with the awkward neighbours
// the server must keep away from: an outside file, links out of the folder,
// a sub-folder, the settings file, a temporary file and the blocked list.
#include "TestSupport.h"
#include "webserver/AccessLog.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace webtest {

struct HttpReply {
    int status = 0; // 0: the connection closed without a reply
    QMap<QByteArray, QByteArray> headers; // names in lower case
    QByteArray body;
};

// One client connection to 127.0.0.1, from another loopback address when
// sourceAddress names one. Every read gives up after readTimeoutSecs, so a
// server that never answers fails the test instead of hanging it.
class RawClient {
public:
    explicit RawClient(quint16 port, int receiveBuffer = 0, int readTimeoutSecs = 20, const char *sourceAddress = nullptr)
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        if (sourceAddress) {
            sockaddr_in from{};
            from.sin_family = AF_INET;
            ::inet_pton(AF_INET, sourceAddress, &from.sin_addr);
            ::bind(m_fd, reinterpret_cast<sockaddr *>(&from), sizeof from);
        }
        if (receiveBuffer > 0)
            ::setsockopt(m_fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        timeval tv{readTimeoutSecs, 0};
        ::setsockopt(m_fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        m_connected = ::connect(m_fd, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0;
    }
    ~RawClient() { close(); }
    RawClient(const RawClient &) = delete;
    RawClient &operator=(const RawClient &) = delete;

    bool connected() const { return m_connected; }
    quint16 localPort() const
    {
        sockaddr_in a{};
        socklen_t len = sizeof a;
        ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&a), &len);
        return ntohs(a.sin_port);
    }
    bool send(const QByteArray &bytes)
    {
        return ::send(m_fd, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL) == bytes.size();
    }
    // Up to max bytes; empty at the end of the stream or after the read time-out.
    QByteArray readSome(int max = 65536)
    {
        QByteArray buf(max, Qt::Uninitialized);
        const ssize_t n = ::recv(m_fd, buf.data(), size_t(max), 0);
        m_lastReadTimedOut = n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
        return n > 0 ? buf.left(n) : QByteArray();
    }
    bool lastReadTimedOut() const { return m_lastReadTimedOut; }
    // One reply of a kept-alive connection: its head and Content-Length bytes.
    QByteArray readReply()
    {
        QByteArray got;
        qsizetype end = -1;
        while ((end = got.indexOf("\r\n\r\n")) < 0) {
            const QByteArray part = readSome();
            if (part.isEmpty())
                return got;
            got += part;
        }
        qsizetype length = 0;
        for (const QByteArray &line : got.left(end).split('\n'))
            if (line.toLower().startsWith("content-length:"))
                length = line.mid(15).trimmed().toLongLong();
        while (got.size() < end + 4 + length) {
            const QByteArray part = readSome(int(end + 4 + length - got.size()));
            if (part.isEmpty())
                break;
            got += part;
        }
        return got;
    }
    QByteArray readToEnd()
    {
        QByteArray all;
        for (QByteArray part = readSome(); !part.isEmpty(); part = readSome())
            all += part;
        return all;
    }
    void close()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd = -1;
    bool m_connected = false;
    bool m_lastReadTimedOut = false;
};

inline HttpReply parse(const QByteArray &raw)
{
    HttpReply r;
    const qsizetype end = raw.indexOf("\r\n\r\n");
    if (!raw.startsWith("HTTP/") || end < 0)
        return r;
    const QList<QByteArray> lines = raw.left(end).split('\n');
    r.status = lines.first().split(' ').value(1).toInt();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0)
            r.headers.insert(lines[i].left(colon).trimmed().toLower(), lines[i].mid(colon + 1).trimmed());
    }
    r.body = raw.mid(end + 4);
    return r;
}

// One request on its own connection; the target goes out exactly as given.
inline HttpReply request(quint16 port, const QByteArray &target, const QByteArray &extraHeaders = {},
                         const QByteArray &method = "GET")
{
    RawClient c(port);
    if (!c.connected())
        return {};
    c.send(method + ' ' + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n" + extraHeaders + "\r\n");
    return parse(c.readToEnd());
}

inline QByteArray basicAuth(const QByteArray &user, const QByteArray &password)
{
    return "Authorization: Basic " + (user + ':' + password).toBase64() + "\r\n";
}

// base/outside.txt, base/web/{page.htm, noise.jpg, sub/inner.jpg, links...}
struct WebFolder {
    QTemporaryDir base;
    QString root;     // base/web, canonical
    QString page;     // the page file; its folder is the root
    QString settings; // a settings file inside the root

    WebFolder()
    {
        const QString b = QDir(base.path()).canonicalPath();
        root = b + QStringLiteral("/web");
        QDir().mkpath(root + QStringLiteral("/sub"));
        page = root + QStringLiteral("/page.htm");
        settings = root + QStringLiteral("/veltrano.ini");
        testsupport::writeAll(b + QStringLiteral("/outside.txt"), "outside secret");
        testsupport::writeAll(page, "<html>page</html>");
        testsupport::writeAll(root + QStringLiteral("/noise.jpg"), "JPEGDATA");
        testsupport::writeAll(root + QStringLiteral("/Noise.JPG"), "UPPER");
        testsupport::writeAll(root + QStringLiteral("/sub/inner.jpg"), "INNER");
        testsupport::writeAll(root + QStringLiteral("/chart.tmp"), "half written");
        testsupport::writeAll(root + QStringLiteral("/blocked.txt"), "10.9.9.9\n");
        testsupport::writeAll(settings, "[WebServer]\nWebPassword=scrambled\n");
        testsupport::writeAll(settings + QStringLiteral(".Xy12ab"), "[WebServer]\n");
        link(QStringLiteral("../outside.txt"), QStringLiteral("link-file"));
        link(b, QStringLiteral("link-out"));
        link(QStringLiteral("noise.jpg"), QStringLiteral("link-in"));
        link(QStringLiteral("sub"), QStringLiteral("link-sub"));
        link(QStringLiteral("/nonexistent-veltrano/x.jpg"), QStringLiteral("dangling-out"));
        link(QStringLiteral("missing.jpg"), QStringLiteral("dangling-in"));
        link(QStringLiteral("../web/noise.jpg"), QStringLiteral("round-trip"));
        link(QStringLiteral("loop-b"), QStringLiteral("loop-a"));
        link(QStringLiteral("loop-a"), QStringLiteral("loop-b"));
    }
    QString outside() const { return QFileInfo(root).path() + QStringLiteral("/outside.txt"); }

private:
    void link(const QString &target, const QString &name)
    {
        ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(root + QLatin1Char('/') + name).constData());
    }
};

// The lines of a batch of access-log entries.
inline QStringList linesOf(const QList<AccessLogEntry> &entries)
{
    QStringList lines;
    for (const AccessLogEntry &e : entries)
        lines << e.line;
    return lines;
}

} // namespace webtest
