#include "Listener.h"

namespace routersim {

bool Listener::listen(const QHostAddress &address, quint16 port, QString *error)
{
    if (!m_server.listen(address, port)) {
        if (error)
            *error = QString("cannot listen for %1 on %2:%3: %4")
                         .arg(m_what, address.toString()).arg(port).arg(m_server.errorString());
        return false;
    }
    m_address = address;
    m_port = m_server.serverPort();
    return true;
}

bool Listener::setAccepting(bool on, QString *error)
{
    if (!on) {
        m_server.close();
        return true;
    }
    if (m_server.isListening() || m_port == 0)
        return true;
    return listen(m_address, m_port, error);
}

} // namespace routersim
