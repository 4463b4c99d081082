#include "RequestHandler.h"

#include "PageBuilder.h"

namespace routersim {

namespace {

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 500: return "Internal Server Error";
    }
    return "Status";
}

QByteArray errorBody(int status)
{
    const QByteArray text = QByteArray::number(status) + ' ' + reasonPhrase(status);
    return "<html><head><title>" + text + "</title></head><body><h1>" + text + "</h1></body></html>\r\n";
}

} // namespace

RequestHandler::RequestHandler(RouterState &state, AuthPolicy &auth, FailurePlan &failures)
    : m_state(state), m_auth(auth), m_failures(failures)
{
}

QByteArray RequestHandler::response(int status, const QByteArray &body, const QByteArray &extraHeaders,
                                    bool headOnly)
{
    QByteArray wire = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reasonPhrase(status) + "\r\n";
    wire += "Server: routersim\r\nContent-Type: text/html\r\nCache-Control: no-cache\r\n";
    wire += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    wire += extraHeaders;
    // One request per connection keeps the failure modes exact: every
    // request the program makes is a connection the journal can show.
    wire += "Connection: close\r\n\r\n";
    if (!headOnly)
        wire += body;
    return wire;
}

QByteArray RequestHandler::badRequest()
{
    return response(400, errorBody(400));
}

HttpAction RequestHandler::handle(const HttpRequest &request)
{
    HttpAction a;
    const Credentials credentials = AuthPolicy::decode(request.header("authorization"));
    a.credentials = AuthPolicy::describe(credentials);
    const PageKind kind = Profile::resolve(m_profile, request.path(), request.query());
    const bool headOnly = request.method() == "HEAD";
    const QByteArray challenge = "WWW-Authenticate: Basic realm=\"" + Profile::realm(m_profile) + "\"\r\n";

    if (const auto failure = m_failures.take(request.path(), request.query(), kind)) {
        switch (failure->mode) {
        case FailureMode::Down: // only reached by a connection accepted just before
        case FailureMode::Refuse:
            a.kind = HttpAction::Kind::Reset;
            a.result = "refuse";
            return a;
        case FailureMode::Close:
            a.kind = HttpAction::Kind::Close;
            a.result = "close";
            return a;
        case FailureMode::Hang:
            a.kind = HttpAction::Kind::Hang;
            a.result = "hang";
            return a;
        case FailureMode::Unauthorized:
            a.wire = response(401, errorBody(401), challenge, headOnly);
            a.result = "inject-401";
            return a;
        case FailureMode::ServerError:
            a.wire = response(500, errorBody(500), {}, headOnly);
            a.result = "inject-500";
            return a;
        case FailureMode::Empty:
            a.wire = response(200, {}, {}, headOnly);
            a.result = "empty";
            return a;
        case FailureMode::Short: {
            QByteArray page = PageBuilder(m_state).build(m_profile, kind);
            if (page.isEmpty())
                page = errorBody(404);
            a.wire = response(200, page.left(failure->shortLength), {}, headOnly);
            a.result = QString("short:%1").arg(failure->shortLength);
            return a;
        }
        case FailureMode::Before: {
            QByteArray page = PageBuilder(m_state).build(m_profile, kind);
            const qsizetype at = page.indexOf(failure->beforeText);
            if (at >= 0)
                page.truncate(at);
            a.wire = response(200, page, {}, headOnly);
            a.result = "before:" + QString::fromLatin1(failure->beforeText);
            return a;
        }
        }
    }

    if (request.method() != "GET" && request.method() != "HEAD") {
        a.wire = response(405, errorBody(405), "Allow: GET, HEAD\r\n");
        a.result = "405";
        return a;
    }
    if (!m_auth.accepts(credentials)) {
        a.wire = response(401, errorBody(401), challenge, headOnly);
        a.result = "401";
        return a;
    }
    const QByteArray page = PageBuilder(m_state).build(m_profile, kind);
    if (page.isEmpty()) {
        a.wire = response(404, errorBody(404), {}, headOnly);
        a.result = "404";
        return a;
    }
    if (kind == PageKind::Reboot)
        m_state.countReboot();
    else if (kind == PageKind::Debug) {
        m_state.setTelnetEnabled(true);
        if (m_telnetEnabledHook)
            m_telnetEnabledHook();
    }
    a.wire = response(200, page, {}, headOnly);
    a.result = "200";
    return a;
}

} // namespace routersim
