#include "notify/SmtpTransfer.h"

#include "common/RegularFile.h"

#include <QFileInfo>
#include <curl/curl.h>
#include <limits>
#include <mutex>

namespace {

struct Upload {
    const QByteArray *data = nullptr;
    qsizetype pos = 0;
};

struct Session {
    const std::atomic_bool *abort = nullptr;
    const SmtpTransfer::Status *status = nullptr;
    bool greeted = false;
    QString lastReply;
};

size_t readMessage(char *buffer, size_t size, size_t count, void *userp)
{
    auto *u = static_cast<Upload *>(userp);
    const qsizetype room = qsizetype(size * count);
    const qsizetype n = std::min(room, u->data->size() - u->pos);
    if (n <= 0)
        return 0;
    memcpy(buffer, u->data->constData() + u->pos, size_t(n));
    u->pos += n;
    return size_t(n);
}

int progress(void *userp, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<Session *>(userp)->abort->load() ? 1 : 0;
}

// Only what the server says is looked at: the greeting tells us we are
// connected, and its last line explains a refusal. Our own lines (with the
// credentials) are never kept.
int debugTrace(CURL *, curl_infotype type, char *data, size_t size, void *userp)
{
    if (type != CURLINFO_HEADER_IN)
        return 0;
    auto *s = static_cast<Session *>(userp);
    if (!s->greeted) {
        s->greeted = true;
        (*s->status)(QStringLiteral("Connected."));
    }
    const QString text = QString::fromLatin1(data, qsizetype(size));
    const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        const QString t = MailMessage::headerText(line).trimmed();
        if (!t.isEmpty())
            s->lastReply = t.left(200);
    }
    return 0;
}

SmtpError classify(CURLcode code, bool connected)
{
    switch (code) {
    case CURLE_OK:
        return SmtpError::None;
    case CURLE_URL_MALFORMAT:
        return SmtpError::Settings;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
        return SmtpError::Connect;
    case CURLE_OPERATION_TIMEDOUT:
        return SmtpError::Timeout;
    case CURLE_LOGIN_DENIED:
    case CURLE_AUTH_ERROR:
        return SmtpError::Login;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_USE_SSL_FAILED:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
        return SmtpError::Tls;
    case CURLE_ABORTED_BY_CALLBACK:
        return SmtpError::Aborted;
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_UPLOAD_FAILED:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
        return connected ? SmtpError::Rejected : SmtpError::Other;
    default:
        return SmtpError::Other;
    }
}

QByteArray bracketed(const MailAddress &a) { return '<' + a.address.toLatin1() + '>'; }

} // namespace

void SmtpTransfer::globalInit()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::optional<QByteArray> SmtpTransfer::buildMessage(SmtpResult &result) const
{
    MailMessage m;
    m.setFrom(m_job.from);
    m.setTo(m_job.to);
    m.setSubject(m_job.subject);
    m.setBody(m_job.body);
    m.setDate(m_job.date);
    for (const QString &path : m_job.attachmentPaths) {
        QByteArray bytes;
        if (!RegularFile::readAll(path, std::numeric_limits<qint64>::max(), &bytes, nullptr)) {
            result.error = SmtpError::Attachment;
            result.detail = QStringLiteral("Cannot read the attachment ") + path;
            return std::nullopt;
        }
        m.addAttachment({QFileInfo(path).fileName(), bytes});
    }
    return m.toBytes();
}

SmtpResult SmtpTransfer::run(const std::atomic_bool &abort, const Status &status)
{
    SmtpResult result;
    const std::optional<QByteArray> message = buildMessage(result);
    if (!message)
        return result;

    CURL *curl = curl_easy_init();
    if (!curl) {
        result.error = SmtpError::Other;
        result.detail = QStringLiteral("The SMTP client could not be created");
        return result;
    }
    QString host = m_job.host;
    if (host.contains(QLatin1Char(':')))
        host = QLatin1Char('[') + host + QLatin1Char(']');
    const QByteArray url = (m_job.tls == SmtpTls::Implicit ? QByteArrayLiteral("smtps://") : QByteArrayLiteral("smtp://"))
                           + host.toLatin1() + ':' + QByteArray::number(m_job.port);
    const QByteArray mailFrom = m_job.from ? bracketed(*m_job.from) : QByteArrayLiteral("<>");
    curl_slist *rcpts = nullptr;
    for (const MailAddress &a : m_job.to)
        rcpts = curl_slist_append(rcpts, bracketed(a).constData());
    const QByteArray user = m_job.user.toUtf8();
    const QByteArray password = m_job.password.toUtf8();
    const QByteArray caFile = m_job.caFile.toLocal8Bit();

    Upload upload{&*message, 0};
    Session session;
    session.abort = &abort;
    session.status = &status;
    char errbuf[CURL_ERROR_SIZE] = {0};

    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errbuf);
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, long(m_job.connectTimeoutMs));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, long(m_job.totalTimeoutMs));
    curl_easy_setopt(curl, CURLOPT_MAIL_FROM, mailFrom.constData());
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, rcpts);
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, readMessage);
    curl_easy_setopt(curl, CURLOPT_READDATA, &upload);
    curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, curl_off_t(message->size()));
    if (m_job.login) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, password.constData());
        curl_easy_setopt(curl, CURLOPT_LOGIN_OPTIONS, "AUTH=LOGIN");
    }
    curl_easy_setopt(curl, CURLOPT_USE_SSL, long(m_job.tls == SmtpTls::StartTls ? CURLUSESSL_ALL : CURLUSESSL_NONE));
    curl_easy_setopt(curl, CURLOPT_SSLVERSION, long(CURL_SSLVERSION_TLSv1_2));
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, m_job.verifyPeer ? 1L : 0L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, m_job.verifyPeer ? 2L : 0L);
    if (!caFile.isEmpty())
        curl_easy_setopt(curl, CURLOPT_CAINFO, caFile.constData());
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, progress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &session);
    curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, debugTrace);
    curl_easy_setopt(curl, CURLOPT_DEBUGDATA, &session);

    const CURLcode code = curl_easy_perform(curl);
    curl_easy_cleanup(curl); // ends the session (QUIT) and closes the socket
    curl_slist_free_all(rcpts);

    result.connected = session.greeted;
    result.curlCode = int(code);
    result.error = classify(code, session.greeted);
    result.sent = code == CURLE_OK;
    if (!result.sent) {
        result.detail = errbuf[0] ? QString::fromLocal8Bit(errbuf).trimmed()
                                  : QString::fromLatin1(curl_easy_strerror(code));
        if (session.greeted && !session.lastReply.isEmpty())
            result.detail += QStringLiteral(" (") + session.lastReply + QLatin1Char(')');
    }
    return result;
}
