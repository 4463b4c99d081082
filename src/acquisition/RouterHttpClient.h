#pragma once
// The one HTTP client of the main window: status page, WAN address and
// connection pages, router log, reboot and logout URLs. Plain HTTP, as
// routers serve their status pages.
//
// Every request is bounded: it must be connected and sent within the connect
// time, and finished within its transfer time; its reply is held within the
// reader's size bounds (HttpReplyReader) as it arrives. Basic credentials are sent with
// the request itself, only when the caller gives them, and redirects are not
// followed, so they never reach another host. A 401 is one failed request,
// never a hidden second round trip.
//
// "Connected" in a result means the request reached the router: it was sent
// on an open connection or an HTTP status came back (401, 500, an empty body,
// a connection closed or a time-out after sending). "Not connected" means it
// never got that far (refused, unknown host, no route, time-out while connecting).
#include "acquisition/RouterCookieJar.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>
#include <map>
#include <memory>
#include <optional>

struct HttpCredentials {
    QString user;
    QString password;
};

struct HttpResult {
    bool ok = false;        // a 2xx reply was read to its end
    bool connected = false; // see above
    bool authRejected = false;
    bool timedOut = false;
    bool cancelled = false;
    int status = 0;         // HTTP status, 0 when none came
    QByteArray body;
    QString errorText;
};

class RouterHttpClient : public QObject {
    Q_OBJECT
public:
    using Done = std::function<void(const HttpResult &)>;

    explicit RouterHttpClient(QObject *parent = nullptr);
    ~RouterHttpClient() override;

    // Default bounds; a request may give a shorter transfer time.
    static constexpr int kConnectTimeoutMs = 5000;
    static constexpr int kMaxTransferTimeoutMs = 15000;

    // Starts a GET; done runs exactly once on this object's thread: later, or
    // within cancel() with cancelled set. Returns an id for cancel().
    quint64 get(const QUrl &url, const std::optional<HttpCredentials> &credentials, int transferTimeoutMs, Done done);

    void cancel(quint64 id);
    void cancelAll();

    // Whether the latest finished request reached the router.
    bool lastConnected() const { return m_lastConnected; }

    // Forgets the connection state so the next request starts afresh. Each
    // request has its own connection, so there is nothing open to close.
    void disconnectFromRouter();

    static const QByteArray &userAgent();

private:
    struct Pending;
    Pending *pending(quint64 id);
    void onReadyRead(quint64 id);
    void onClosed(quint64 id);
    void afterReply(quint64 id);
    void complete(quint64 id);
    void fail(quint64 id, const QString &why);
    void finish(quint64 id, HttpResult result);

    quint64 m_nextId = 1;
    RouterCookieJar m_cookies;
    std::map<quint64, std::unique_ptr<Pending>> m_pending;
    bool m_lastConnected = false;
};
