#include "acquisition/TelnetReceiver.h"

#include <libtelnet.h>

namespace {

const telnet_telopt_t kOptions[] = {
    {TELNET_TELOPT_ECHO, TELNET_WONT, TELNET_DO},
    {TELNET_TELOPT_SGA, TELNET_WILL, TELNET_DO},
    {TELNET_TELOPT_TTYPE, TELNET_WILL, TELNET_DONT},
    {-1, 0, 0},
};

} // namespace

TelnetReceiver::TelnetReceiver() : m_telnet(telnet_init(kOptions, &TelnetReceiver::onEvent, 0, this))
{
    if (!m_telnet)
        m_failure = QStringLiteral("no memory for the telnet protocol");
}

TelnetReceiver::~TelnetReceiver()
{
    if (m_telnet)
        telnet_free(m_telnet);
}

QString TelnetReceiver::receive(const char *data, qsizetype size)
{
    if (!m_failure.isEmpty() || size <= 0)
        return {};
    m_text.clear();
    telnet_recv(m_telnet, data, static_cast<size_t>(size));
    return QString::fromLatin1(std::exchange(m_text, QByteArray()));
}

void TelnetReceiver::send(const QByteArray &bytes)
{
    if (m_failure.isEmpty() && !bytes.isEmpty())
        telnet_send(m_telnet, bytes.constData(), static_cast<size_t>(bytes.size()));
}

void TelnetReceiver::onEvent(telnet_t *, telnet_event_t *event, void *self)
{
    static_cast<TelnetReceiver *>(self)->handle(event);
}

void TelnetReceiver::handle(telnet_event_t *event)
{
    switch (event->type) {
    case TELNET_EV_DATA:
        if (m_failure.isEmpty())
            m_text.append(event->data.buffer, static_cast<qsizetype>(event->data.size));
        break;
    case TELNET_EV_SEND:
        // Nothing more goes out once the connection is given up.
        if (m_failure.isEmpty())
            m_outgoing.append(event->data.buffer, static_cast<qsizetype>(event->data.size));
        break;
    case TELNET_EV_COMPRESS:
        // We never offer compression; a router that starts it anyway could
        // expand a few bytes into megabytes.
        if (event->compress.state && m_failure.isEmpty())
            m_failure = QStringLiteral("the router compressed its output unasked");
        break;
    case TELNET_EV_TTYPE:
        if (event->ttype.cmd == TELNET_TTYPE_SEND)
            telnet_ttype_is(m_telnet, kTerminalType);
        break;
    case TELNET_EV_ERROR:
        if (m_failure.isEmpty())
            m_failure = QStringLiteral("the router broke the telnet protocol");
        break;
    default:
        break;
    }
}
