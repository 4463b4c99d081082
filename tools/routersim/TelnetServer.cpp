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
    connect(&m_listener.server(), &QTcpServer::newConnection, this, &TelnetServer::onNewConnection);
}

TelnetServer::~TelnetServer()
{
    close();
}

bool TelnetServer::listen(const QHostAddress &address, quint16 port, QString *error)
{
    return m_listener.listen(address, port, error);
}

bool TelnetServer::setAccepting(bool on, QString *error)
{
    return m_listener.setAccepting(on, error);
}

void TelnetServer::close()
{
    m_listener.close();
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
    while (QTcpSocket *socket = m_listener.server().nextPendingConnection()) {
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
