#pragma once
// The lines of the web tab's access log and the client address read back
// from a selected line.
#include <QDateTime>
#include <QString>

class AccessLog {
public:
    // "  Sun 06 Dec 2026   09:04:34:  Command GET /noise.jpg received from 192.168.0.5:1734",
    // with " -- IP blocked. File not sent" for a blocked client.
    static QString line(const QDateTime &stamp, const QString &command, const QString &document,
                        const QString &address, quint16 port, bool blocked);

    // "  Sun 06 Dec 2026   09:04:34:  Server Started."
    static QString serverStartedLine(const QDateTime &stamp);

    // The address after "from " up to the next ":"; empty unless it is a dotted IPv4 address.
    static QString addressOfLine(const QString &line);

    // Four decimal fields 0-255.
    static bool isDottedIPv4(const QString &text);

private:
    static QString stampText(const QDateTime &stamp);
};
