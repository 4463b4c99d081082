#pragma once
// The protocol side of a telnet connection, without the socket: bytes from
// the router in; the text they carry and the bytes our side must answer out.
// Option handling is libtelnet's: the router may echo and suppress go-ahead,
// we send the terminal type "dumb". Whatever the router sends, what one
// receive() yields is bounded: its text and our answers are never more than
// twice the bytes that came, and a broken, compressed or oversized exchange
// is reported by failure() rather than followed.
#include <QByteArray>
#include <QString>
#include <utility>

struct telnet_t;
union telnet_event_t;

class TelnetReceiver {
public:
    static constexpr const char *kTerminalType = "dumb";

    TelnetReceiver();
    ~TelnetReceiver();
    TelnetReceiver(const TelnetReceiver &) = delete;
    TelnetReceiver &operator=(const TelnetReceiver &) = delete;

    // Bytes from the router; returns their text, one character per byte.
    // Nothing once failure() is set.
    QString receive(const char *data, qsizetype size);
    QString receive(const QByteArray &data) { return receive(data.constData(), data.size()); }
    // Bytes for the router as they are (IAC doubled), queued for takeOutgoing().
    void send(const QByteArray &bytes);
    // What must go to the router now: answers to its negotiation and what
    // send() queued.
    QByteArray takeOutgoing() { return std::exchange(m_outgoing, QByteArray()); }
    // Why the connection cannot go on; empty while it can.
    const QString &failure() const { return m_failure; }

private:
    static void onEvent(telnet_t *telnet, telnet_event_t *event, void *self);
    void handle(telnet_event_t *event);

    telnet_t *m_telnet = nullptr;
    QByteArray m_text;
    QByteArray m_outgoing;
    QString m_failure;
};
