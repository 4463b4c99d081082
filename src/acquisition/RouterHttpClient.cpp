#include "acquisition/RouterHttpClient.h"

#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkRequest>
#include <QTimer>

namespace {

// A router page is a few kilobytes; anything far bigger is not a status page.
constexpr qint64 kMaxBodyBytes = 8 * 1024 * 1024;

} // namespace

struct RouterHttpClient::Pending {
    QPointer<QNetworkReply> reply;
    QTimer connectTimer;
    QTimer transferTimer;
    Done done;
    bool connected = false;
    bool timedOut = false;
    bool cancelled = false;
    bool tooLarge = false;
};

RouterHttpClient::RouterHttpClient(QObject *parent) : QObject(parent), m_nam(new QNetworkAccessManager(this))
{
    // Proxies configured for the desktop must not see router traffic.
    m_nam->setProxy(QNetworkProxy::NoProxy);
}

RouterHttpClient::~RouterHttpClient()
{
    // Replies still open are aborted without calling back into a dying owner.
    for (auto &[id, p] : m_pending) {
        p->done = nullptr;
        if (p->reply) {
            p->reply->disconnect(this);
            p->reply->abort();
            p->reply->deleteLater();
        }
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

    if (!url.isValid() || (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https"))
        || url.host().isEmpty()) {
        HttpResult r;
        r.errorText = QStringLiteral("Invalid URL \"%1\"").arg(url.toString());
        QTimer::singleShot(0, this, [this, id, r] { finish(id, r); });
        return id;
    }

    QNetworkRequest request(url);
    request.setRawHeader("Accept", "text/html, */*");
    request.setRawHeader("Content-Type", "text/html");
    request.setHeader(QNetworkRequest::UserAgentHeader, userAgent());
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    if (credentials) {
        const QByteArray pair = credentials->user.toLatin1() + ':' + credentials->password.toLatin1();
        request.setRawHeader("Authorization", "Basic " + pair.toBase64());
    }

    QNetworkReply *reply = m_nam->get(request);
    p->reply = reply;

    p->connectTimer.setSingleShot(true);
    p->transferTimer.setSingleShot(true);
    connect(&p->connectTimer, &QTimer::timeout, this, [p] {
        p->timedOut = true;
        if (p->reply)
            p->reply->abort();
    });
    connect(&p->transferTimer, &QTimer::timeout, this, [p] {
        p->timedOut = true;
        if (p->reply)
            p->reply->abort();
    });
    auto markConnected = [p] {
        p->connected = true;
        p->connectTimer.stop();
    };
    connect(reply, &QNetworkReply::requestSent, this, markConnected);
    connect(reply, &QNetworkReply::metaDataChanged, this, markConnected);
    connect(reply, &QNetworkReply::downloadProgress, this, [p](qint64 received, qint64) {
        if (received > kMaxBodyBytes && p->reply) {
            p->tooLarge = true;
            p->reply->abort();
        }
    });
    connect(reply, &QNetworkReply::finished, this, [this, id, p] {
        QNetworkReply *r = p->reply;
        HttpResult result;
        result.connected = p->connected;
        result.timedOut = p->timedOut;
        result.cancelled = p->cancelled;
        result.status = r->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (result.status > 0)
            result.connected = true;
        result.authRejected = result.status == 401;
        if (r->error() == QNetworkReply::NoError && result.status >= 200 && result.status < 300) {
            result.ok = true;
            result.body = r->readAll();
        } else if (p->tooLarge) {
            result.errorText = QStringLiteral("Reply larger than %1 bytes").arg(kMaxBodyBytes);
        } else if (p->timedOut) {
            result.errorText = QStringLiteral("Read timed out.");
        } else if (result.status > 0) {
            result.errorText = QStringLiteral("HTTP/1.1 %1 %2")
                                   .arg(result.status)
                                   .arg(r->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
        } else {
            result.errorText = r->errorString();
        }
        r->deleteLater();
        finish(id, result);
    });

    const int transfer = qBound(1000, transferTimeoutMs, kMaxTransferTimeoutMs);
    p->connectTimer.start(qMin(kConnectTimeoutMs, transfer));
    p->transferTimer.start(transfer);
    return id;
}

void RouterHttpClient::finish(quint64 id, HttpResult result)
{
    auto it = m_pending.find(id);
    if (it == m_pending.end())
        return;
    std::unique_ptr<Pending> p = std::move(it->second);
    m_pending.erase(it);
    p->connectTimer.stop();
    p->transferTimer.stop();
    if (!result.cancelled)
        m_lastConnected = result.connected;
    if (p->done)
        p->done(result);
}

void RouterHttpClient::cancel(quint64 id)
{
    auto it = m_pending.find(id);
    if (it == m_pending.end())
        return;
    Pending *p = it->second.get();
    p->cancelled = true;
    if (p->reply)
        p->reply->abort(); // finished() follows synchronously and calls finish()
    else
    {
        HttpResult r;
        r.cancelled = true;
        finish(id, r);
    }
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
    m_nam->clearConnectionCache();
    m_lastConnected = false;
}
