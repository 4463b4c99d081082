#pragma once
// The lines of the web tab's access log. Each entry carries its client's
// address as the server saw it: the line's text holds the request's path,
// which the client chose, so an address is never read back from the text.
#include <QDateTime>
#include <QList>
#include <QMetaType>
#include <QString>

struct AccessLogEntry {
    QString line;
    QString address; // the client's; empty for lines of the server itself
};
Q_DECLARE_METATYPE(AccessLogEntry)

class AccessLog {
public:
    // "  Sun 06 Dec 2026   09:04:34:  Command GET /noise.jpg received from 192.168.0.5:1734",
    // with " -- IP blocked. File not sent" for a blocked client. Control and
    // invisible characters of the command and path are shown as escapes.
    static QString line(const QDateTime &stamp, const QString &command, const QString &document,
                        const QString &address, quint16 port, bool blocked);

    // "  Sun 06 Dec 2026   09:04:34:  Server Started."
    static QString serverStartedLine(const QDateTime &stamp);

    // Four decimal fields 0-255.
    static bool isDottedIPv4(const QString &text);

private:
    static QString stampText(const QDateTime &stamp);
};
