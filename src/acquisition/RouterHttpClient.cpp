#include "acquisition/RouterHttpClient.h"

#include <QTcpSocket>
#include <QTimer>

// A small HTTP/1.1 GET client over its own socket per request. Owning the
// socket is what makes one attempt exactly one request (a general-purpose
// client quietly resends after a dropped connection) and lets "connected"
// mean what the user expects: the router accepted the TCP connection.

namespace {

// A router page is a few kilobytes; anything far bigger is not a status page.
constexpr qsizetype kMaxBodyBytes = 8 * 1024 * 1024;
constexpr qsizetype kMaxHeaderBytes = 64 * 1024;

} // namespace

struct RouterHttpClient::Pending {
    QTcpSocket socket;
    QTimer connectTimer;
    QTimer transferTimer;
    Done done;
    QString host;
    QByteArray request;
    QByteArray buffer;
    bool connected = false;
    bool timedOut = false;
    bool headerDone = false;
    int status = 0;
    QString reason;
    bool chunked = false;
    qint64 contentLength = -1;
    QByteArray body;
    bool finished = false;
};

RouterHttpClient::RouterHttpClient(QObject *parent) : QObject(parent) {}

RouterHttpClient::~RouterHttpClient()
{
    // Sockets still open are dropped without calling back into a dying owner.
    for (auto &[id, p] : m_pending) {
        p->done = nullptr;
        p->socket.disconnect();
        p->socket.abort();
    }
}

const QByteArray &RouterHttpClient::userAgent()
{
    static const QByteArray ua = QByteArrayLiteral("Mozilla/3.0 (compatible; Veltrano)");
    return ua;
}

quint64 RouterHttpClient::get(const QUrl &url, const std::optional<HttpCredentials> &credentials, int transferTimeoutMs,
                              Done done)
{
    const quint64 id = m_nextId++;
    auto pending = std::make_unique<Pending>();
    Pending *p = pending.get();
    p->done = std::move(done);
    m_pending.emplace(id, std::move(pending));

    if (!url.isValid() || url.scheme() != QLatin1String("http") || url.host().isEmpty()) {
        HttpResult r;
        r.errorText = url.scheme() == QLatin1String("https")
                          ? QStringLiteral("HTTPS is not supported for router pages: \"%1\"").arg(url.toString())
                          : QStringLiteral("Invalid URL \"%1\"").arg(url.toString());
        QTimer::singleShot(0, this, [this, id, r] { finish(id, r); });
        return id;
    }

    p->host = url.host();
    const int port = url.port(80);
    QByteArray target = url.path(QUrl::FullyEncoded).toLatin1();
    if (target.isEmpty())
        target = "/";
    if (url.hasQuery())
        target += '?' + url.query(QUrl::FullyEncoded).toLatin1();
    QByteArray hostHeader = url.host().toLatin1();
    if (url.port() > 0)
        hostHeader += ':' + QByteArray::number(url.port());

    QByteArray &rq = p->request;
    rq = "GET " + target + " HTTP/1.1\r\n";
    rq += "Host: " + hostHeader + "\r\n";
    rq += "Accept: text/html, */*\r\n";
    rq += "Content-Type: text/html\r\n";
    rq += "User-Agent: " + userAgent() + "\r\n";
    rq += "Connection: close\r\n";
    if (credentials) {
        const QByteArray pair = credentials->user.toLatin1() + ':' + credentials->password.toLatin1();
        rq += "Authorization: Basic " + pair.toBase64() + "\r\n";
    }
    const auto cookies = m_cookies.find(p->host);
    if (cookies != m_cookies.end() && !cookies->second.isEmpty()) {
        QByteArray line;
        for (auto c = cookies->second.cbegin(); c != cookies->second.cend(); ++c)
            line += (line.isEmpty() ? "" : "; ") + c.key() + '=' + c.value();
        rq += "Cookie: " + line + "\r\n";
    }
    rq += "\r\n";

    p->connectTimer.setSingleShot(true);
    p->transferTimer.setSingleShot(true);
    auto timeOut = [this, id, p] {
        p->timedOut = true;
        fail(id, QStringLiteral("Read timed out."));
    };
    connect(&p->connectTimer, &QTimer::timeout, this, timeOut);
    connect(&p->transferTimer, &QTimer::timeout, this, timeOut);
    connect(&p->socket, &QTcpSocket::connected, this, [p] {
        p->connected = true;
        p->connectTimer.stop();
        p->socket.write(p->request);
    });
    connect(&p->socket, &QTcpSocket::readyRead, this, [this, id] { onReadyRead(id); });
    connect(&p->socket, &QTcpSocket::disconnected, this, [this, id] { onClosed(id); });
    connect(&p->socket, &QTcpSocket::errorOccurred, this, [this, id, p](QAbstractSocket::SocketError e) {
        if (e == QAbstractSocket::RemoteHostClosedError)
            onClosed(id);
        else
            fail(id, p->socket.errorString());
    });

    const int transfer = qBound(1000, transferTimeoutMs, kMaxTransferTimeoutMs);
    p->connectTimer.start(qMin(kConnectTimeoutMs, transfer));
    p->transferTimer.start(transfer);
    p->socket.connectToHost(url.host(), static_cast<quint16>(port));
    return id;
}

RouterHttpClient::Pending *RouterHttpClient::pending(quint64 id)
{
    auto it = m_pending.find(id);
    return it == m_pending.end() || it->second->finished ? nullptr : it->second.get();
}

void RouterHttpClient::onReadyRead(quint64 id)
{
    Pending *p = pending(id);
    if (!p)
        return;
    p->buffer += p->socket.readAll();
    if (!p->headerDone) {
        const qsizetype end = p->buffer.indexOf("\r\n\r\n");
        if (end < 0) {
            if (p->buffer.size() > kMaxHeaderBytes)
                fail(id, QStringLiteral("Reply header too large"));
            return;
        }
        if (!parseHeader(*p, p->buffer.left(end))) {
            fail(id, QStringLiteral("Malformed HTTP reply"));
            return;
        }
        p->buffer.remove(0, end + 4);
        p->headerDone = true;
    }
    if (!takeBody(*p)) {
        fail(id, QStringLiteral("Malformed HTTP reply"));
        return;
    }
    if (p->body.size() > kMaxBodyBytes) {
        fail(id, QStringLiteral("Reply larger than %1 bytes").arg(kMaxBodyBytes));
        return;
    }
    if (bodyComplete(*p))
        complete(id);
}

bool RouterHttpClient::parseHeader(Pending &p, const QByteArray &header)
{
    const QList<QByteArray> lines = header.split('\n');
    const QList<QByteArray> statusLine = lines.value(0).trimmed().split(' ');
    if (statusLine.size() < 2 || !statusLine[0].startsWith("HTTP/"))
        return false;
    bool ok = false;
    p.status = statusLine[1].toInt(&ok);
    if (!ok)
        return false;
    p.reason = QString::fromLatin1(lines.value(0).trimmed().split(' ').mid(2).join(' '));
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            continue;
        const QByteArray name = line.left(colon).trimmed().toLower();
        const QByteArray value = line.mid(colon + 1).trimmed();
        if (name == "content-length")
            p.contentLength = value.toLongLong();
        else if (name == "transfer-encoding" && value.toLower().contains("chunked"))
            p.chunked = true;
        else if (name == "set-cookie") {
            const QByteArray pair = value.split(';').value(0).trimmed();
            const qsizetype eq = pair.indexOf('=');
            if (eq > 0)
                m_cookies[p.host].insert(pair.left(eq), pair.mid(eq + 1));
        }
    }
    return true;
}

bool RouterHttpClient::takeBody(Pending &p)
{
    if (!p.chunked) {
        p.body += p.buffer;
        p.buffer.clear();
        return true;
    }
    // Chunked: size line, data, CRLF; a zero size ends the body.
    for (;;) {
        const qsizetype lineEnd = p.buffer.indexOf("\r\n");
        if (lineEnd < 0)
            return p.buffer.size() < 1024;
        bool ok = false;
        const qint64 size = p.buffer.left(lineEnd).split(';').value(0).trimmed().toLongLong(&ok, 16);
        if (!ok || size < 0)
            return false;
        if (size == 0) {
            p.contentLength = p.body.size();
            p.chunked = false;
            p.buffer.clear();
            return true;
        }
        if (p.buffer.size() < lineEnd + 2 + size + 2)
            return true;
        p.body += p.buffer.mid(lineEnd + 2, size);
        p.buffer.remove(0, lineEnd + 2 + size + 2);
    }
}

bool RouterHttpClient::bodyComplete(const Pending &p) const
{
    return p.headerDone && !p.chunked && p.contentLength >= 0 && p.body.size() >= p.contentLength;
}

void RouterHttpClient::onClosed(quint64 id)
{
    Pending *p = pending(id);
    if (!p)
        return;
    if (p->socket.bytesAvailable() > 0)
        onReadyRead(id);
    if (!(p = pending(id)))
        return;
    // Without a length, the body ends where the connection does.
    if (p->headerDone && !p->chunked && p->contentLength < 0) {
        complete(id);
        return;
    }
    if (p->headerDone && bodyComplete(*p)) {
        complete(id);
        return;
    }
    fail(id, p->headerDone ? QStringLiteral("Connection closed before the reply was complete")
                           : QStringLiteral("Connection closed gracefully."));
}

void RouterHttpClient::complete(quint64 id)
{
    Pending *p = pending(id);
    if (!p)
        return;
    HttpResult r;
    r.connected = true;
    r.status = p->status;
    r.authRejected = p->status == 401;
    if (p->status >= 200 && p->status < 300) {
        r.ok = true;
        r.body = p->contentLength >= 0 ? p->body.left(p->contentLength) : p->body;
    } else {
        r.errorText = QStringLiteral("HTTP/1.1 %1 %2").arg(p->status).arg(p->reason);
    }
    finish(id, r);
}

void RouterHttpClient::fail(quint64 id, const QString &why)
{
    Pending *p = pending(id);
    if (!p)
        return;
    HttpResult r;
    r.connected = p->connected;
    r.timedOut = p->timedOut;
    r.status = p->status;
    r.authRejected = p->status == 401;
    r.errorText = why;
    finish(id, r);
}

void RouterHttpClient::finish(quint64 id, HttpResult result)
{
    auto it = m_pending.find(id);
    if (it == m_pending.end() || it->second->finished)
        return;
    Pending *p = it->second.get();
    p->finished = true;
    p->connectTimer.stop();
    p->transferTimer.stop();
    p->socket.disconnect(this);
    p->socket.abort();
    Done done = std::move(p->done);
    // The socket may be inside one of its own signals: delete it later.
    std::unique_ptr<Pending> owned = std::move(it->second);
    m_pending.erase(it);
    QTimer::singleShot(0, this, [keep = std::shared_ptr<Pending>(std::move(owned))] {});
    if (!result.cancelled)
        m_lastConnected = result.connected;
    if (done)
        done(result);
}

void RouterHttpClient::cancel(quint64 id)
{
    HttpResult r;
    r.cancelled = true;
    finish(id, r);
}

void RouterHttpClient::cancelAll()
{
    std::vector<quint64> ids;
    for (const auto &[id, p] : m_pending)
        ids.push_back(id);
    for (quint64 id : ids)
        cancel(id);
}

void RouterHttpClient::disconnectFromRouter()
{
    m_lastConnected = false;
}
