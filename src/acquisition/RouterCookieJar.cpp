#include "acquisition/RouterCookieJar.h"

#include <algorithm>

namespace {

bool hasControlBytes(QByteArrayView text)
{
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7f;
    });
}

// Characters a cookie name cannot hold besides blanks and control bytes.
bool isSeparator(char c)
{
    return QByteArrayView("()<>@,;:\\\"/[]?={} \t").contains(c);
}

bool expired(const RouterCookieJar::Cookie &c, const QDateTime &nowUtc)
{
    return c.expires.isValid() && c.expires <= nowUtc;
}

qsizetype fieldBytes(const std::vector<RouterCookieJar::Cookie> &jar)
{
    qsizetype total = 0;
    for (const auto &c : jar)
        total += (total ? 2 : 0) + c.name.size() + 1 + c.value.size();
    return total;
}

// "Thu, 01 Jan 1970 00:00:00 GMT", and the older "Thu, 01-Jan-1970 00:00:00 GMT".
QDateTime parseExpires(QByteArrayView text)
{
    QString t = QString::fromLatin1(text).trimmed();
    t.replace(QLatin1Char('-'), QLatin1Char(' '));
    if (t.endsWith(QLatin1String(" GMT")) || t.endsWith(QLatin1String(" UTC")))
        t = t.chopped(4) + QStringLiteral(" +0000");
    return QDateTime::fromString(t, Qt::RFC2822Date).toUTC();
}

} // namespace

std::optional<RouterCookieJar::Cookie> RouterCookieJar::parseSetCookie(QByteArrayView value, const QDateTime &nowUtc)
{
    if (hasControlBytes(value))
        return std::nullopt;
    const QList<QByteArray> parts = value.toByteArray().split(';');
    const QByteArray pair = parts.value(0).trimmed();
    const qsizetype eq = pair.indexOf('=');
    Cookie c;
    c.name = pair.left(eq).trimmed();
    c.value = pair.mid(eq + 1).trimmed();
    if (eq <= 0 || c.name.isEmpty() || std::any_of(c.name.begin(), c.name.end(), isSeparator)
        || c.name.size() + 1 + c.value.size() > kMaxFieldBytes)
        return std::nullopt;

    bool maxAgeSeen = false;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QByteArray attribute = parts[i].trimmed();
        const qsizetype aeq = attribute.indexOf('=');
        const QByteArray name = attribute.left(aeq < 0 ? attribute.size() : aeq).trimmed().toLower();
        const QByteArray arg = aeq < 0 ? QByteArray() : attribute.mid(aeq + 1).trimmed();
        if (name == "max-age") {
            // Max-Age wins over Expires; zero or less ends the cookie now.
            bool ok = false;
            const qint64 seconds = arg.toLongLong(&ok);
            if (!ok)
                continue;
            maxAgeSeen = true;
            c.expires = seconds <= 0 ? nowUtc : nowUtc.addSecs(qMin<qint64>(seconds, 400LL * 24 * 3600));
        } else if (name == "expires" && !maxAgeSeen) {
            const QDateTime when = parseExpires(arg);
            if (when.isValid())
                c.expires = when;
        }
    }
    return c;
}

void RouterCookieJar::store(const QString &host, const QList<QByteArray> &setCookies, const QDateTime &nowUtc)
{
    if (setCookies.isEmpty())
        return;
    std::vector<Cookie> &jar = m_hosts[host];
    for (const QByteArray &field : setCookies) {
        std::optional<Cookie> c = parseSetCookie(field, nowUtc);
        if (!c)
            continue;
        std::erase_if(jar, [&](const Cookie &old) { return old.name == c->name; });
        if (!expired(*c, nowUtc))
            jar.push_back(std::move(*c)); // the newest goes last
    }
    std::erase_if(jar, [&](const Cookie &old) { return expired(old, nowUtc); });
    while (!jar.empty() && (jar.size() > size_t(kMaxCookies) || fieldBytes(jar) > kMaxFieldBytes))
        jar.erase(jar.begin());
    if (jar.empty())
        m_hosts.erase(host);
}

QByteArray RouterCookieJar::header(const QString &host, const QDateTime &nowUtc) const
{
    const auto it = m_hosts.find(host);
    QByteArray line;
    if (it == m_hosts.end())
        return line;
    for (const Cookie &c : it->second) {
        if (!expired(c, nowUtc))
            line += (line.isEmpty() ? "" : "; ") + c.name + '=' + c.value;
    }
    return line;
}

void RouterCookieJar::clear(const QString &host)
{
    m_hosts.erase(host);
}

qsizetype RouterCookieJar::count(const QString &host) const
{
    const auto it = m_hosts.find(host);
    return it == m_hosts.end() ? 0 : qsizetype(it->second.size());
}

bool RouterCookieJar::rejects(int status)
{
    // Bad request, unauthorised, forbidden, request head too large: whatever
    // the jar holds may be why, and the next request starts without it.
    return status == 400 || status == 401 || status == 403 || status == 431;
}
