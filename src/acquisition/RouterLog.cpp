#include "acquisition/RouterLog.h"

#include "common/RouterAddress.h"
#include "common/AtomicFile.h"
#include "common/PascalString.h"
#include "settings/TSettings.h"

#include <QDir>
#include <QUrl>

namespace {

const QString kDefaultStart = QStringLiteral("<TEXTAREA NAME=\"outlog_Display\"");
const QString kEventsPath = QStringLiteral("/cgi/b/events/?be=0&l0=0&l1=2");
constexpr int kMinLogLength = 10;
constexpr int kFurtherAttempts = 3;

// "\n" to "\r\n", leaving line ends that already are "\r\n" alone.
QString toCrLf(const QString &text)
{
    QString out;
    out.reserve(text.size() + text.size() / 16);
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\n') && (i == 0 || text[i - 1] != QLatin1Char('\r')))
            out += QLatin1Char('\r');
        out += text[i];
    }
    return out;
}

QString cutNetgear(const QString &page, const RouterLogCut &cut)
{
    int at = pas::pos(cut.start, page);
    if (at == 0)
        at = pas::pos(cut.start.toLower(), page);
    // A missing start text is no log, never a cut from the top of the page.
    if (at == 0)
        return QString();
    // The offset is a saved setting: work in 64 bits so that no value wraps.
    const qint64 start = qint64(at) + cut.offset;
    int end = pas::pos(cut.end, page);
    if (end == 0)
        end = pas::pos(cut.end.toLower(), page);
    if (end == 0)
        return QString();
    return pas::copy(page, pas::index(start), pas::index(end - start));
}

QString cutEvents(const QString &page)
{
    const int label = pas::pos(QStringLiteral("Recorded Events"), page);
    if (label == 0)
        return QString();
    const QString rest = pas::copyFrom(page, label + 27);
    const int form = pas::pos(QStringLiteral("</form>"), rest);
    if (form == 0)
        return QString();
    return pas::copy(rest, 1, form - 10);
}

QString normalisedPath(QString path)
{
    // The v5 preset is "\FW_log.htm"; a URL path needs the forward slash.
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!path.startsWith(QLatin1Char('/')))
        path.prepend(QLatin1Char('/'));
    return path;
}

} // namespace

QString cutRouterLog(const QString &page, const RouterLogCut &cut)
{
    const QString text = cut.family == RouterLogFamily::St585 ? cutEvents(page) : cutNetgear(page, cut);
    return toCrLf(text);
}

RouterLogRequest routerLogRequest(const TSettings &settings, RouterLogCaller caller)
{
    RouterLogRequest r;
    if (settings.Router.ST585) {
        r.path = kEventsPath;
        r.cut.family = RouterLogFamily::St585;
        return r;
    }
    const auto &log = settings.RouterLog;
    r.cut.end = log.LogEnd;
    if (caller == RouterLogCaller::GetRouterLog)
        r.path = log.LogURL;
    else
        r.path = settings.Router.V1234 || settings.Router.NotNetgear ? log.LogURL : QStringLiteral("/FW_log.htm");

    if (log.IsDG834N) {
        r.cut.start = QStringLiteral("<textarea");
        r.cut.offset = 112;
    } else if (settings.Router.V5) {
        // The v5 page holds its log 99 characters after "<TEXTAREA", whoever asks.
        r.cut.start = QStringLiteral("<TEXTAREA");
        r.cut.offset = 99;
    } else {
        r.cut.start = caller == RouterLogCaller::View ? kDefaultStart : log.LogStart;
        r.cut.offset = 102;
    }
    return r;
}

QStringList reverseLogLines(const QStringList &lines)
{
    QStringList out = lines;
    const qsizetype count = out.size();
    for (qsizetype i = 0; i < count / 2; ++i)
        out.swapItemsAt(i, count - 1 - i);
    return out;
}

struct RouterLog::Job {
    RouterLogCaller caller;
    int attempts = 0;
    quint64 requestId = 0;
    bool requestOpen = false;
    bool ok = false;
    QString text;
    QString failure; // why the latest attempt brought no page
    FetchDone done;
};

QString RouterLog::connectionFailedText(const QString &reason)
{
    return QStringLiteral("Connection Failed\n\nThe router's log could not be fetched (%1).").arg(reason);
}

RouterLog::RouterLog(RouterHttpClient &client, TSettings &settings, QObject *parent)
    : QObject(parent), m_client(client), m_settings(settings)
{
    // The window may take the client down first; its requests went with it.
    connect(&m_client, &QObject::destroyed, this, [this] { m_clientGone = true; });
}

RouterLog::~RouterLog()
{
    // Each cancel ends its job through onReply, which calls the job's callback.
    while (!m_jobs.empty()) {
        auto it = m_jobs.begin();
        const quint64 id = it->first;
        if (it->second->requestOpen && !m_clientGone)
            m_client.cancel(it->second->requestId);
        if (m_jobs.count(id))
            finish(id);
    }
}

QString RouterLog::urlFor(const QString &path) const
{
    return QStringLiteral("http://") + routerAuthority(m_settings.Router.Login) + normalisedPath(path);
}

void RouterLog::fetch(RouterLogCaller caller, FetchDone done)
{
    if (m_settings.Router.Login.isEmpty() || routerAuthority(m_settings.Router.Login).isEmpty()) {
        emit showMessage(QStringLiteral("The router Login URL needs to be specified."));
        done(false, QString());
        return;
    }
    const quint64 id = m_nextJob++;
    auto job = std::make_unique<Job>();
    job->caller = caller;
    job->done = std::move(done);
    m_jobs.emplace(id, std::move(job));
    startAttempt(id);
}

void RouterLog::startAttempt(quint64 jobId)
{
    Job &job = *m_jobs.at(jobId);
    // Repeats are made the View way, except the viewer's Refresh which repeats itself.
    const RouterLogCaller caller =
        job.attempts == 0 || job.caller == RouterLogCaller::Refresh ? job.caller : RouterLogCaller::View;
    ++job.attempts;
    const RouterLogRequest request = routerLogRequest(m_settings, caller);
    if (request.cut.family == RouterLogFamily::Netgear) {
        m_settings.RouterLog.LogStart = request.cut.start;
        m_settings.RouterLog.LogOffset = request.cut.offset;
    }

    std::optional<HttpCredentials> credentials;
    // The URL is always on the login URL's host, so the credentials go nowhere else.
    if (m_settings.Router.cbLogin)
        credentials = HttpCredentials{m_settings.Router.UsernameNotRequired ? QString() : m_settings.Router.Username,
                                      m_settings.Router.Password};
    const RouterLogCut cut = request.cut;
    job.requestOpen = true;
    job.requestId = m_client.get(QUrl(urlFor(request.path)), credentials, m_transferTimeoutMs,
                                 [this, jobId, cut](const HttpResult &result) {
                                     auto it = m_jobs.find(jobId);
                                     if (it == m_jobs.end())
                                         return;
                                     it->second->requestOpen = false;
                                     if (result.ok) {
                                         it->second->ok = true;
                                         it->second->text = cutRouterLog(QString::fromLatin1(result.body), cut);
                                         emit systemMessage(QStringLiteral("Retrieved router's internal log"));
                                     } else if (!result.cancelled) {
                                         it->second->failure =
                                             !result.errorText.isEmpty() ? result.errorText
                                             : result.status ? QStringLiteral("HTTP %1").arg(result.status)
                                                             : QStringLiteral("no answer");
                                     }
                                     onReply(jobId, result);
                                 });
}

void RouterLog::onReply(quint64 jobId, const HttpResult &result)
{
    Job &job = *m_jobs.at(jobId);
    // A router that does not answer in time or cannot be reached will not do
    // better at once; a short page or an error status is worth another try.
    const bool hopeless = result.cancelled || result.timedOut || result.authRejected || !result.connected;
    if (!hopeless && job.text.size() < kMinLogLength && job.attempts <= kFurtherAttempts) {
        startAttempt(jobId);
        return;
    }
    finish(jobId);
}

void RouterLog::finish(quint64 jobId)
{
    auto it = m_jobs.find(jobId);
    if (it == m_jobs.end())
        return;
    std::unique_ptr<Job> job = std::move(it->second);
    m_jobs.erase(it);
    if (job->done)
        job->done(job->ok, job->ok ? job->text : job->failure);
}

void RouterLog::GetRouterLog(const QString &path, std::function<void()> done)
{
    const auto &router = m_settings.Router;
    const bool userMissing = router.Username.isEmpty() && !router.UsernameNotRequired;
    if (router.cbLogin && (userMissing || router.Password.isEmpty())) {
        emit showMessage(QStringLiteral("The router Username or Password is missing!"));
        done();
        return;
    }
    fetch(RouterLogCaller::GetRouterLog, [this, path, done = std::move(done)](bool ok, const QString &text) {
        // No page or no log in it: no file, so no stale or empty attachment.
        if (ok && !text.isEmpty()) {
            QString why;
            if (!AtomicFile::writeFile(path, text.toLatin1(), &why))
                emit systemMessage(QStringLiteral("Router log not attached: %1 could not be written (%2)")
                                       .arg(QDir::toNativeSeparators(path), why));
        }
        done();
    });
}
