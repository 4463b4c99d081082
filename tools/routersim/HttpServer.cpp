#include "HttpServer.h"

#include "HttpConnection.h"
#include "Journal.h"
#include "RequestHandler.h"

#include <QTcpSocket>

namespace routersim {

HttpServer::HttpServer(RequestHandler &handler, Journal &journal, QObject *parent)
    : QObject(parent), m_handler(handler), m_journal(journal)
{
    connect(&m_listener.server(), &QTcpServer::newConnection, this, &HttpServer::onNewConnection);
}

HttpServer::~HttpServer()
{
    close();
}

bool HttpServer::listen(const QHostAddress &address, quint16 port, QString *error)
{
    return m_listener.listen(address, port, error);
}

bool HttpServer::setAccepting(bool on, QString *error)
{
    return m_listener.setAccepting(on, error);
}

void HttpServer::close()
{
    m_listener.close();
    const auto open = m_connections;
    for (HttpConnection *c : open)
        c->shutdown();
    m_connections.clear();
}

void HttpServer::onNewConnection()
{
    while (QTcpSocket *socket = m_listener.server().nextPendingConnection()) {
        auto *c = new HttpConnection(socket, m_idleTimeoutMs, this);
        m_connections.insert(c);
        connect(c, &HttpConnection::requestReceived, this, &HttpServer::onRequest);
        connect(c, &HttpConnection::badRequest, this, &HttpServer::onBadRequest);
        connect(c, &HttpConnection::finished, this, &HttpServer::onFinished);
        connect(c, &HttpConnection::timedOut, this, [this](HttpConnection *conn) {
            m_journal.record("http", "-", "-", "-", "timeout");
            conn->closeWithoutAnswer();
        });
        if (m_handler.refuseOnAccept()) {
            // Nothing is read: the request is never seen.
            m_journal.record("http", "-", "-", "-", "refuse");
            c->refuse();
        }
    }
}

void HttpServer::onRequest(HttpConnection *connection, const HttpRequest &request)
{
    const HttpAction action = m_handler.handle(request);
    m_journal.record("http", QString::fromLatin1(request.method()), QString::fromLatin1(request.target()),
                     action.credentials, action.result);
    switch (action.kind) {
    case HttpAction::Kind::Respond: connection->respond(action.wire); break;
    case HttpAction::Kind::Reset: connection->reset(); break;
    case HttpAction::Kind::Close: connection->closeWithoutAnswer(); break;
    case HttpAction::Kind::Hang: connection->hang(); break;
    }
}

void HttpServer::onBadRequest(HttpConnection *connection, const QString &, const QByteArray &target)
{
    m_journal.record("http", "-", target.isEmpty() ? QString("-") : QString::fromLatin1(target), "-", "400");
    connection->respond(RequestHandler::badRequest());
}

void HttpServer::onFinished(HttpConnection *connection)
{
    m_connections.remove(connection);
    connection->deleteLater();
}

} // namespace routersim
