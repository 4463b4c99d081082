#include "pages/StatusPageTab.h"

#include "acquisition/LineStatusParsers.h"
#include "acquisition/RouterHttpClient.h"
#include "common/Html2Text.h"
#include "widgets/PageView.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

StatusPageTab::StatusPageTab(TSettings &settings, const RunState &run, RouterHttpClient &http, QWidget *parent)
    : QWidget(parent), m_settings(settings), m_run(run), m_http(http)
{
    setObjectName(QStringLiteral("TabSheet4"));
    auto *layout = new QVBoxLayout(this);
    auto *row = new QHBoxLayout;
    btnHTML2Refresh = new QPushButton(tr("Refresh"), this);
    btnHTML2Refresh->setObjectName(QStringLiteral("btnHTML2Refresh"));
    cbRefresh = new QCheckBox(tr("Show the page of every sample"), this);
    cbRefresh->setObjectName(QStringLiteral("cbRefresh"));
    cbRefresh->setChecked(settings.System.Refresh);
    Label45 = new QLabel(tr("(while this tab is shown)"), this);
    Label45->setObjectName(QStringLiteral("Label45"));
    row->addWidget(btnHTML2Refresh);
    row->addWidget(cbRefresh);
    row->addWidget(Label45);
    row->addStretch(1);
    layout->addLayout(row);
    HTML2 = new PageView(this);
    HTML2->setObjectName(QStringLiteral("HTML2"));
    HTML2->setAccessibleName(tr("Router status page"));
    HTML2->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(HTML2, 1);

    HTMLStatsPopup = new QMenu(this);
    HTMLStatsPopup->setObjectName(QStringLiteral("HTMLStatsPopup"));
    Refresh1 = HTMLStatsPopup->addAction(tr("Refresh"));
    Refresh1->setObjectName(QStringLiteral("Refresh1"));
    Copy1 = HTMLStatsPopup->addAction(tr("Copy As Text"));
    Copy1->setObjectName(QStringLiteral("Copy1"));
    mnuViewSource = HTMLStatsPopup->addAction(tr("View Source"));
    mnuViewSource->setObjectName(QStringLiteral("mnuViewSource"));
    connect(HTML2, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &p) { HTMLStatsPopup->popup(HTML2->viewport()->mapToGlobal(p)); });

    connect(btnHTML2Refresh, &QPushButton::clicked, this, &StatusPageTab::Refresh1Click);
    connect(Refresh1, &QAction::triggered, this, &StatusPageTab::Refresh1Click);
    connect(Copy1, &QAction::triggered, this, &StatusPageTab::Copy1Click);
    connect(mnuViewSource, &QAction::triggered, this, &StatusPageTab::viewSourceRequested);
    applySettings();
}

void StatusPageTab::applySettings()
{
    btnHTML2Refresh->setEnabled(!m_settings.Telnet.DisableHTTP);
    mnuViewSource->setEnabled(!m_settings.Telnet.DisableHTTP);
    // With "Use source B" the poll reads the rendered text, which the view must not show instead.
    const bool sourceB = m_settings.Search.LoopBack && !m_settings.System.IsDG834;
    if (sourceB)
        cbRefresh->setChecked(false);
    cbRefresh->setEnabled(!sourceB);
    Label45->setEnabled(!sourceB);
}

void StatusPageTab::Refresh1Click()
{
    const TSettings &s = m_settings;
    if (s.Telnet.DisableHTTP)
        return;
    std::optional<HttpCredentials> credentials;
    if (s.Router.cbLogin)
        credentials = HttpCredentials{s.Router.UsernameNotRequired ? QString() : s.Router.Username, s.Router.Password};
    m_http.cancel(m_request);
    QPointer<StatusPageTab> self(this);
    const int transferMs = qBound(1, s.System.Sample, RouterHttpClient::kMaxTransferTimeoutMs / 1000) * 1000;
    m_request = m_http.get(QUrl(s.Router.Login.trimmed()), credentials, transferMs, [self](const HttpResult &r) {
        if (!self || r.cancelled || !r.ok || r.body.isEmpty())
            return; // the view keeps what it showed
        self->show585OrPage(QString::fromLatin1(r.body));
    });
}

void StatusPageTab::show585OrPage(const QString &page)
{
    if (m_settings.Router.ST585) {
        const linestatus::St585PageView v =
            linestatus::restyleSt585Page(page, m_run.ThomsonDataUnit, m_run.ThomsonDataSent, m_run.ThomsonDataReceived);
        m_viewerPageText = v.viewerText.isEmpty() ? v.page : v.viewerText;
    } else {
        m_viewerPageText = page;
    }
    HTML2->showPage(m_viewerPageText);
}

void StatusPageTab::showPolledPage(const QString &page, const QString &viewerText, bool tabActive)
{
    if (!tabActive || page.isEmpty() || HTML2->textCursor().hasSelection())
        return;
    if (!(cbRefresh->isChecked() || m_settings.Router.ST585))
        return;
    m_viewerPageText = viewerText.isEmpty() ? page : viewerText;
    HTML2->showPage(m_viewerPageText);
}

void StatusPageTab::Copy1Click()
{
    QApplication::clipboard()->setText(HTML2Text(m_viewerPageText));
}
