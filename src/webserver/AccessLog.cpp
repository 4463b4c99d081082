#include "webserver/AccessLog.h"

#include "common/DateTimePattern.h"
#include "common/VisibleText.h"

QString AccessLog::stampText(const QDateTime &stamp)
{
    return QStringLiteral("  ") + dtp::format(QStringLiteral("ddd dd mmm yyyy   hh:nn:ss:"), stamp)
           + QStringLiteral("  ");
}

QString AccessLog::line(const QDateTime &stamp, const QString &command, const QString &document,
                        const QString &address, quint16 port, bool blocked)
{
    QString text = stampText(stamp)
                   + QStringLiteral("Command %1 %2 received from %3:%4")
                         .arg(VisibleText::escaped(command), VisibleText::escaped(document), address)
                         .arg(port);
    if (blocked)
        text += QStringLiteral(" -- IP blocked. File not sent");
    return text;
}

QString AccessLog::serverStartedLine(const QDateTime &stamp)
{
    return stampText(stamp) + QStringLiteral("Server Started.");
}

bool AccessLog::isDottedIPv4(const QString &text)
{
    const QStringList fields = text.split(QLatin1Char('.'));
    if (fields.size() != 4)
        return false;
    for (const QString &f : fields) {
        if (f.isEmpty() || f.size() > 3)
            return false;
        for (QChar c : f)
            if (c < u'0' || c > u'9')
                return false;
        if (f.toInt() > 255)
            return false;
    }
    return true;
}
