#include "pages/WebServerPage.h"

#include "common/Clock.h"
#include "common/VisibleText.h"
#include "widgets/LinePane.h"
#include "settings/SettingsHub.h"
#include "webserver/AccessLog.h"
#include "webserver/BlockedList.h"
#include "webserver/ReverseLookup.h"
#include "webserver/WebServer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QButtonGroup>
#include <QVBoxLayout>

namespace {

// A browser that stops talking is let go after this long.
constexpr int kConnectionTimeoutSecs = 30;

using WebKeys = TSettings::WebServerKeys;

} // namespace

WebServerPage::WebServerPage(SettingsHub &hub, QWidget *parent)
    : QWidget(parent), m_hub(hub), Settings(hub.settings())
{
    setObjectName(QStringLiteral("TabSheet6"));
    m_server = new WebServer(this);
    m_lookup = new ReverseLookup(this);
    buildWidgets();
    bindSettings();

    connect(m_server, &WebServer::accessLogBatch, this, &WebServerPage::appendAccessLogLines);
    connect(m_server, &WebServer::serverError, this,
            [this] { emit systemMessage(QStringLiteral("Web Server Error.")); }, Qt::QueuedConnection);
    connect(m_lookup, &ReverseLookup::finished, this, [this](const QString &, const QString &host) {
        Label39->setText(VisibleText::escaped(host)); // a name from the network
        btnClearWeb->setEnabled(true);
        btnAddToBlocked->setEnabled(cbBlocked->isChecked());
        btnRemoveFromBlocked->setEnabled(cbBlocked->isChecked());
    });
}

WebServerPage::~WebServerPage() { m_server->stop(); }

void WebServerPage::buildWidgets()
{
    // The settings and the access log keep their heights; a short window scrolls the page.
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("WebServerScroll"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto *content = new QWidget(scroll);
    scroll->setWidget(content);
    outer->addWidget(scroll);
    auto *layout = new QVBoxLayout(content);

    auto *state = new QHBoxLayout;
    btnWebStart = new QPushButton(tr("Start"), this);
    btnWebStart->setObjectName(QStringLiteral("btnWebStart"));
    btnWebStop = new QPushButton(tr("Stop"), this);
    btnWebStop->setObjectName(QStringLiteral("btnWebStop"));
    // Speed buttons of one group: exactly one of them is down.
    auto *group = new QButtonGroup(this);
    group->setExclusive(true);
    for (QPushButton *b : {btnWebStart, btnWebStop}) {
        b->setCheckable(true);
        group->addButton(b);
        state->addWidget(b);
    }
    btnWebStop->setChecked(true);
    Panel31 = new QFrame(this);
    Panel31->setObjectName(QStringLiteral("Panel31"));
    Panel31->setFixedSize(14, 14);
    Panel31->setStyleSheet(QStringLiteral("background-color: lime; border: 1px solid gray;"));
    Panel31->hide();
    state->addWidget(Panel31);
    Label43 = new QLabel(QStringLiteral("SERVER STOPPED"), this);
    Label43->setObjectName(QStringLiteral("Label43"));
    Label43->setTextInteractionFlags(Qt::TextSelectableByMouse);
    state->addWidget(Label43, 1);
    layout->addLayout(state);

    auto *serverBox = new QGroupBox(tr("Server"), this);
    auto *grid = new QGridLayout(serverBox);
    auto *webPageLabel = new QLabel(tr("Web page"), serverBox);
    grid->addWidget(webPageLabel, 0, 0);
    edWebPage = new QLineEdit(serverBox);
    edWebPage->setObjectName(QStringLiteral("edWebPage"));
    webPageLabel->setBuddy(edWebPage);
    grid->addWidget(edWebPage, 0, 1, 1, 3);
    btnWebBrowse = new QPushButton(tr("Browse..."), serverBox);
    btnWebBrowse->setObjectName(QStringLiteral("btnWebBrowse"));
    grid->addWidget(btnWebBrowse, 0, 4);
    Label71 = new QLabel(tr("Server Address"), serverBox);
    Label71->setObjectName(QStringLiteral("Label71"));
    grid->addWidget(Label71, 1, 0);
    cbLocalHost = new QComboBox(serverBox);
    cbLocalHost->setObjectName(QStringLiteral("cbLocalHost"));
    Label71->setBuddy(cbLocalHost);
    cbLocalHost->setEditable(true);
    cbLocalHost->setInsertPolicy(QComboBox::NoInsert);
    grid->addWidget(cbLocalHost, 1, 1);
    auto *portLabel = new QLabel(tr("Port"), serverBox);
    grid->addWidget(portLabel, 1, 2);
    edPort = new QLineEdit(serverBox);
    edPort->setObjectName(QStringLiteral("edPort"));
    portLabel->setBuddy(edPort);
    edPort->setMaximumWidth(80);
    grid->addWidget(edPort, 1, 3);

    cbWebAuth = new QCheckBox(tr("Server requires authentication"), serverBox);
    cbWebAuth->setObjectName(QStringLiteral("cbWebAuth"));
    grid->addWidget(cbWebAuth, 2, 0, 1, 2);
    Label41 = new QLabel(tr("Username"), serverBox);
    Label41->setObjectName(QStringLiteral("Label41"));
    grid->addWidget(Label41, 3, 0);
    edWebUser = new QLineEdit(serverBox);
    edWebUser->setObjectName(QStringLiteral("edWebUser"));
    Label41->setBuddy(edWebUser);
    grid->addWidget(edWebUser, 3, 1);
    Label42 = new QLabel(tr("Password"), serverBox);
    Label42->setObjectName(QStringLiteral("Label42"));
    grid->addWidget(Label42, 3, 2);
    edWebPassword = new QLineEdit(serverBox);
    edWebPassword->setObjectName(QStringLiteral("edWebPassword"));
    Label42->setBuddy(edWebPassword);
    edWebPassword->setEchoMode(QLineEdit::Password);
    grid->addWidget(edWebPassword, 3, 3);
    cbWebRemPass = new QCheckBox(tr("Remember password"), serverBox);
    cbWebRemPass->setObjectName(QStringLiteral("cbWebRemPass"));
    grid->addWidget(cbWebRemPass, 3, 4);

    cbDeleteTemp = new QCheckBox(tr("Delete temporary images when Veltrano closes"), serverBox);
    cbDeleteTemp->setObjectName(QStringLiteral("cbDeleteTemp"));
    cbLowerCase = new QCheckBox(tr("Convert image filenames to lowercase"), serverBox);
    cbLowerCase->setObjectName(QStringLiteral("cbLowerCase"));
    cbNoAccess = new QCheckBox(tr("Allow access to subfolders"), serverBox);
    cbNoAccess->setObjectName(QStringLiteral("cbNoAccess"));
    cbImageWithoutServer = new QCheckBox(tr("Generate images without the server running"), serverBox);
    cbImageWithoutServer->setObjectName(QStringLiteral("cbImageWithoutServer"));
    grid->addWidget(cbDeleteTemp, 4, 0, 1, 2);
    grid->addWidget(cbLowerCase, 4, 2, 1, 3);
    grid->addWidget(cbNoAccess, 5, 0, 1, 2);
    grid->addWidget(cbImageWithoutServer, 5, 2, 1, 3);
    grid->setColumnStretch(1, 1);
    layout->addWidget(serverBox);

    auto *logBox = new QGroupBox(tr("Requests"), this);
    auto *logLayout = new QVBoxLayout(logBox);
    auto *switches = new QHBoxLayout;
    cbLogWeb = new QCheckBox(tr("Log web requests"), logBox);
    cbLogWeb->setObjectName(QStringLiteral("cbLogWeb"));
    cbDontLog = new QCheckBox(tr("Don't log blocked requests"), logBox);
    cbDontLog->setObjectName(QStringLiteral("cbDontLog"));
    cbBlocked = new QCheckBox(tr("Use 'blocked.txt' file to block unwanted requests"), logBox);
    cbBlocked->setObjectName(QStringLiteral("cbBlocked"));
    for (QCheckBox *c : {cbLogWeb, cbDontLog, cbBlocked})
        switches->addWidget(c);
    switches->addStretch(1);
    logLayout->addLayout(switches);
    ListBox1 = new LinePane(logBox);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setAccessibleName(tr("Access log"));
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->setLineCap(m_accessLogCap);
    logLayout->addWidget(ListBox1, 1);
    auto *buttons = new QHBoxLayout;
    Label39 = new QLabel(logBox);
    Label39->setObjectName(QStringLiteral("Label39"));
    Label39->setTextInteractionFlags(Qt::TextSelectableByMouse);
    buttons->addWidget(Label39, 1);
    btnClearWeb = new QPushButton(tr("Clear"), logBox);
    btnClearWeb->setObjectName(QStringLiteral("btnClearWeb"));
    btnAddToBlocked = new QPushButton(tr("Add"), logBox);
    btnAddToBlocked->setObjectName(QStringLiteral("btnAddToBlocked"));
    btnRemoveFromBlocked = new QPushButton(tr("Remove "), logBox);
    btnRemoveFromBlocked->setObjectName(QStringLiteral("btnRemoveFromBlocked"));
    btnClearWebLog = new QPushButton(tr("Clear Log"), logBox);
    btnClearWebLog->setObjectName(QStringLiteral("btnClearWebLog"));
    for (QPushButton *b : {btnClearWeb, btnAddToBlocked, btnRemoveFromBlocked})
        b->setEnabled(false);
    for (QPushButton *b : {btnClearWeb, btnAddToBlocked, btnRemoveFromBlocked, btnClearWebLog})
        buttons->addWidget(b);
    logLayout->addLayout(buttons);
    layout->addWidget(logBox, 1);

    connect(btnWebStart, &QPushButton::clicked, this, &WebServerPage::btnWebStartClick);
    connect(btnWebStop, &QPushButton::clicked, this, &WebServerPage::btnWebStopClick);
    connect(btnWebBrowse, &QPushButton::clicked, this, &WebServerPage::btnWebBrowseClick);
    connect(ListBox1, &LinePane::clicked, this, &WebServerPage::ListBox1Click);
    // Enter on the current line does the same for keyboard users.
    connect(ListBox1, &LinePane::activated, this, &WebServerPage::ListBox1Click);
    connect(btnAddToBlocked, &QPushButton::clicked, this, &WebServerPage::btnAddToBlockedClick);
    connect(btnRemoveFromBlocked, &QPushButton::clicked, this, &WebServerPage::btnRemoveFromBlockedClick);
    connect(btnClearWeb, &QPushButton::clicked, this, &WebServerPage::btnClearWebClick);
    connect(btnClearWebLog, &QPushButton::clicked, this, &WebServerPage::btnClearWebLogClick);
}

void WebServerPage::bindSettings()
{
    // The setting controls are bound by the window's table; these are the page's own.
    connect(cbDontLog, &QCheckBox::toggled, this, &WebServerPage::updateServerSettings);
    connect(btnWebStart, &QPushButton::toggled, this,
            [this](bool down) { m_hub.change([down](TSettings &s) { s.WebServer.WebServer = down; }); });
}

std::vector<SettingFollower> WebServerPage::followers()
{
    return {
        {{"WebServer/*", "System/ShowSystem"}, [this] { updateServerSettings(); }},
        {{"WebServer/Port"}, [this] { edPortChange(); }},
        {{"WebServer/WebAuth"}, [this] { TabSheet6Show(); }},
        // A button's state only: the server starts and stops on a click.
        {{"WebServer/WebServer"}, [this] { (Settings.WebServer.WebServer ? btnWebStart : btnWebStop)->setChecked(true); }},
    };
}

void WebServerPage::setSettingsFilePath(const QString &path)
{
    m_settingsFile = path;
    updateServerSettings();
}

void WebServerPage::loadFromSettings()
{
    const WebKeys &w = Settings.WebServer;
    (w.WebServer ? btnWebStart : btnWebStop)->setChecked(true);
    // The machine's own addresses, then the two that every machine has.
    if (!m_server->isActive()) {
        const QSignalBlocker quiet(cbLocalHost); // a list being filled is no edit
        cbLocalHost->clear();
        cbLocalHost->addItems(WebServer::localAddresses());
        cbLocalHost->addItems({QStringLiteral("127.0.0.1"), QStringLiteral("0.0.0.0")});
        // An empty address stays empty, so each start takes the machine's
        // address as it is then; the edit shows which one that is.
        cbLocalHost->setEditText(w.LocalHost);
        showDefaultAddress(WebServer::defaultAddress());
    }
    edPortChange();
    updateServerSettings();
    TabSheet6Show();
}

void WebServerPage::startAtLaunch(bool safeStart)
{
    if (safeStart) {
        btnWebStopClick();
        return;
    }
    if (btnWebStart->isChecked()) {
        ListBox1->appendLines({AccessLog::serverStartedLine(Clock::currentDateTime())});
        StartServer();
    }
}

void WebServerPage::deactivate() { m_server->stop(); }

bool WebServerPage::isRunning() const { return m_server->isActive(); }

void WebServerPage::updateServerSettings()
{
    WebServerSettings s;
    const WebKeys &w = Settings.WebServer;
    s.webAuth = w.WebAuth;
    s.webUser = w.WebUser;
    s.webPassword = w.WebPassword;
    s.webPage = w.Webpage;
    s.allowSubFolders = w.NoSubFolders;
    s.useBlocked = w.Blocked;
    s.logWeb = w.LogWeb;
    s.showSystem = Settings.System.ShowSystem;
    s.dontLogBlocked = cbDontLog->isChecked();
    s.imageWithoutServer = w.ImageWithoutServer;
    s.settingsFile = m_settingsFile;
    m_server->setSettings(s);
    // A page chosen while the server runs is the one it now serves first.
    if (m_server->isActive())
        showRunning();
}

void WebServerPage::showDefaultAddress(const QString &address)
{
    cbLocalHost->lineEdit()->setPlaceholderText(address);
}

void WebServerPage::edPortChange()
{
    bool ok = false;
    const int port = Settings.WebServer.Port.trimmed().toInt(&ok);
    WebPort = ok && port >= 0 && port <= 65535 ? port : 81;
}

void WebServerPage::btnWebStartClick() { StartServer(); }

void WebServerPage::StartServer()
{
    if (!btnWebStart->isChecked() || m_server->isActive())
        return;
    updateServerSettings();
    WebServerConfig config;
    config.address = cbLocalHost->currentText();
    config.port = WebPort;
    config.maxUsers = qMax(1, Settings.WebServer.MaxUsers);
    config.connectionTimeoutSecs = kConnectionTimeoutSecs;
    config.accessLogCapacity = m_accessLogCap;
    QString error;
    if (!m_server->start(config, &error)) {
        if (!Settings.System.SuppressErrors)
            emit systemMessage(QStringLiteral("Error: \"") + error + QStringLiteral("\".  Web Server"));
        m_server->stop();
        edPort->setEnabled(true);
        cbLocalHost->setEnabled(true);
        Panel31->hide();
        btnWebStop->setChecked(true);
        emit serverStateChanged(false);
        return;
    }
    edPort->setEnabled(false);
    cbLocalHost->setEnabled(false);
    if (config.address.trimmed().isEmpty())
        showDefaultAddress(m_server->address());
    Panel31->show();
    const QString where = QStringLiteral("%1:%2").arg(m_server->address()).arg(m_server->port());
    showRunning();
    emit systemMessage(QStringLiteral("Listening for HTTP connections on ") + where + QLatin1Char('.'));
    emit serverStateChanged(true);
}

void WebServerPage::btnWebStopClick()
{
    m_server->stop();
    emit systemMessage(QStringLiteral("Web server stopped."));
    showStopped();
    btnWebStop->setChecked(true);
    emit serverStateChanged(false);
}

// The page's name comes from the setting, not its edit: at launch the server
// starts before the window's controls are filled from the settings.
void WebServerPage::showRunning()
{
    Label43->setText(QStringLiteral("SERVER RUNNING (http://%1:%2/").arg(m_server->address()).arg(m_server->port())
                     + QFileInfo(Settings.WebServer.Webpage).fileName() + QLatin1Char(')'));
}

void WebServerPage::showStopped()
{
    Label43->setText(QStringLiteral("SERVER STOPPED"));
    edPort->setEnabled(true);
    cbLocalHost->setEnabled(true);
    Panel31->hide();
}

void WebServerPage::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    TabSheet6Show();
}

void WebServerPage::TabSheet6Show()
{
    const bool on = cbWebAuth->isChecked();
    for (QWidget *w : std::initializer_list<QWidget *>{Label41, Label42, edWebUser, edWebPassword, cbWebRemPass})
        w->setEnabled(on);
}

void WebServerPage::btnWebBrowseClick()
{
    if (OpenDialog3) {
        OpenDialog3->raise();
        return;
    }
    const QFileInfo page(edWebPage->text());
    auto *dialog = new QFileDialog(this, tr("Open"), page.absolutePath(), tr("HTML Files (*.htm *.html)"));
    dialog->setObjectName(QStringLiteral("OpenDialog3"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::AnyFile);
    if (!edWebPage->text().isEmpty())
        dialog->selectFile(page.fileName());
    // Names on Linux are case-sensitive: the chosen name is kept as it is.
    connect(dialog, &QFileDialog::fileSelected, this,
            [this](const QString &file) { m_hub.change([&file](TSettings &s) { s.WebServer.Webpage = file; }); });
    OpenDialog3 = dialog;
    dialog->open();
}

QString WebServerPage::webFolder() const
{
    const QFileInfo page(Settings.WebServer.Webpage);
    return page.isAbsolute() ? page.absolutePath() : QString();
}

QString WebServerPage::blockedFile() const
{
    const QString folder = webFolder();
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + BlockedList::fileName();
}

QString WebServerPage::selectedAddress() const
{
    // The address the server saw, never text from the line.
    const QString address = ListBox1->currentTag();
    return AccessLog::isDottedIPv4(address) ? address : QString();
}

void WebServerPage::ListBox1Click()
{
    const QString address = selectedAddress();
    if (address.isEmpty())
        return;
    Label39->setText(QStringLiteral("Searching..."));
    Label39->show();
    m_lookup->lookup(address);
}

void WebServerPage::btnAddToBlockedClick()
{
    const QString address = selectedAddress();
    const QString file = blockedFile();
    if (address.isEmpty() || file.isEmpty())
        return;
    QString error;
    if (!BlockedList::append(file, address, &error))
        emit systemMessage(error);
    btnAddToBlocked->setEnabled(false);
}

void WebServerPage::btnRemoveFromBlockedClick()
{
    const QString address = selectedAddress();
    const QString file = blockedFile();
    if (address.isEmpty() || file.isEmpty())
        return;
    QString error;
    if (!BlockedList::remove(file, address, &error))
        emit systemMessage(error);
    btnRemoveFromBlocked->setEnabled(false);
}

void WebServerPage::btnClearWebClick()
{
    Label39->clear();
    btnClearWeb->setEnabled(false);
}

void WebServerPage::btnClearLookupClick() { Label39->clear(); }

void WebServerPage::btnClearWebLogClick()
{
    ListBox1->clear();
    Label39->clear();
    btnAddToBlocked->setEnabled(false);
    btnClearWeb->setEnabled(false);
}

void WebServerPage::appendAccessLog(const AccessLogEntry &entry) { appendAccessLogLines({entry}); }

void WebServerPage::appendAccessLogLines(const QList<AccessLogEntry> &entries)
{
    // The server's batch as it is: one insertion, at most one removal and one
    // scroll, however many requests it holds.
    QStringList lines;
    QStringList addresses;
    lines.reserve(entries.size());
    addresses.reserve(entries.size());
    for (const AccessLogEntry &e : entries) {
        lines.append(e.line);
        addresses.append(e.address);
    }
    ListBox1->appendLines(lines, addresses);
}

void WebServerPage::setAccessLogCap(int lines)
{
    m_accessLogCap = qMax(1, lines);
    ListBox1->setLineCap(m_accessLogCap);
}
