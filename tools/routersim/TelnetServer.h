#pragma once
// The router's telnet daemon: accepts connections on the bind address and
// runs one TelnetConnection for each, with the failures and access rule of
// the telnet behaviour.
#include "Listener.h"
#include <QHostAddress>
#include <QObject>
#include <QSet>
#include <QTcpServer>

namespace routersim {

class Journal;
class RouterState;
class TelnetBehaviour;
class TelnetConnection;

class TelnetServer : public QObject
{
    Q_OBJECT
public:
    TelnetServer(TelnetBehaviour &behaviour, RouterState &state, Journal &journal, QObject *parent = nullptr);
    ~TelnetServer() override;

    bool listen(const QHostAddress &address, quint16 port, QString *error);
    quint16 port() const { return m_listener.port(); }
    bool isListening() const { return m_listener.isListening(); }
    // Stops listening and drops every session.
    void close();
    // Closes or reopens the listening socket on the same port.
    bool setAccepting(bool on, QString *error);
    // Ends every session from the router's side.
    void dropAll();

    int sessionCount() const { return static_cast<int>(m_connections.size()); }

signals:
    // The daemon was killed or the router rebooted: telnet may need the
    // debug page again before it listens.
    void accessChanged();

private:
    void onNewConnection();
    void onFinished(TelnetConnection *connection);
    void endAllAfterOutput();

    TelnetBehaviour &m_behaviour;
    RouterState &m_state;
    Journal &m_journal;
    Listener m_listener{QStringLiteral("telnet")};
    QSet<TelnetConnection *> m_connections;
};

} // namespace routersim
