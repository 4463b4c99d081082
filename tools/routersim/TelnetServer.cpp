#include "TelnetServer.h"

#include "Journal.h"
#include "RouterState.h"
#include "TelnetBehaviour.h"
#include "TelnetConnection.h"

#include <QTcpSocket>

namespace routersim {

TelnetServer::TelnetServer(TelnetBehaviour &behaviour, RouterState &state, Journal &journal, QObject *parent)
    : QObject(parent), m_behaviour(behaviour), m_state(state), m_journal(journal)
{
    connect(&m_server, &QTcpServer::newConnection, this, &TelnetServer::onNewConnection);
}

TelnetServer::~TelnetServer()
{
    close();
}

bool TelnetServer::listen(const QHostAddress &address, quint16 port, QString *error)
{
    if (!m_server.listen(address, port)) {
        if (error)
            *error = QString("cannot listen for telnet on %1:%2: %3")
                         .arg(address.toString()).arg(port).arg(m_server.errorString());
        return false;
    }
    m_address = address;
    m_port = m_server.serverPort();
    return true;
}

bool TelnetServer::setAccepting(bool on, QString *error)
{
    if (!on) {
        m_server.close();
        return true;
    }
    if (m_server.isListening() || m_port == 0)
        return true;
    return listen(m_address, m_port, error);
}

void TelnetServer::close()
{
    m_server.close();
    dropAll();
}

void TelnetServer::dropAll()
{
    const auto open = m_connections;
    for (TelnetConnection *c : open)
        c->drop();
}

void TelnetServer::endAllAfterOutput()
{
    const auto open = m_connections;
    for (TelnetConnection *c : open)
        c->closeAfterOutput();
}

void TelnetServer::onNewConnection()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        const bool allowed = m_behaviour.access == TelnetAccess::Always || m_state.telnetEnabled();
        const TelnetFault fault = allowed ? m_behaviour.takeFault() : TelnetFault::Refuse;
        if (fault == TelnetFault::Refuse || fault == TelnetFault::Down) {
            // A connection that slipped in before the listener closed, or an
            // injected refusal: reset without a word.
            m_journal.record("telnet", "connect", "-", "-", allowed ? "refuse" : "refuse (debug off)");
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto *c = new TelnetConnection(socket, fault, m_behaviour, m_state, m_journal, this);
        m_connections.insert(c);
        connect(c, &TelnetConnection::finished, this, &TelnetServer::onFinished);
        // Killing the daemon or rebooting ends every session and turns the
        // debug mode off again.
        connect(c, &TelnetConnection::daemonKilled, this, [this] {
            m_state.setTelnetEnabled(false);
            endAllAfterOutput();
            emit accessChanged();
        });
        connect(c, &TelnetConnection::rebooting, this, [this] {
            m_state.setTelnetEnabled(false);
            endAllAfterOutput();
            emit accessChanged();
        });
        c->start();
    }
}

void TelnetServer::onFinished(TelnetConnection *connection)
{
    m_connections.remove(connection);
    connection->deleteLater();
}

} // namespace routersim
