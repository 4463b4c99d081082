#include "acquisition/TelnetClient.h"

#include <libtelnet.h>

namespace {

// The router may echo and suppress go-ahead; we send our terminal type.
const telnet_telopt_t kOptions[] = {
    {TELNET_TELOPT_ECHO, TELNET_WONT, TELNET_DO},
    {TELNET_TELOPT_SGA, TELNET_WILL, TELNET_DO},
    {TELNET_TELOPT_TTYPE, TELNET_WILL, TELNET_DONT},
    {-1, 0, 0},
};

} // namespace

TelnetClient::TelnetClient(QObject *parent) : QObject(parent)
{
    m_connectTimer.setSingleShot(true);
    connect(&m_connectTimer, &QTimer::timeout, this, &TelnetClient::onTimeout);
    connect(&m_socket, &QTcpSocket::connected, this, &TelnetClient::onConnected);
    connect(&m_socket, &QTcpSocket::readyRead, this, &TelnetClient::onReadyRead);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &TelnetClient::onSocketError);
    connect(&m_socket, &QTcpSocket::disconnected, this, &TelnetClient::onSocketDisconnected);
}

TelnetClient::~TelnetClient()
{
    m_socket.disconnect(this);
    m_socket.abort();
    m_receiving = 0;
    retireTelnet();
}

void TelnetClient::retireTelnet()
{
    if (m_telnet)
        m_retired.push_back(m_telnet);
    m_telnet = nullptr;
    freeRetired();
}

void TelnetClient::freeRetired()
{
    if (m_receiving > 0)
        return;
    for (telnet_t *t : m_retired)
        telnet_free(t);
    m_retired.clear();
}

void TelnetClient::connectToHost(const QString &host, quint16 port, int timeoutMs)
{
    if (m_connecting || m_socket.state() != QAbstractSocket::UnconnectedState)
        return;
    retireTelnet();
    m_connecting = true;
    emit status(QStringLiteral("Connecting to %1.").arg(host));
    m_connectTimer.start(timeoutMs);
    m_socket.connectToHost(host, port);
}

void TelnetClient::onConnected()
{
    if (!m_connecting)
        return;
    m_connecting = false;
    m_connectTimer.stop();
    m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    retireTelnet();
    m_telnet = telnet_init(kOptions, &TelnetClient::onTelnetEvent, 0, this);
    m_open = true;
    emit status(QStringLiteral("Connected."));
    emit connected();
    // Data that came with the connection is read now that the parser exists.
    if (m_socket.bytesAvailable() > 0)
        onReadyRead();
}

void TelnetClient::onTimeout()
{
    if (!m_connecting)
        return;
    m_connecting = false;
    m_socket.abort();
    emit connectFailed(QStringLiteral("timed out"));
}

void TelnetClient::onSocketError()
{
    if (m_connecting) {
        m_connecting = false;
        m_connectTimer.stop();
        const QString why = m_socket.errorString();
        m_socket.abort();
        emit connectFailed(why);
    }
    // Errors of an open connection end in disconnected().
}

void TelnetClient::onSocketDisconnected()
{
    if (!m_open)
        return;
    m_open = false;
    retireTelnet();
    emit status(QStringLiteral("Disconnected."));
    emit disconnected();
}

void TelnetClient::disconnectFromHost()
{
    if (m_connecting) {
        m_connecting = false;
        m_connectTimer.stop();
        m_socket.abort();
        return;
    }
    if (!m_open)
        return;
    emit status(QStringLiteral("Disconnecting."));
    // What was sent last (a kill, a typed command) still reaches the router.
    m_socket.flush();
    m_socket.abort();
    // abort() reports the close at once on most platforms; make sure of it.
    onSocketDisconnected();
}

void TelnetClient::send(const QByteArray &bytes)
{
    if (!isConnected() || bytes.isEmpty())
        return;
    telnet_send(m_telnet, bytes.constData(), static_cast<size_t>(bytes.size()));
}

void TelnetClient::onReadyRead()
{
    telnet_t *telnet = m_telnet;
    if (!telnet)
        return;
    const QByteArray data = m_socket.readAll();
    if (data.isEmpty())
        return;
    ++m_receiving;
    telnet_recv(telnet, data.constData(), static_cast<size_t>(data.size()));
    --m_receiving;
    freeRetired();
}

void TelnetClient::onTelnetEvent(telnet_t *, telnet_event_t *event, void *self)
{
    static_cast<TelnetClient *>(self)->handleEvent(event);
}

void TelnetClient::handleEvent(telnet_event_t *event)
{
    switch (event->type) {
    case TELNET_EV_DATA:
        if (m_open)
            emit dataReceived(QString::fromLatin1(event->data.buffer, static_cast<qsizetype>(event->data.size)));
        break;
    case TELNET_EV_SEND:
        if (m_socket.state() == QAbstractSocket::ConnectedState)
            m_socket.write(event->data.buffer, static_cast<qint64>(event->data.size));
        break;
    case TELNET_EV_TTYPE:
        if (event->ttype.cmd == TELNET_TTYPE_SEND && m_telnet)
            telnet_ttype_is(m_telnet, kTerminalType);
        break;
    case TELNET_EV_ERROR:
        // The router broke the protocol: nothing sensible can follow.
        disconnectFromHost();
        break;
    default:
        break;
    }
}
