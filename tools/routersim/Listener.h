#pragma once
// A listening socket that can stop accepting and start again on the same
// address and port (the "down" failure mode), shared by the web and telnet
// sides.
#include <QHostAddress>
#include <QString>
#include <QTcpServer>

namespace routersim {

class Listener
{
public:
    explicit Listener(QString what) : m_what(std::move(what)) {}

    bool listen(const QHostAddress &address, quint16 port, QString *error);
    // Off closes the listening socket; on listens again where it listened before.
    bool setAccepting(bool on, QString *error);
    void close() { m_server.close(); }

    quint16 port() const { return m_port; }
    bool isListening() const { return m_server.isListening(); }
    QTcpServer &server() { return m_server; }

private:
    QString m_what;
    QTcpServer m_server;
    QHostAddress m_address;
    quint16 m_port = 0;
};

} // namespace routersim
