#pragma once
// A web server on 127.0.0.1 that serves one made-up page at one path (404
// elsewhere), for pages the router simulator does not build. Each request
// head is kept so a test can see what was sent.
#include <QByteArray>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>

class LocalPageServer : public QObject {
public:
    LocalPageServer(const QByteArray &path, const QByteArray &page) : m_path(path), m_page(page)
    {
        m_server.listen(QHostAddress(QStringLiteral("127.0.0.1")), 0);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *s = m_server.nextPendingConnection()) {
                s->setParent(this);
                connect(s, &QTcpSocket::readyRead, this, [this, s] { onRead(s); });
                connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            }
        });
    }

    QByteArray url() const
    {
        return "http://127.0.0.1:" + QByteArray::number(m_server.serverPort()) + m_path;
    }
    void setPage(const QByteArray &page) { m_page = page; }
    const QList<QByteArray> &requests() const { return m_requests; }

private:
    void onRead(QTcpSocket *s)
    {
        QByteArray &head = m_pending[s];
        head += s->readAll();
        if (!head.contains("\r\n\r\n"))
            return;
        m_requests << head;
        const QByteArray target = head.split(' ').value(1);
        const bool found = target == m_path;
        const QByteArray body = found ? m_page : QByteArray("<html>Not found</html>");
        s->write((found ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n")
                 + QByteArray("Content-Type: text/html\r\nConnection: close\r\nContent-Length: ")
                 + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        s->disconnectFromHost();
        m_pending.remove(s);
    }

    QTcpServer m_server;
    QByteArray m_path;
    QByteArray m_page;
    QList<QByteArray> m_requests;
    QHash<QTcpSocket *, QByteArray> m_pending;
};
