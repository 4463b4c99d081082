#include "acquisition/RouterHttpClient.h"

#include "acquisition/HttpReplyReader.h"
#include "common/Clock.h"

#include <QTcpSocket>
#include <QTimer>

// A small HTTP/1.1 GET client over its own socket per request. Owning the
// socket is what makes one attempt exactly one request (a general-purpose
// client quietly resends after a dropped connection) and lets "connected"
// mean what the user expects: the router accepted the TCP connection.

namespace {

// Qt's own read buffer is kept small: bytes are counted against the reply's
// bounds as they are read, not after they piled up in the socket.
constexpr qint64 kSocketReadBytes = 64 * 1024;

} // namespace

struct RouterHttpClient::Pending {
    QTcpSocket socket;
    QTimer connectTimer;
    QTimer transferTimer;
    Done done;
    QString host;
    QByteArray request;
    HttpReplyReader reply;
    bool connected = false;
    bool timedOut = false;
    bool cookiesTaken = false;
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
    const QByteArray cookies = m_cookies.header(p->host, Clock::currentDateTimeUtc());
    if (!cookies.isEmpty())
        rq += "Cookie: " + cookies + "\r\n";
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
    p->socket.setReadBufferSize(kSocketReadBytes);
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
    // In slices, so the reader sees each one before the next is held.
    while (p->reply.state() == HttpReplyReader::State::Reading && p->socket.bytesAvailable() > 0)
        p->reply.feed(p->socket.read(kSocketReadBytes));
    afterReply(id);
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
    p->reply.close();
    afterReply(id);
}

void RouterHttpClient::afterReply(quint64 id)
{
    Pending *p = pending(id);
    if (!p)
        return;
    if (p->reply.headDone() && !p->cookiesTaken) {
        p->cookiesTaken = true;
        const HttpReplyHead &head = p->reply.head();
        // A refused request starts the next one without what the jar held.
        if (RouterCookieJar::rejects(head.status))
            m_cookies.clear(p->host);
        m_cookies.store(p->host, head.setCookies, Clock::currentDateTimeUtc());
    }
    switch (p->reply.state()) {
    case HttpReplyReader::State::Reading:
        break;
    case HttpReplyReader::State::Done:
        complete(id);
        break;
    case HttpReplyReader::State::Failed:
        fail(id, p->reply.error());
        break;
    }
}

void RouterHttpClient::complete(quint64 id)
{
    Pending *p = pending(id);
    if (!p)
        return;
    const HttpReplyHead &head = p->reply.head();
    HttpResult r;
    r.connected = true;
    r.status = head.status;
    r.authRejected = head.status == 401;
    if (head.status >= 200 && head.status < 300) {
        r.ok = true;
        r.body = p->reply.body();
    } else {
        r.errorText = QStringLiteral("HTTP/1.1 %1 %2").arg(head.status).arg(head.reason);
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
    r.status = p->reply.headDone() ? p->reply.head().status : 0;
    r.authRejected = r.status == 401;
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
