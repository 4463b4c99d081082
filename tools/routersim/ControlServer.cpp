#include "ControlServer.h"

#include <QTcpSocket>

namespace routersim {

ControlServer::ControlServer(Executor executor, QObject *parent)
    : QObject(parent), m_executor(std::move(executor))
{
    connect(&m_server, &QTcpServer::newConnection, this, &ControlServer::onNewConnection);
}

ControlServer::~ControlServer()
{
    close();
}

bool ControlServer::listen(const QHostAddress &address, quint16 port, QString *error)
{
    if (!m_server.listen(address, port)) {
        if (error)
            *error = QString("cannot listen for control on %1:%2: %3")
                         .arg(address.toString()).arg(port).arg(m_server.errorString());
        return false;
    }
    return true;
}

void ControlServer::close()
{
    m_server.close();
    // disconnected() handlers edit m_clients while the loop runs.
    const QList<QPointer<QTcpSocket>> clients = m_clients;
    m_clients.clear();
    for (const QPointer<QTcpSocket> &s : clients) {
        if (!s)
            continue;
        // A reply to "quit" is still in the buffer: push it out first.
        s->flush();
        s->disconnectFromHost();
        if (s->state() != QAbstractSocket::UnconnectedState)
            s->abort();
        s->deleteLater();
    }
}

void ControlServer::onNewConnection()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        m_clients.append(socket);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_clients.removeAll(socket);
            socket->deleteLater();
        });
    }
}

void ControlServer::onReadyRead(QTcpSocket *socket)
{
    const QPointer<QTcpSocket> guard(socket);
    while (guard && guard->canReadLine()) {
        QByteArray line = guard->readLine(kMaxLineLength + 1);
        if (!line.endsWith('\n')) {
            guard->write("error line too long\n");
            guard->disconnectFromHost();
            return;
        }
        line.chop(1);
        if (line.endsWith('\r'))
            line.chop(1);
        const QString text = QString::fromUtf8(line).trimmed();
        if (text.isEmpty())
            continue;
        QByteArray reply;
        for (const QString &l : m_executor(text))
            reply += l.toUtf8() + '\n';
        if (guard)
            guard->write(reply);
    }
    if (guard && guard->bytesAvailable() > kMaxLineLength) {
        guard->write("error line too long\n");
        guard->disconnectFromHost();
    }
}

} // namespace routersim
