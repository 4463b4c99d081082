#include "webserver/WebServer.h"

#include "common/LineBuffer.h"
#include "webserver/BlockedList.h"
#include "webserver/SocketProgress.h"
#include "webserver/WebRequestHandler.h"
#include "webserver/WebServing.h"

#include <QFile>
#include <QHostAddress>
#include <QNetworkInterface>
#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <future>
#include <microhttpd.h>
#include <mutex>
#include <optional>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <unordered_map>

// What the connection threads share with the window thread for the server's
// whole life: the settings copy and the buffer of lines and errors on their
// way to the window.
struct WebServer::Shared {
    mutable std::mutex settingsMutex;
    WebServerSettings settings;
    std::mutex ownerMutex;
    WebServer *owner = nullptr; // cleared before the server object goes away
    LineBuffer accessLines{100000};
    std::mutex errorMutex;
    QStringList errors; // distinct texts waiting for the next batch

    WebServerSettings snapshot() const
    {
        std::lock_guard lock(settingsMutex);
        return settings;
    }
    // One queued wake per batch: only the line or error that finds the
    // buffer empty posts one.
    void wake()
    {
        std::lock_guard lock(ownerMutex);
        if (owner)
            QMetaObject::invokeMethod(owner, [o = owner] { o->scheduleFlush(); }, Qt::QueuedConnection);
    }
    // The address rides in front of its line; an escaped line holds no line end.
    void accessLogged(const AccessLogEntry &entry)
    {
        if (accessLines.push(entry.address + QLatin1Char('\n') + entry.line))
            wake();
    }
    void serverError(const QString &detail)
    {
        bool first = false;
        {
            std::lock_guard lock(errorMutex);
            if (errors.contains(detail))
                return;
            first = errors.isEmpty();
            errors.append(detail);
        }
        if (first)
            wake();
    }
    QStringList takeErrors()
    {
        std::lock_guard lock(errorMutex);
        return std::exchange(errors, {});
    }
};

// One per started daemon; the thread that shuts a daemon down keeps it alive
// until the last connection thread has finished with it.
struct WebServer::DaemonContext {
    std::shared_ptr<Shared> shared;
    // Each start reports a blocked list that cannot be read afresh.
    BlockedList blockedList;
    std::atomic<bool> stopping{false};
    std::mutex logMutex;
    QString lastLog;

    // Every connection is watched: while it waits for a request head, that
    // head has a deadline of its own; while it is answered, the reply must
    // keep pace with the minimum rate, reckoned from what the client has
    // taken so far, so a large file earns no time it does not use. A reply
    // that falls behind by idleReply counts as idle, like a connection
    // waiting for its next request: at a limit either may make room for a
    // new client. A connection still waiting for its first request makes
    // room only for its own address: its client may be a round trip away
    // from sending it. One that falls behind by replyGrace is given up. A
    // connection whose time is up, or that must make room, is shut down.
    // The entry goes, under the same lock, before libmicrohttpd closes the
    // socket, so a shut-down never meets a reused descriptor.
    using TimePoint = std::chrono::steady_clock::time_point;
    struct Watch {
        int fd = -1;
        QString address;
        bool waitingForHead = true;
        bool closing = false;
        TimePoint headDeadline;
        TimePoint waitingSince; // for a head
        TimePoint behindSince;  // the reply has kept pace up to here
        quint64 taken = 0;      // bytes the client had taken at the last look
        quint64 order = 0;      // ties: the older connection first
        bool seated = false;    // holds one of the maxUsers places
        bool served = false;    // has had a request: now waits for its next one
        bool headIn = false;    // waits for a place with its request head in
    };
    std::chrono::milliseconds headDeadline{5000};
    std::chrono::milliseconds replyGrace{10000};
    std::chrono::milliseconds idleReply{3000};
    qint64 minSendRate = 16 * 1024;
    int maxUsers = 10;
    int perClientLimit = 5;
    std::mutex watchMutex;
    std::condition_variable watchWake;
    std::condition_variable seatWake;
    std::unordered_map<MHD_Connection *, Watch> watched;
    quint64 connections = 0;
    bool watchStop = false;
    std::thread watchdog;

    ~DaemonContext() { stopWatchdog(); }

    static void shutDown(Watch &w)
    {
        w.closing = true;
        ::shutdown(w.fd, SHUT_RDWR);
    }
    // What each client took since the last look moves its reply's mark on,
    // at the minimum rate and never past now: time not used is not banked.
    // Where the system cannot tell, a reply counts as keeping pace and only
    // libmicrohttpd's own time-out ends a stalled one.
    void measure(TimePoint now)
    {
        for (auto &entry : watched)
            measure(entry.second, now);
    }
    void measure(Watch &w, TimePoint now) const
    {
        if (w.closing)
            return;
        quint64 taken = 0;
        const bool known = SocketProgress::bytesTaken(w.fd, &taken);
        if (w.waitingForHead) {
            w.taken = known ? taken : w.taken;
            return;
        }
        if (!known) {
            w.behindSince = now;
            return;
        }
        if (taken > w.taken) {
            // Within a day's worth, so the arithmetic cannot overflow.
            const quint64 rate = quint64(qMax<qint64>(1, minSendRate));
            const quint64 bytes = qMin<quint64>(taken - w.taken, rate * 86400);
            w.behindSince = qMin(now, w.behindSince + std::chrono::microseconds(qint64(bytes * 1000000 / rate)));
            w.taken = taken;
        }
    }
    // How long a connection has been idle, or nothing when it is not: a
    // reply that keeps pace is busy, and so, unless firstHeadIdle, is a
    // connection within the deadline for its first request head.
    std::optional<TimePoint> idleSince(const Watch &w, TimePoint now, bool firstHeadIdle) const
    {
        if (w.waitingForHead)
            return w.served || firstHeadIdle ? std::optional(w.waitingSince) : std::nullopt;
        if (now - w.behindSince >= idleReply)
            return w.behindSince;
        return std::nullopt;
    }
    void waitForHead(MHD_Connection *c)
    {
        std::lock_guard lock(watchMutex);
        const TimePoint now = std::chrono::steady_clock::now();
        auto it = watched.find(c);
        if (it != watched.end()) {
            measure(it->second, now);
            it->second.served = true;
            it->second.waitingForHead = true;
            it->second.headDeadline = now + headDeadline;
            it->second.waitingSince = now;
        }
    }
    // The head is in and the connection has a place: the reply starts where
    // the connection's last one left off, less the time spent waiting for the
    // client. A client that sends its requests ahead and reads none of the
    // replies stays behind.
    static void startReply(Watch &w, TimePoint now)
    {
        w.waitingForHead = false;
        w.headIn = false;
        w.behindSince = qMin(now, w.behindSince + (now - w.waitingSince));
    }
    // A new connection: when that makes more than its address may hold, the
    // address's connections idle longest go, those still waiting for their
    // first request included (the new one too, when no other of them is
    // idle): an address only ever displaces its own. Then it takes a place:
    // see seat().
    void admit(MHD_Connection *c, int fd, const QString &address)
    {
        std::lock_guard lock(watchMutex);
        const TimePoint now = std::chrono::steady_clock::now();
        measure(now);
        Watch &added = watched[c];
        added.fd = fd;
        added.address = address;
        added.headDeadline = now + headDeadline;
        added.waitingSince = now;
        added.behindSince = now;
        added.order = ++connections;
        SocketProgress::bytesTaken(fd, &added.taken);
        const auto ofAddress = [&address](const Watch &w) { return w.address == address; };
        qsizetype live = 0;
        for (const auto &entry : watched)
            live += !entry.second.closing && ofAddress(entry.second);
        for (; live > perClientLimit; --live) {
            Watch *idle = idlest(now, true, ofAddress);
            if (!idle)
                break;
            shutDown(*idle);
        }
        seat(now);
    }
    // The live connection that passes `among` and has been idle longest.
    template<typename Among>
    Watch *idlest(TimePoint now, bool firstHeadIdle, Among among)
    {
        Watch *oldest = nullptr;
        TimePoint oldestSince;
        for (auto &[connection, w] : watched) {
            const std::optional<TimePoint> since
                = !w.closing && among(w) ? idleSince(w, now, firstHeadIdle) : std::nullopt;
            if (since && (!oldest || *since < oldestSince || (*since == oldestSince && w.order < oldest->order))) {
                oldest = &w;
                oldestSince = *since;
            }
        }
        return oldest;
    }
    // New connections take places: a free one, or that of the seated
    // connection idle longest; one given its place a moment ago and still
    // within its first head's deadline keeps it. One that finds none waits,
    // until its head deadline, for a place to come free or fall idle; a
    // place goes to the waiting connection whose address holds fewest, the
    // oldest first, so an address that keeps opening connections does not
    // queue ahead of others.
    void seat(TimePoint now)
    {
        for (;;) {
            std::unordered_map<QString, int> held;
            int seated = 0;
            for (const auto &[connection, w] : watched)
                if (!w.closing && w.seated) {
                    ++held[w.address];
                    ++seated;
                }
            Watch *next = nullptr;
            for (auto &[connection, w] : watched) {
                if (w.closing || w.seated)
                    continue;
                if (!next || held[w.address] < held[next->address]
                    || (held[w.address] == held[next->address] && w.order < next->order))
                    next = &w;
            }
            if (!next)
                return;
            if (seated >= maxUsers) {
                Watch *idle = idlest(now, false, [](const Watch &w) { return w.seated; });
                if (!idle)
                    return;
                shutDown(*idle);
            }
            next->seated = true;
            if (next->headIn)
                startReply(*next, now); // busy from now: no later newcomer takes its place
            seatWake.notify_all();
        }
    }
    // The connection's thread, its head in: true once it has a place and its
    // reply's time runs; false when it is shut down or the server stops first.
    bool awaitSeat(MHD_Connection *c)
    {
        std::unique_lock lock(watchMutex);
        for (;;) {
            const auto it = watched.find(c);
            if (stopping.load() || (it != watched.end() && it->second.closing))
                return false;
            if (it == watched.end())
                return true;
            Watch &w = it->second;
            if (w.seated) {
                if (w.waitingForHead)
                    startReply(w, std::chrono::steady_clock::now());
                return true;
            }
            w.headIn = true;
            seatWake.wait_for(lock, std::chrono::milliseconds(100));
        }
    }
    void closed(MHD_Connection *c)
    {
        std::lock_guard lock(watchMutex);
        watched.erase(c);
        seat(std::chrono::steady_clock::now());
    }

    void startWatchdog()
    {
        watchdog = std::thread([this] {
            std::unique_lock lock(watchMutex);
            while (!watchStop) {
                const TimePoint now = std::chrono::steady_clock::now();
                measure(now);
                for (auto &[connection, w] : watched)
                    if (!w.closing
                        && (w.waitingForHead ? w.headDeadline <= now : now - w.behindSince >= replyGrace))
                        shutDown(w);
                seat(now);
                watchWake.wait_for(lock, std::chrono::milliseconds(100));
            }
        });
    }
    void stopWatchdog()
    {
        {
            std::lock_guard lock(watchMutex);
            watchStop = true;
        }
        watchWake.notify_all();
        if (watchdog.joinable())
            watchdog.join();
    }
};

namespace {

struct RequestState {
    bool answered = false; // the reply is queued
    bool counted = false;  // counted in WebServing until the request completes
};

QString errnoText(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

void clientOf(MHD_Connection *connection, QString *address, quint16 *port)
{
    const MHD_ConnectionInfo *info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
    if (!info || !info->client_addr)
        return;
    const sockaddr *sa = info->client_addr;
    QHostAddress host(sa);
    bool mapped = false;
    const quint32 v4 = host.toIPv4Address(&mapped);
    if (mapped)
        host.setAddress(v4);
    *address = host.toString();
    if (sa->sa_family == AF_INET)
        *port = ntohs(reinterpret_cast<const sockaddr_in *>(sa)->sin_port);
    else if (sa->sa_family == AF_INET6)
        *port = ntohs(reinterpret_cast<const sockaddr_in6 *>(sa)->sin6_port);
}

MHD_Response *bufferResponse(const QByteArray &body, const QString &contentType)
{
    MHD_Response *r = MHD_create_response_from_buffer(size_t(body.size()), const_cast<char *>(body.constData()),
                                                      MHD_RESPMEM_MUST_COPY);
    if (r && !contentType.isEmpty())
        MHD_add_response_header(r, MHD_HTTP_HEADER_CONTENT_TYPE, contentType.toLatin1().constData());
    return r;
}

MHD_Result queue(MHD_Connection *connection, unsigned int status, MHD_Response *response)
{
    if (!response)
        return MHD_NO;
    const MHD_Result ret = MHD_queue_response(connection, status, response);
    MHD_destroy_response(response);
    return ret;
}

// The file as it is now; a file that stopped being a regular file since the
// handler looked is not sent.
MHD_Response *fileResponse(const QString &path, bool *gone)
{
    *gone = false;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (fd >= 0)
            ::close(fd);
        *gone = true;
        return nullptr;
    }
    if (st.st_size == 0) {
        ::close(fd);
        return MHD_create_response_from_buffer(0, nullptr, MHD_RESPMEM_PERSISTENT);
    }
    MHD_Response *r = MHD_create_response_from_fd64(uint64_t(st.st_size), fd);
    if (!r)
        ::close(fd);
    return r;
}

// A request that says a body follows. Only GET and HEAD are served, and
// neither needs one.
bool bodyAnnounced(MHD_Connection *connection)
{
    if (MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_TRANSFER_ENCODING))
        return true;
    const char *length = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_LENGTH);
    return length && QByteArray(length).trimmed() != "0";
}

} // namespace

// The libmicrohttpd callbacks, with access to the server's private parts.
struct WebServerDetail {
    static MHD_Result onRequest(void *cls, MHD_Connection *connection, const char *url, const char *method,
                                const char *version, const char *uploadData, size_t *uploadSize, void **reqCls)
    {
        auto *ctx = static_cast<WebServer::DaemonContext *>(cls);
        if (!*reqCls) {
            // The head is in: once the connection has a place, the reply's time runs.
            if (!ctx->awaitSeat(connection))
                return MHD_NO;
            auto *state = new RequestState;
            *reqCls = state;
            if (ctx->stopping.load())
                return MHD_NO;
            // Without a body the reply waits for the next call: queued on the
            // first one, libmicrohttpd would close the connection after it.
            // With one, that is what is wanted: the body is never waited for.
            if (!bodyAnnounced(connection))
                return MHD_YES;
            return answer(ctx, connection, url, method, state);
        }
        auto *state = static_cast<RequestState *>(*reqCls);
        if (*uploadSize != 0 || state->answered) {
            // A body is not wanted: let it pass.
            *uploadSize = 0;
            return MHD_YES;
        }
        return answer(ctx, connection, url, method, state);
    }

    static MHD_Result answer(WebServer::DaemonContext *ctx, MHD_Connection *connection, const char *url,
                             const char *method, RequestState *state)
    {
        state->answered = true;
        if (ctx->stopping.load())
            return MHD_NO;

        const WebServerSettings s = ctx->shared->snapshot();
        const QString command = QString::fromLatin1(method);
        if (!WebRequestHandler::methodAllowed(command)) {
            MHD_Response *r = bufferResponse(WebRequestHandler::errorPage(501), QStringLiteral("text/html"));
            if (r)
                MHD_add_response_header(r, MHD_HTTP_HEADER_ALLOW, "GET, HEAD");
            return queue(connection, 501, r);
        }

        // Decoded here, not by libmicrohttpd: its C strings end a secret at a NUL.
        QByteArray userBytes;
        QByteArray passwordBytes;
        if (const char *header = MHD_lookup_connection_value(connection, MHD_HEADER_KIND,
                                                             MHD_HTTP_HEADER_AUTHORIZATION))
            WebRequestHandler::basicCredentials(QByteArray(header), &userBytes, &passwordBytes);
        if (!WebRequestHandler::authorised(s, userBytes, passwordBytes)) {
            MHD_Response *r = bufferResponse(WebRequestHandler::authFailedPage(), QStringLiteral("text/html"));
            if (!r)
                return MHD_NO;
            const MHD_Result ret = MHD_queue_basic_auth_fail_response(connection, WebRequestHandler::Realm, r);
            MHD_destroy_response(r);
            return ret;
        }

        if (!s.imageWithoutServer) {
            WebServing::enter();
            state->counted = true;
        }
        WebRequest request;
        request.method = command;
        request.document = QString::fromUtf8(url);
        clientOf(connection, &request.clientAddress, &request.clientPort);
        const WebReply reply = WebRequestHandler::respond(s, request, ctx->blockedList);
        if (!reply.logLine.isEmpty())
            ctx->shared->accessLogged({reply.logLine, request.clientAddress});
        if (reply.serverError)
            ctx->shared->serverError(QStringLiteral("The blocked-address list could not be read."));

        if (reply.status == 200 && !reply.filePath.isEmpty()) {
            bool gone = false;
            MHD_Response *r = fileResponse(reply.filePath, &gone);
            if (gone)
                return queue(connection, 404,
                             bufferResponse(WebRequestHandler::errorPage(404), QStringLiteral("text/html")));
            if (!r) {
                ctx->shared->serverError(QStringLiteral("The reply could not be made."));
                return MHD_NO;
            }
            MHD_add_response_header(r, MHD_HTTP_HEADER_CONTENT_TYPE, reply.contentType.toLatin1().constData());
            return queue(connection, 200, r);
        }
        return queue(connection, unsigned(reply.status), bufferResponse(reply.body, reply.contentType));
    }

    static void onCompleted(void *cls, MHD_Connection *connection, void **reqCls, MHD_RequestTerminationCode toe)
    {
        // Kept alive, the connection now waits for its next head.
        static_cast<WebServer::DaemonContext *>(cls)->waitForHead(connection);
        auto *state = static_cast<RequestState *>(*reqCls);
        if (!state)
            return;
        if (state->counted)
            WebServing::leave();
        delete state;
        *reqCls = nullptr;
    }

    static void onConnection(void *cls, MHD_Connection *connection, void **, MHD_ConnectionNotificationCode toe)
    {
        auto *ctx = static_cast<WebServer::DaemonContext *>(cls);
        if (toe == MHD_CONNECTION_NOTIFY_CLOSED) {
            ctx->closed(connection);
            return;
        }
        const MHD_ConnectionInfo *info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
        QString address;
        quint16 port = 0;
        clientOf(connection, &address, &port);
        if (info)
            ctx->admit(connection, info->connect_fd, address);
    }

    static void onLog(void *cls, const char *format, va_list ap)
    {
        auto *ctx = static_cast<WebServer::DaemonContext *>(cls);
        if (!format)
            return;
        char text[512];
        std::vsnprintf(text, sizeof text, format, ap);
        std::lock_guard lock(ctx->logMutex);
        ctx->lastLog = QString::fromLocal8Bit(text).trimmed();
    }
};

int WebServerConfig::effectivePerClientLimit() const
{
    const int users = qMax(1, maxUsers);
    if (perClientLimit > 0)
        return qMin(perClientLimit, users);
    return qMax(1, users / 2);
}

WebServer::WebServer(QObject *parent) : QObject(parent), m_shared(std::make_shared<Shared>())
{
    m_shared->owner = this;
    m_flushTimer.setSingleShot(true);
    m_flushTimer.setInterval(100);
    connect(&m_flushTimer, &QTimer::timeout, this, &WebServer::flushNow);
}

void WebServer::scheduleFlush()
{
    if (!m_flushTimer.isActive())
        m_flushTimer.start();
}

void WebServer::flushNow()
{
    m_flushTimer.stop();
    const QStringList lines = m_shared->accessLines.takeAll();
    m_shared->accessLines.takeDropped();
    if (!lines.isEmpty()) {
        QList<AccessLogEntry> entries;
        entries.reserve(lines.size());
        for (const QString &l : lines) {
            const qsizetype cut = l.indexOf(QLatin1Char('\n'));
            entries.append({l.mid(cut + 1), l.left(cut)});
        }
        emit accessLogBatch(entries);
    }
    for (const QString &error : m_shared->takeErrors())
        emit serverError(error);
}

WebServer::~WebServer()
{
    {
        std::lock_guard lock(m_shared->ownerMutex);
        m_shared->owner = nullptr;
    }
    stop();
}

void WebServer::setSettings(const WebServerSettings &settings)
{
    std::lock_guard lock(m_shared->settingsMutex);
    m_shared->settings = settings;
}

WebServerSettings WebServer::settings() const { return m_shared->snapshot(); }

QStringList WebServer::localAddresses()
{
    QStringList list;
    for (const QHostAddress &a : QNetworkInterface::allAddresses())
        if (a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback() && !list.contains(a.toString()))
            list.append(a.toString());
    return list;
}

QString WebServer::defaultAddress()
{
    const QStringList own = localAddresses();
    return own.isEmpty() ? QStringLiteral("127.0.0.1") : own.first();
}

bool WebServer::start(const WebServerConfig &config, QString *error)
{
    if (m_daemon)
        return true;
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };

    QString text = config.address.trimmed();
    if (text.isEmpty())
        text = defaultAddress();
    QHostAddress host;
    if (!host.setAddress(text)
        || (host.protocol() != QAbstractSocket::IPv4Protocol && host.protocol() != QAbstractSocket::IPv6Protocol))
        return fail(QStringLiteral("Invalid server address %1").arg(text));
    if (config.port < 0 || config.port > 65535)
        return fail(QStringLiteral("Invalid port %1").arg(config.port));

    sockaddr_storage ss {};
    socklen_t len = 0;
    const bool v6 = host.protocol() == QAbstractSocket::IPv6Protocol;
    if (v6) {
        auto *a = reinterpret_cast<sockaddr_in6 *>(&ss);
        a->sin6_family = AF_INET6;
        a->sin6_port = htons(quint16(config.port));
        const Q_IPV6ADDR raw = host.toIPv6Address();
        std::memcpy(&a->sin6_addr, raw.c, sizeof raw.c);
        a->sin6_scope_id = host.scopeId().toUInt();
        len = sizeof(sockaddr_in6);
    } else {
        auto *a = reinterpret_cast<sockaddr_in *>(&ss);
        a->sin_family = AF_INET;
        a->sin_port = htons(quint16(config.port));
        a->sin_addr.s_addr = htonl(host.toIPv4Address());
        len = sizeof(sockaddr_in);
    }

    // Our own socket, so a bind failure has its own reason and port 0 its port.
    const int fd = ::socket(ss.ss_family, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return fail(QStringLiteral("Could not create socket. ") + errnoText(errno));
    const int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (::bind(fd, reinterpret_cast<sockaddr *>(&ss), len) != 0 || ::listen(fd, SOMAXCONN) != 0) {
        const int err = errno;
        ::close(fd);
        return fail(QStringLiteral("Could not bind socket. ") + errnoText(err));
    }
    sockaddr_storage bound {};
    socklen_t boundLen = sizeof bound;
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&bound), &boundLen);
    const int port = v6 ? ntohs(reinterpret_cast<sockaddr_in6 *>(&bound)->sin6_port)
                        : ntohs(reinterpret_cast<sockaddr_in *>(&bound)->sin_port);

    auto ctx = std::make_shared<DaemonContext>();
    ctx->shared = m_shared;
    ctx->headDeadline = std::chrono::milliseconds(qMax(1, config.headDeadlineMs));
    ctx->replyGrace = std::chrono::milliseconds(qMax(1, config.replyGraceMs));
    ctx->idleReply = std::chrono::milliseconds(qBound(1, config.idleReplyMs, qMax(1, config.replyGraceMs)));
    ctx->minSendRate = qMax(1, config.minSendRate);
    ctx->maxUsers = qMax(1, config.maxUsers);
    ctx->perClientLimit = config.effectivePerClientLimit();
    m_shared->accessLines.setCapacity(qMax(1, config.accessLogCapacity));
    m_flushTimer.setInterval(qMax(1, config.batchIntervalMs));
    // The daemon gets a duplicate; whether or not a failed start closed it,
    // the descriptor we kept tells which socket is ours.
    struct stat ours {};
    ::fstat(fd, &ours);
    const int daemonFd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    unsigned int flags = MHD_USE_THREAD_PER_CONNECTION | MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_ITC
                         | MHD_USE_ERROR_LOG | MHD_USE_AUTO;
    if (v6)
        flags |= MHD_USE_IPv6;
    MHD_Daemon *d = daemonFd < 0
                        ? nullptr
                        : MHD_start_daemon(
                              flags, 0, nullptr, nullptr, &WebServerDetail::onRequest, ctx.get(),
                              MHD_OPTION_LISTEN_SOCKET, MHD_socket(daemonFd),
                              // Ample room above maxUsers for the connections on their
                              // way out (those made room for can take a moment to close)
                              // and for those waiting a few seconds for a place.
                              MHD_OPTION_CONNECTION_LIMIT, static_cast<unsigned int>(4 * qMax(1, config.maxUsers) + 64),
                              MHD_OPTION_CONNECTION_TIMEOUT,
                              static_cast<unsigned int>(qMax(1, config.connectionTimeoutSecs)),
                              MHD_OPTION_NOTIFY_COMPLETED, &WebServerDetail::onCompleted, ctx.get(),
                              MHD_OPTION_NOTIFY_CONNECTION, &WebServerDetail::onConnection, ctx.get(),
                              MHD_OPTION_EXTERNAL_LOGGER, &WebServerDetail::onLog, ctx.get(), MHD_OPTION_END);
    if (!d) {
        const int err = errno;
        struct stat st {};
        if (daemonFd >= 0 && ::fstat(daemonFd, &st) == 0 && st.st_dev == ours.st_dev && st.st_ino == ours.st_ino)
            ::close(daemonFd);
        ::close(fd);
        std::lock_guard lock(ctx->logMutex);
        return fail(ctx->lastLog.isEmpty() ? QStringLiteral("The server could not start. ") + errnoText(err)
                                           : ctx->lastLog);
    }
    ::close(fd);
    ctx->startWatchdog();
    m_daemon = d;
    m_context = std::move(ctx);
    m_address = host.toString();
    m_port = port;
    m_stopWaitMs = qMax(0, config.stopWaitMs);
    return true;
}

bool WebServer::stop()
{
    if (!m_daemon)
        return true;
    MHD_Daemon *d = m_daemon;
    m_daemon = nullptr;
    std::shared_ptr<DaemonContext> ctx = std::move(m_context);
    m_address.clear();
    m_port = 0;
    ctx->stopping.store(true);
    ctx->seatWake.notify_all();

    // libmicrohttpd joins every connection thread; a thread stuck somewhere
    // must not hold the window, so the join runs aside and is waited for a while.
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> finished = done->get_future();
    std::thread([d, ctx, done] {
        MHD_stop_daemon(d);
        ctx->stopWatchdog();
        done->set_value();
    }).detach();
    return finished.wait_for(std::chrono::milliseconds(m_stopWaitMs)) == std::future_status::ready;
}
