#pragma once
// The control socket: a line-based TCP service on the bind address. Each
// line is one command; the executor's reply lines are sent back as they are.
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTcpServer>
#include <functional>

class QTcpSocket;

namespace routersim {

class ControlServer : public QObject
{
    Q_OBJECT
public:
    using Executor = std::function<QStringList(const QString &line)>;
    static constexpr int kMaxLineLength = 1 << 17;

    explicit ControlServer(Executor executor, QObject *parent = nullptr);
    ~ControlServer() override;

    bool listen(const QHostAddress &address, quint16 port, QString *error);
    quint16 port() const { return m_server.serverPort(); }
    // Sends what is still pending, then closes every client.
    void close();

private:
    void onNewConnection();
    void onReadyRead(QTcpSocket *socket);

    Executor m_executor;
    QTcpServer m_server;
    QList<QPointer<QTcpSocket>> m_clients;
};

} // namespace routersim
