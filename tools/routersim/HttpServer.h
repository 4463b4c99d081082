#pragma once
// The router's web server: accepts connections, hands each request to the
// request handler, carries out its answer and writes the journal.
#include "Listener.h"
#include <QHostAddress>
#include <QObject>
#include <QSet>
#include <QTcpServer>

namespace routersim {

class HttpConnection;
class HttpRequest;
class Journal;
class RequestHandler;

class HttpServer : public QObject
{
    Q_OBJECT
public:
    // A connection that has not sent a whole request head by then is closed.
    static constexpr int kDefaultIdleTimeoutMs = 15000;

    HttpServer(RequestHandler &handler, Journal &journal, QObject *parent = nullptr);
    ~HttpServer() override;

    bool listen(const QHostAddress &address, quint16 port, QString *error);
    quint16 port() const { return m_listener.port(); }
    bool isListening() const { return m_listener.isListening(); }
    // Stops listening and drops every open connection.
    void close();
    // Closes or reopens the listening socket on the same port, so that
    // clients meanwhile get "connection refused"; open connections stay.
    bool setAccepting(bool on, QString *error);

    int connectionCount() const { return static_cast<int>(m_connections.size()); }
    void setIdleTimeout(int ms) { m_idleTimeoutMs = ms; }

private:
    void onNewConnection();
    void onRequest(HttpConnection *connection, const HttpRequest &request);
    void onBadRequest(HttpConnection *connection, const QString &reason, const QByteArray &target);
    void onFinished(HttpConnection *connection);

    RequestHandler &m_handler;
    Journal &m_journal;
    Listener m_listener{QStringLiteral("HTTP")};
    QSet<HttpConnection *> m_connections;
    int m_idleTimeoutMs = kDefaultIdleTimeoutMs;
};

} // namespace routersim
