#pragma once
// A telnet "router" on loopback that misbehaves, on a thread of its own so it
// keeps sending however busy the client's thread is: it writes a prefix,
// then one piece over and over (up to a limit, or until the client goes),
// and may refuse to read anything the client sends.
#include <QByteArray>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <atomic>
#include <memory>

namespace telnettest {

struct Hostility {
    QByteArray prefix;
    QByteArray repeat;        // written again and again after the prefix
    qint64 limit = 0;         // bytes in all, then the connection closes; 0: no end
    bool readsInput = true;   // false: what the client sends is never read
};

class HostileTelnetServer {
public:
    explicit HostileTelnetServer(Hostility h) : m_hostility(std::move(h))
    {
        m_thread.start();
        m_context.moveToThread(&m_thread);
        QMetaObject::invokeMethod(&m_context, [this] { listen(); }, Qt::BlockingQueuedConnection);
    }
    ~HostileTelnetServer()
    {
        QMetaObject::invokeMethod(&m_context, [this] { m_server.reset(); }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }

    quint16 port() const { return m_port; }
    qint64 sent() const { return m_sent; }
    bool clientGone() const { return m_gone; }

private:
    void listen()
    {
        m_server = std::make_unique<QTcpServer>();
        m_server->listen(QHostAddress::LocalHost, 0);
        m_port = m_server->serverPort();
        QObject::connect(m_server.get(), &QTcpServer::newConnection, m_server.get(), [this] {
            QTcpSocket *s = m_server->nextPendingConnection();
            if (!m_hostility.readsInput)
                s->setReadBufferSize(1); // and never read: the client's bytes stay in the network
            QObject::connect(s, &QTcpSocket::bytesWritten, s, [this, s] { fill(s); });
            QObject::connect(s, &QTcpSocket::disconnected, s, [this] { m_gone = true; });
            fill(s);
        });
    }
    void fill(QTcpSocket *s)
    {
        while (s->state() == QAbstractSocket::ConnectedState && s->bytesToWrite() < 256 * 1024) {
            if (m_hostility.limit > 0 && m_sent >= m_hostility.limit) {
                if (s->bytesToWrite() == 0)
                    s->disconnectFromHost();
                return;
            }
            QByteArray piece = m_sent == 0 && !m_hostility.prefix.isEmpty() ? m_hostility.prefix : m_hostility.repeat;
            if (m_hostility.limit > 0)
                piece.truncate(m_hostility.limit - m_sent);
            if (piece.isEmpty())
                return;
            s->write(piece);
            m_sent += piece.size();
        }
    }

    Hostility m_hostility;
    QThread m_thread;
    QObject m_context;
    std::unique_ptr<QTcpServer> m_server;
    std::atomic<quint16> m_port{0};
    std::atomic<qint64> m_sent{0};
    std::atomic<bool> m_gone{false};
};

} // namespace telnettest
