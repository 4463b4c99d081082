#include "pages/RouterViewers.h"

#include "acquisition/RouterHttpClient.h"
#include "acquisition/RouterLog.h"
#include "pages/TForm5.h"
#include "pages/TForm7.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <QWidget>

RouterViewers::RouterViewers(TSettings &settings, RunState &run, RouterHttpClient &http, RouterLog &log,
                             const QString &settingsFile, QWidget *window)
    : QObject(window), m_settings(settings), m_run(run), m_http(http), m_log(log), m_settingsFile(settingsFile),
      m_window(window)
{
}

TForm5 *RouterViewers::logViewer() const { return m_viewer; }
TForm7 *RouterViewers::eventViewer() const { return m_events; }

TForm5 *RouterViewers::openViewer(int mode, const QString &text)
{
    // One viewer at a time: a second request refreshes the one that is open.
    if (m_viewer)
        m_viewer->close();
    const QString routerLogPath = QFileInfo(m_settingsFile).absoluteDir().filePath(QStringLiteral("VT-routerlog.txt"));
    m_viewer = new TForm5(static_cast<TForm5::Mode>(mode), text, m_settings, m_run, m_log, routerLogPath, m_window);
    connect(m_viewer, &TForm5::systemMessage, this, &RouterViewers::systemMessage);
    connect(m_viewer, &TForm5::settingsChanged, this, &RouterViewers::settingsChanged);
    m_viewer->move(m_window->geometry().topLeft() + QPoint(20, 50));
    m_viewer->open();
    return m_viewer;
}

void RouterViewers::btnViewRouterLogClick()
{
    if (m_settings.Router.ST585) {
        View585Log();
        return;
    }
    QPointer<RouterViewers> self(this);
    m_log.fetch(RouterLogCaller::View, [self](bool ok, const QString &text) {
        if (!self)
            return;
        if (ok)
            self->openViewer(int(TForm5::Mode::ViewLog), text);
        else if (!text.isEmpty())
            emit self->messageBox(RouterLog::connectionFailedText(text));
    });
}

void RouterViewers::View585Log()
{
    QPointer<RouterViewers> self(this);
    m_log.fetch(RouterLogCaller::View, [self](bool ok, const QString &text) {
        if (!self)
            return;
        if (!ok) {
            if (!text.isEmpty())
                emit self->messageBox(RouterLog::connectionFailedText(text));
            return;
        }
        if (self->m_events)
            self->m_events->close();
        self->m_events = new TForm7(text, self->m_log, self->m_window);
        self->m_events->move(self->m_window->geometry().topLeft() + QPoint(20, 50));
        self->m_events->open();
    });
}

void RouterViewers::mnuViewSourceClick()
{
    const TSettings &s = m_settings;
    if (s.Telnet.DisableHTTP)
        return;
    if (s.Router.Login.trimmed().isEmpty()) {
        emit messageBox(QStringLiteral("The router Login URL needs to be specified."));
        return;
    }
    std::optional<HttpCredentials> credentials;
    if (s.Router.cbLogin)
        credentials = HttpCredentials{s.Router.UsernameNotRequired ? QString() : s.Router.Username, s.Router.Password};
    QPointer<RouterViewers> self(this);
    const int transferMs = qBound(1, s.System.Sample, RouterHttpClient::kMaxTransferTimeoutMs / 1000) * 1000;
    m_http.get(QUrl(s.Router.Login.trimmed()), credentials, transferMs, [self](const HttpResult &r) {
        if (!self || r.cancelled)
            return;
        if (!r.ok) {
            emit self->systemMessage(QStringLiteral("View Source: the status page could not be fetched (%1)")
                                         .arg(r.errorText.isEmpty() ? QString::number(r.status) : r.errorText));
            return;
        }
        self->openViewer(int(TForm5::Mode::ViewSource), QString::fromLatin1(r.body));
    });
}
