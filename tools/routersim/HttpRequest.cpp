#include "HttpRequest.h"

namespace routersim {

namespace {

bool isTokenChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')
           || QByteArray("!#$%&'*+-.^_`|~").contains(c);
}

bool isToken(const QByteArray &s)
{
    if (s.isEmpty())
        return false;
    for (char c : s)
        if (!isTokenChar(c))
            return false;
    return true;
}

bool fail(QString *error, const char *reason)
{
    if (error)
        *error = QString::fromLatin1(reason);
    return false;
}

} // namespace

bool HttpRequest::plausibleRequestLine(const QByteArray &rawLine, QString *error)
{
    QByteArray line = rawLine;
    if (line.endsWith('\r'))
        line.chop(1);
    const QList<QByteArray> fields = line.split(' ');
    if (fields.size() != 3)
        return fail(error, "request line is not 'METHOD target HTTP/1.x'");
    if (!isToken(fields[0]) || fields[0].size() > 16)
        return fail(error, "bad method");
    const QByteArray &target = fields[1];
    if (target.isEmpty() || target.size() > 4096)
        return fail(error, "bad request target");
    for (char c : target)
        if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7f)
            return fail(error, "control character in request target");
    if (!target.startsWith('/') && !target.startsWith('\\') && !target.toLower().startsWith("http://"))
        return fail(error, "request target is not a path");
    if (fields[2] != "HTTP/1.0" && fields[2] != "HTTP/1.1")
        return fail(error, "unsupported HTTP version");
    return true;
}

std::optional<HttpRequest> HttpRequest::parse(const QByteArray &head, QString *error)
{
    if (head.size() > kMaxHeadSize) {
        fail(error, "request head too large");
        return std::nullopt;
    }
    QList<QByteArray> lines = head.split('\n');
    for (QByteArray &l : lines)
        if (l.endsWith('\r'))
            l.chop(1);
    if (lines.isEmpty() || !plausibleRequestLine(lines.first(), error))
        return std::nullopt;

    HttpRequest r;
    const QList<QByteArray> fields = lines.first().split(' ');
    r.m_method = fields[0];
    r.m_target = fields[1];
    r.m_version = fields[2];
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray &l = lines[i];
        const qsizetype colon = l.indexOf(':');
        // Folded continuation lines are obsolete and refused like any junk.
        if (colon <= 0 || !isToken(l.left(colon))) {
            fail(error, "malformed header field");
            return std::nullopt;
        }
        for (char c : l)
            if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7f) {
                fail(error, "control character in header field");
                return std::nullopt;
            }
        r.m_headers.append({l.left(colon).toLower(), l.mid(colon + 1).trimmed()});
    }
    r.m_split = splitTarget(r.m_target);
    return r;
}

HttpRequest::Target HttpRequest::splitTarget(const QByteArray &rawTarget)
{
    QByteArray target = rawTarget;
    if (target.toLower().startsWith("http://")) {
        const qsizetype slash = target.indexOf('/', 7);
        target = slash < 0 ? QByteArray("/") : target.mid(slash);
    }
    const qsizetype q = target.indexOf('?');
    QByteArray path = q < 0 ? target : target.left(q);
    const QByteArray query = q < 0 ? QByteArray() : target.mid(q + 1);

    QString p = QString::fromLatin1(QByteArray::fromPercentEncoding(path));
    p.replace('\\', '/');
    while (p.startsWith("//"))
        p.remove(0, 1);
    if (!p.startsWith('/'))
        p.prepend('/');

    Target t;
    t.path = p;
    t.query = QUrlQuery(QString::fromLatin1(query));
    return t;
}

QByteArray HttpRequest::header(const QByteArray &name) const
{
    const QByteArray lower = name.toLower();
    for (const auto &h : m_headers)
        if (h.first == lower)
            return h.second;
    return {};
}

} // namespace routersim
