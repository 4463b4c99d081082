#include "common/RouterAddress.h"

#include <QStringList>
#include <QRegularExpression>

bool isDottedIPv4(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (const QString &p : parts) {
        if (p.isEmpty() || p.size() > 3)
            return false;
        for (QChar c : p)
            if (!c.isDigit() || c.unicode() > '9')
                return false;
        if (p.toInt() > 255)
            return false;
    }
    return true;
}

namespace {

struct HostPort {
    QString host;
    QString port;
};

// Host and port as written in the URL; QUrl would rewrite shorthand like "1.2.3".
HostPort splitAuthority(const QString &url)
{
    QString t = url.trimmed();
    const qsizetype scheme = t.indexOf(QLatin1String("://"));
    if (scheme >= 0)
        t = t.mid(scheme + 3);
    const qsizetype end = t.indexOf(QRegularExpression(QStringLiteral("[/?#]")));
    if (end >= 0)
        t.truncate(end);
    const qsizetype at = t.lastIndexOf(QLatin1Char('@'));
    if (at >= 0)
        t = t.mid(at + 1);
    HostPort hp;
    const qsizetype colon = t.lastIndexOf(QLatin1Char(':'));
    if (colon >= 0 && !t.startsWith(QLatin1Char('['))) {
        hp.host = t.left(colon);
        hp.port = t.mid(colon + 1);
    } else {
        hp.host = t;
    }
    return hp;
}

} // namespace

QString GetMainIPAddress(const QString &login)
{
    const QString host = splitAuthority(login).host;
    return isDottedIPv4(host) ? host : QString();
}

QString routerAuthority(const QString &login)
{
    const HostPort hp = splitAuthority(login);
    if (hp.host.isEmpty())
        return {};
    bool ok = false;
    const int port = hp.port.toInt(&ok);
    return ok && port > 0 && port < 65536 ? hp.host + QLatin1Char(':') + QString::number(port) : hp.host;
}
