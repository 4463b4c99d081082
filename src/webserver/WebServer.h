#pragma once
// The built-in HTTP server: libmicrohttpd with one thread per connection. The
// request handler runs on those threads; it reads the web settings from a copy
// that the window thread keeps current (setSettings) and counts itself in
// WebServing. Its access-log lines and error reports go into a bounded buffer
// that the server's own (window) thread empties on a short timer, so a flood
// of requests costs the window one batch per tick, never one event per request.
//
// Connections are kept alive between requests, and no connection can hold
// its place for long without the server's say: each request head must arrive
// within a deadline of its own (not renewed by every byte); a body is never
// waited for (only GET and HEAD are served, so a request that announces one is
// answered at once and its connection closed); a reply must keep pace with a
// minimum rate, reckoned from what the client has actually taken, not from the
// size of the file; one client address may hold only part of the connections.
// At its address's share a new connection takes the place of that address's
// connection idle longest, or is refused. At maxUsers it takes the place of
// the connection idle longest (waiting for its next request, or with a reply
// that has fallen behind because its client takes nothing), or waits, within
// its head deadline, for a place to come free or fall idle; a place goes to
// the waiting connection whose address holds fewest. A connection within the
// deadline for its first request is not idle for another address: its client
// may be a round trip away from sending it.
#include "webserver/AccessLog.h"
#include "webserver/WebServerSettings.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <memory>

struct MHD_Daemon;

struct WebServerConfig {
    QString address;                // empty: defaultAddress() at each start
    int port = 81;                  // 0: any free port
    int maxUsers = 10;              // simultaneous connections; at least 1
    int connectionTimeoutSecs = 30; // a reply the client stops reading is given up after this
    int headDeadlineMs = 5000;      // the whole request head, and the wait for the next one
    int minSendRate = 16 * 1024;    // bytes a second that a reply's client must keep taking
    int replyGraceMs = 10000;       // a reply this far behind minSendRate is given up
    int idleReplyMs = 3000;         // one this far behind counts as idle: it may make room
    int perClientLimit = 0;         // connections per client address; 0: half of maxUsers
    int stopWaitMs = 1000;          // stop() waits no longer than this
    int batchIntervalMs = 100;      // access-log lines reach the window this often
    int accessLogCapacity = 100000; // lines waiting for the window; the oldest go first

    // The per-address limit in force: below maxUsers whenever maxUsers allows.
    int effectivePerClientLimit() const;
};

class WebServer : public QObject {
    Q_OBJECT
public:
    explicit WebServer(QObject *parent = nullptr);
    ~WebServer() override;

    // Binds and starts listening; on failure *error says why and the server
    // stays stopped. Starting a running server changes nothing.
    bool start(const WebServerConfig &config, QString *error);

    // Stops listening and closes every connection. Returns within about
    // stopWaitMs; false when the shut-down had to be left to finish on its own.
    bool stop();

    bool isActive() const { return m_daemon != nullptr; }
    // The bound address and port while active.
    QString address() const { return m_address; }
    int port() const { return m_port; }

    // Thread-safe: the handler's next request sees the new values.
    void setSettings(const WebServerSettings &settings);
    WebServerSettings settings() const;

    // The machine's own IPv4 addresses, loopback excluded.
    static QStringList localAddresses();
    // What an empty address binds: the machine's first own address as it is
    // now, or loopback when it has none.
    static QString defaultAddress();

    // Hands waiting lines and errors over now instead of at the next tick.
    void flushNow();

signals:
    // On the server's own thread, oldest first, at most one batch per tick.
    void accessLogBatch(const QList<AccessLogEntry> &entries);
    // A failure of the server itself while serving (reported as "Web Server
    // Error."); the same failure repeated within one tick is reported once.
    void serverError(const QString &detail);

private:
    void scheduleFlush();

    friend struct WebServerDetail; // the libmicrohttpd callbacks
    struct Shared;
    struct DaemonContext;
    std::shared_ptr<Shared> m_shared;
    std::shared_ptr<DaemonContext> m_context;
    MHD_Daemon *m_daemon = nullptr;
    QString m_address;
    int m_port = 0;
    int m_stopWaitMs = 1000;
    QTimer m_flushTimer;
};
