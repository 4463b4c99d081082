#include "webserver/WebRequestHandler.h"

#include "common/AnsiCodec.h"
#include "common/Clock.h"
#include "webserver/AccessLog.h"
#include "webserver/BlockedList.h"
#include "webserver/MimeTypes.h"
#include "webserver/WebPathResolver.h"

#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

namespace {

// Time taken does not depend on where the first difference is.
bool sameSecret(const QByteArray &a, const QByteArray &b)
{
    unsigned char diff = a.size() == b.size() ? 0 : 1;
    const qsizetype n = qMax(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char x = i < a.size() ? a[i] : 0;
        const char y = i < b.size() ? b[i] : 0;
        diff |= static_cast<unsigned char>(x ^ y);
    }
    return diff == 0;
}

// Browsers send UTF-8, or the Windows code page the settings file keeps; the
// received bytes must equal the setting in one of them. An encoding that
// cannot hold every character of the setting is not tried: it would stand a
// "?" in for the rest.
bool matches(const QByteArray &received, const QString &setting)
{
    const QByteArray utf8 = setting.toUtf8();
    const bool utf8Exact = QString::fromUtf8(utf8) == setting;
    bool cp1252Exact = false;
    const QByteArray cp1252 = ansi::encodeCp1252(setting, &cp1252Exact);
    // Both compared every time: how long it takes does not tell which came close.
    const bool byUtf8 = sameSecret(received, utf8) && utf8Exact;
    const bool byCp1252 = sameSecret(received, cp1252) && cp1252Exact;
    return byUtf8 || byCp1252;
}

bool isRegularFile(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

WebReply page(int status, const QByteArray &body)
{
    WebReply r;
    r.status = status;
    r.body = body;
    r.contentType = QStringLiteral("text/html");
    return r;
}

WebReply blockedReply()
{
    WebReply r;
    r.status = 403;
    return r;
}

} // namespace

bool WebRequestHandler::methodAllowed(const QString &method)
{
    return method == QLatin1String("GET") || method == QLatin1String("HEAD");
}

bool WebRequestHandler::authorised(const WebServerSettings &s, const QByteArray &user, const QByteArray &password)
{
    if (!s.webAuth)
        return true;
    const bool userOk = matches(user, s.webUser);
    const bool passOk = matches(password, s.webPassword);
    return userOk && passOk;
}

QByteArray WebRequestHandler::authFailedPage()
{
    return QByteArrayLiteral("<html><head><title>Error</title></head><body><h1>Authentication failed</h1></body></html>");
}

QByteArray WebRequestHandler::accessDeniedPage()
{
    return QByteArrayLiteral("<html><head><title>Error</title></head><body><h1>Access denied</h1>\r"
                             "You do not have sufficient priviliges to access this <i>Veltrano</i>  document."
                             "</body></html>");
}

QByteArray WebRequestHandler::statusText(int status)
{
    switch (status) {
    case 401: return QByteArrayLiteral("Unauthorized");
    case 403: return QByteArrayLiteral("Forbidden");
    case 404: return QByteArrayLiteral("Not Found");
    case 500: return QByteArrayLiteral("Internal Server Error");
    case 501: return QByteArrayLiteral("Not Implemented");
    default: return QByteArray::number(status);
    }
}

QByteArray WebRequestHandler::errorPage(int status)
{
    return QByteArrayLiteral("<html><head><title>Error</title></head><body><h1>") + statusText(status)
           + QByteArrayLiteral("</h1></body></html>");
}

bool WebRequestHandler::neverServed(const QString &path, const WebServerSettings &s)
{
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    if (name.endsWith(QLatin1String(".tmp"), Qt::CaseInsensitive)
        || name.compare(BlockedList::fileName(), Qt::CaseInsensitive) == 0)
        return true;
    if (s.settingsFile.isEmpty())
        return false;
    // The file and whatever a save writes beside it under its name.
    const QFileInfo ini(s.settingsFile);
    for (const QString &p : {ini.absoluteFilePath(), ini.canonicalFilePath()}) {
        if (p.isEmpty())
            continue;
        if (path == p || path.startsWith(p + QLatin1Char('.')))
            return true;
    }
    return false;
}

bool WebRequestHandler::basicCredentials(const QByteArray &authorization, QByteArray *user, QByteArray *password)
{
    const QByteArray value = authorization.trimmed();
    const qsizetype space = value.indexOf(' ');
    if (space < 0 || value.left(space).toLower() != "basic")
        return false;
    const auto decoded = QByteArray::fromBase64Encoding(value.mid(space + 1).trimmed(),
                                                        QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return false;
    const qsizetype colon = decoded.decoded.indexOf(':');
    if (colon < 0)
        return false;
    // Every byte counts: a NUL in the secret does not end it.
    *user = decoded.decoded.left(colon);
    *password = decoded.decoded.mid(colon + 1);
    return true;
}

WebReply WebRequestHandler::respond(const WebServerSettings &s, const WebRequest &r, BlockedList &blockedList)
{
    // No page, or its folder gone: nothing to serve.
    const QFileInfo pageInfo(s.webPage);
    const QString root = pageInfo.isAbsolute() ? QFileInfo(pageInfo.absolutePath()).canonicalFilePath() : QString();
    if (root.isEmpty())
        return page(404, errorPage(404));

    const WebPathResolver::Result file = WebPathResolver::resolve(root, r.document);
    if (!file.inside)
        return page(403, accessDeniedPage());
    if (!file.isRoot && !file.inRootFolder && !s.allowSubFolders)
        return page(403, accessDeniedPage());

    const bool exists = file.exists && !file.isRoot && isRegularFile(file.path);
    // The list decides only whether an existing file is sent: anything else
    // is answered as for everybody.
    bool blocked = false;
    if (exists && s.useBlocked) {
        bool firstFailure = false;
        switch (blockedList.check(root + QLatin1Char('/') + BlockedList::fileName(), r.clientAddress, &firstFailure)) {
        case BlockedList::Check::Listed: blocked = true; break;
        case BlockedList::Check::NotListed: break;
        case BlockedList::Check::ReadError: {
            // Every request fails; a lasting fault is reported once.
            WebReply e = page(500, errorPage(500));
            e.serverError = firstFailure;
            return e;
        }
        }
    }
    QString logLine;
    if (exists && s.logWeb && s.showSystem && !(blocked && s.dontLogBlocked))
        logLine = AccessLog::line(Clock::currentDateTime(), r.method, r.document, r.clientAddress, r.clientPort,
                                  blocked);

    WebReply reply;
    if (blocked)
        reply = blockedReply();
    else if (neverServed(file.path, s))
        reply = page(403, accessDeniedPage());
    else if (!exists)
        reply = page(404, errorPage(404));
    else {
        reply.status = 200;
        reply.filePath = file.path;
        reply.contentType = MimeTypes::GetMIMEType(file.path);
    }
    reply.logLine = logLine;
    return reply;
}
