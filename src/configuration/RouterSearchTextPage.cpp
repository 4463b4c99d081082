#include "configuration/RouterSearchTextPage.h"

#include "acquisition/FigureSearch.h"
#include "acquisition/RouterHttpClient.h"
#include "common/Trace.h"
#include "configuration/DialogPlacement.h"
#include "widgets/PageView.h"
#include "configuration/TForm8.h"
#include "configuration/TForm9.h"
#include "configuration/UserLabelDialog.h"
#include "widgets/ConfirmBox.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextCursor>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// The image file name of a user figure: its label without blanks, kept a
// plain file name.
QString imageFileName(QString label)
{
    label.remove(QLatin1Char(' '));
    label.remove(QLatin1Char('/'));
    label.remove(QLatin1Char('\\'));
    while (label.startsWith(QLatin1Char('.')))
        label.remove(0, 1);
    return label;
}

} // namespace

const QString &RouterSearchTextPage::connectionFailedPage()
{
    static const QString page = QStringLiteral(
        "<center><h2><u><font color=\"blue\">Connection Failed</font></u></h2><i>Veltrano</i> has been unable to "
        "establish a connection with the router's stats page. The most likely cause is the URL is incorrect.<p>Have "
        "you changed the router's default LAN IP address?<p><hr>Please ensure you can login and display your stats "
        "page using the &quot;<tt>Get Page</tt>&quot; button before continuing.<p><hr>");
    return page;
}

const QString &RouterSearchTextPage::loginMissingText()
{
    static const QString t = QStringLiteral("The router Login URL needs to be specified.");
    return t;
}

const QString &RouterSearchTextPage::credentialsMissingText()
{
    static const QString t = QStringLiteral("The router Username or Password is missing!");
    return t;
}

const QString &RouterSearchTextPage::refreshSourceText()
{
    static const QString t = QStringLiteral("Press the 'Get Page' button to refresh the source window.");
    return t;
}

RouterSearchTextPage::RouterSearchTextPage(TSettings &settings, RunState &run, Links links, RouterHttpClient *client,
                                           QWidget *parent)
    : QWidget(parent), m_settings(settings), m_run(run), m_links(std::move(links)), m_client(client),
      m_transferTimeoutMs(RouterHttpClient::kMaxTransferTimeoutMs)
{
    setObjectName(QStringLiteral("TabSheet2"));
    if (!m_client)
        m_client = new RouterHttpClient(this);

    auto button = [this](const char *name, const QString &text) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    btnGetPage = button("btnGetPage", QStringLiteral("Get Page"));
    btnGetPage->setToolTip(QStringLiteral("Fetch the router's status page"));
    btnTest = button("btnTest", QStringLiteral("Test"));
    btnTest->setToolTip(QStringLiteral("Fetch the page again and read every taught figure"));

    GroupBox1 = new QGroupBox(QStringLiteral("Mark "), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    btnRxNoise = button("btnRxNoise", QStringLiteral("Rx Noise"));
    btnTxNoise = button("btnTxNoise", QStringLiteral("Tx Noise"));
    btnSync = button("btnSync", QStringLiteral("Rx Sync"));
    btnTxSync = button("btnTxSync", QStringLiteral("Tx Sync"));
    btnUser = button("btnUser", QStringLiteral("User-Def 1"));
    btnUser2 = button("btnUser2", QStringLiteral("User-Def 2"));
    auto result = [this](const char *name) {
        auto *l = new QLabel(this);
        l->setObjectName(QLatin1String(name));
        l->setTextFormat(Qt::PlainText);
        l->setMinimumWidth(150);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return l;
    };
    Label5 = result("Label5");
    Label13 = result("Label13");
    Label6 = result("Label6");
    Label37 = result("Label37");
    Label16 = result("Label16");
    Label33 = result("Label33");
    auto note = [this](const char *name, const QString &text) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QLatin1String(name));
        l->setEnabled(false); // a quiet note, not a value
        return l;
    };
    Label38 = note("Label38", QStringLiteral("User-defined 1"));
    Label39 = note("Label39", QStringLiteral("User-defined 2"));
    auto *grid = new QGridLayout(GroupBox1);
    const std::pair<QPushButton *, QLabel *> rows[] = {{btnRxNoise, Label5}, {btnTxNoise, Label13},
                                                       {btnSync, Label6},    {btnTxSync, Label37},
                                                       {btnUser, Label16},   {btnUser2, Label33}};
    int row = 0;
    for (const auto &[b, l] : rows) {
        b->setToolTip(QStringLiteral("Select the figure in the page, then press this button"));
        grid->addWidget(b, row, 0);
        grid->addWidget(l, row, 1);
        ++row;
    }
    grid->addWidget(Label38, 4, 2);
    grid->addWidget(Label39, 5, 2);

    Viewer = new PageView(this);
    Viewer->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Viewer->setTabChangesFocus(true);
    Viewer->setObjectName(QStringLiteral("Viewer"));
    Viewer->setAccessibleName(QStringLiteral("Router status page"));
    Viewer->setAccessibleDescription(QStringLiteral("Select a figure here, then press its Mark button"));

    RichEdit1 = new QPlainTextEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setAccessibleName(QStringLiteral("Router status page source"));
    RichEdit1->setReadOnly(true);
    RichEdit1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    RichEdit1->setTabChangesFocus(true);
    RichEdit1->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont mono(QStringLiteral("Courier New"));
    mono.setStyleHint(QFont::TypeWriter);
    RichEdit1->setFont(mono);
    RichEdit1->hide();

    auto *left = new QVBoxLayout;
    left->addWidget(btnGetPage);
    left->addWidget(btnTest);
    left->addWidget(GroupBox1);
    left->addStretch();
    m_leftColumn = left;
    auto *views = new QVBoxLayout;
    views->addWidget(Viewer);
    views->addWidget(RichEdit1);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(left);
    layout->addLayout(views, 1);

    // Keyboard order: fetch, test, the six marks, the page.
    setTabOrder(btnGetPage, btnTest);
    QWidget *previous = btnTest;
    for (const auto &[b, l] : rows) {
        setTabOrder(previous, b);
        previous = b;
    }
    setTabOrder(previous, Viewer);
    setTabOrder(Viewer, RichEdit1);

    connect(btnGetPage, &QPushButton::clicked, this, &RouterSearchTextPage::btnGetPageClick);
    connect(btnTest, &QPushButton::clicked, this, &RouterSearchTextPage::btnTestClick);
    connect(btnRxNoise, &QPushButton::clicked, this, &RouterSearchTextPage::btnRxNoiseClick);
    connect(btnTxNoise, &QPushButton::clicked, this, &RouterSearchTextPage::btnTxNoiseClick);
    connect(btnSync, &QPushButton::clicked, this, &RouterSearchTextPage::btnSyncClick);
    connect(btnTxSync, &QPushButton::clicked, this, &RouterSearchTextPage::btnTxSyncClick);
    connect(btnUser, &QPushButton::clicked, this, &RouterSearchTextPage::btnUserClick);
    connect(btnUser2, &QPushButton::clicked, this, &RouterSearchTextPage::btnUser2Click);
    connect(Viewer, &QTextBrowser::selectionChanged, this, &RouterSearchTextPage::ViewerSelectionChanged);

    if (m_settings.Search.UseSource || m_settings.Search.LoopBack) {
        Viewer->hide();
        RichEdit1->show();
    }
    updateMarkButtons();
}

RouterSearchTextPage::~RouterSearchTextPage()
{
    if (m_fetch) {
        const quint64 id = m_fetch->requestId;
        m_fetch.reset();
        m_client->cancel(id);
    }
}

// --- fetching ------------------------------------------------------------

void RouterSearchTextPage::copyLoginSettings()
{
    if (!m_links.loginValues)
        return;
    const RouterLoginValues v = m_links.loginValues();
    m_settings.Router.Login = v.Login;
    m_settings.Router.Username = v.Username;
    m_settings.Router.Password = v.Password;
    m_settings.Router.LogOut = v.LogOut;
    m_settings.Router.cbLogin = v.cbLogin;
    m_settings.Router.cbLogOut = v.cbLogOut;
    m_settings.Router.UsernameNotRequired = v.UsernameNotRequired;
}

bool RouterSearchTextPage::st585() const
{
    return m_links.st585Checked ? m_links.st585Checked() : m_settings.Router.ST585;
}

void RouterSearchTextPage::btnGetPageClick()
{
    if (m_fetch)
        return;
    // The URL is checked as the edits hold it, not as it was stored before.
    copyLoginSettings();
    if (m_settings.Router.Login.trimmed().isEmpty()) {
        message(loginMissingText());
        return;
    }
    setSourceText(QString());
    showInViewer(QStringLiteral(" "));
    m_fetch = Fetch{FetchKind::GetPage, 2};
    setBusy(true);
    startAttempt();
}

void RouterSearchTextPage::btnTestClick()
{
    if (m_fetch)
        return;
    copyLoginSettings();
    setSourceText(QString());
    for (QLabel *l : {Label5, Label13, Label6, Label37, Label16, Label33})
        l->clear();
    if (m_settings.Router.Login.trimmed().isEmpty()) {
        message(loginMissingText());
        return;
    }
    showInViewer(QStringLiteral(" "));
    const TSettings::RouterKeys &r = m_settings.Router;
    // A user name is missing only when the router needs one.
    if (r.cbLogin && ((!r.UsernameNotRequired && r.Username.isEmpty()) || r.Password.isEmpty())) {
        message(credentialsMissingText());
        return;
    }
    m_fetch = Fetch{FetchKind::Test, 1};
    setBusy(true);
    startAttempt();
}

void RouterSearchTextPage::startAttempt()
{
    std::optional<HttpCredentials> credentials;
    const TSettings::RouterKeys &r = m_settings.Router;
    if (r.cbLogin)
        credentials = HttpCredentials{r.UsernameNotRequired ? QString() : r.Username, r.Password};
    --m_fetch->attemptsLeft;
    // Each request is a fresh one: the client sends the credentials with it
    // and keeps no authentication between fetches.
    m_fetch->requestId = m_client->get(QUrl(r.Login.trimmed()), credentials, m_transferTimeoutMs,
                                       [this](const HttpResult &result) { onReply(result); });
}

void RouterSearchTextPage::onReply(const HttpResult &result)
{
    if (!m_fetch || result.cancelled)
        return;
    if (result.ok && !result.body.isEmpty()) {
        fetchDone(QString::fromLatin1(result.body));
        return;
    }
    if (m_fetch->attemptsLeft > 0) {
        startAttempt();
        return;
    }
    m_client->disconnectFromRouter();
    fetchDone(std::nullopt);
}

void RouterSearchTextPage::fetchDone(const std::optional<QString> &page)
{
    const FetchKind kind = m_fetch->kind;
    m_fetch.reset();
    setBusy(false);
    if (!page) {
        trace::write(QStringLiteral("teach"), QStringLiteral("Connection Failed"));
        showInViewer(connectionFailedPage());
        if (kind == FetchKind::GetPage)
            showPage(connectionFailedPage());
        emit fetchFinished(false);
        return;
    }
    showPage(*page);
    if (kind == FetchKind::GetPage) {
        // A page that did not come says nothing about the router.
        if (!st585())
            detectRouter(*page);
    } else {
        const FigurePreview preview = FigureTeaching::preview(pageText(), m_settings);
        for (int k = 0; k < 6; ++k) {
            const auto f = TaughtFigure(k);
            const std::optional<QString> &v = preview.value(f);
            if (!v)
                continue;
            QString shown;
            if (f == TaughtFigure::User1)
                shown = m_settings.Graph.UserLabel + QStringLiteral(": ");
            else if (f == TaughtFigure::User2)
                shown = m_settings.Graph.UserLabel2 + QStringLiteral(": ");
            else
                shown = FigureTeaching::prefix(f);
            resultLabel(f)->setText(shown + *v);
        }
        if (preview.rxSync)
            m_run.Figures.RxSync = *preview.rxSync;
    }
    emit fetchFinished(true);
}

void RouterSearchTextPage::showInViewer(const QString &html)
{
    m_viewerHtml = html;
    m_rendered = HtmlToText::render(html);
    m_mappingSelection = true; // a new document is no selection of the user's
    Viewer->showPage(html);
    m_mappingSelection = false;
    m_viewerMap = RenderedPageMap(*Viewer->document(), m_rendered);
}

void RouterSearchTextPage::showPage(const QString &page)
{
    showInViewer(page);
    const bool source = m_settings.Search.UseSource || m_settings.Search.LoopBack;
    Viewer->setVisible(!source);
    RichEdit1->setVisible(source);
    // The text the polling cycle will search, so taught positions hold.
    setSourceText(FigureSearch::preparePage(page, m_settings));
}

void RouterSearchTextPage::setSourceText(const QString &text)
{
    m_source = SourcePaneText(text);
    RichEdit1->setPlainText(m_source.display());
}

void RouterSearchTextPage::detectRouter(const QString &page)
{
    QPointer<RouterSearchTextPage> self(this);
    const auto answered = [self](AdviceDialog::Answer) {
        if (!self)
            return;
        if (self->m_links.settingsAnswered)
            self->m_links.settingsAnswered();
        self->updateMarkButtons();
    };
    if (TForm8::pageNamesDg834(page)) {
        if (m_settings.System.Advise && !m_settings.System.IsDG834)
            TForm8::ask(this, m_settings, TForm8::getPageText(), answered);
    } else if (m_settings.System.Advise1 && m_settings.System.IsDG834 && pageText().size() >= 51
               && !m_settings.Search.LoopBack) {
        TForm9::ask(this, m_settings, answered);
    }
}

void RouterSearchTextPage::setBusy(bool busy)
{
    btnGetPage->setEnabled(!busy);
    btnTest->setEnabled(!busy && !m_settings.Router.ST585);
}

QMessageBox *RouterSearchTextPage::message(const QString &text)
{
    auto *box = new QMessageBox(QMessageBox::Information, QStringLiteral("Veltrano"), dialogs::plainLines(text),
                                QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("MessageBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    trace::write(QStringLiteral("box"), text);
    box->open();
    emit messageShown(text);
    return box;
}

void RouterSearchTextPage::addSourceOptions(const QList<QWidget *> &boxes)
{
    QWidget *previous = btnUser2;
    for (QWidget *box : boxes) {
        box->setParent(this);
        m_leftColumn->insertWidget(m_leftColumn->count() - 1, box);
        setTabOrder(previous, box);
        previous = box;
    }
    setTabOrder(previous, Viewer);
}

// --- views ---------------------------------------------------------------

void RouterSearchTextPage::TabSheet2Show()
{
    showFigureNotes();
    copyLoginSettings();
    updateMarkButtons();
}

void RouterSearchTextPage::showFigureNotes()
{
    Label38->setVisible(btnUser->text() != QLatin1String("User-def 1"));
    Label39->setVisible(btnUser2->text() != QLatin1String("User-def 2"));
}

void RouterSearchTextPage::updateMarkButtons()
{
    const bool st585 = m_settings.Router.ST585;
    const bool taught = !m_settings.System.IsDG834 && !st585;
    for (QPushButton *b : {btnRxNoise, btnTxNoise, btnSync, btnTxSync})
        b->setEnabled(taught);
    // The SpeedTouch 585 page is taught by one label: no second figure, no test, no figure results.
    btnUser2->setEnabled(!st585);
    btnTest->setEnabled(!st585 && btnGetPage->isEnabled());
    for (QLabel *result : {Label5, Label6, Label13, Label37})
        result->setVisible(!st585);
}

void RouterSearchTextPage::sourceOptionChanged(bool checked, bool otherChecked)
{
    Viewer->setVisible(!checked);
    RichEdit1->setVisible(checked);
    if (!otherChecked) {
        m_viewerHtml.clear();
        m_rendered = {};
        m_viewerMap = {};
        Viewer->clear();
    }
    setSourceText(QString());
    if (checked && isVisible())
        message(refreshSourceText());
}

void RouterSearchTextPage::ViewerSelectionChanged()
{
    // The rendered view maps to the source only while the source pane holds
    // the page itself (no source option rewrote it).
    if (m_mappingSelection || m_viewerHtml != pageText())
        return;
    const QTextCursor c = Viewer->textCursor();
    if (!c.hasSelection()) {
        // A click elsewhere unselects: a Mark button then marks nothing old.
        QTextCursor source = RichEdit1->textCursor();
        source.clearSelection();
        RichEdit1->setTextCursor(source);
        return;
    }
    const auto range = m_viewerMap.sourceRange(c.selectionStart(), c.selectionEnd());
    if (!range)
        return;
    selectSource(range->first, range->second - range->first);
}

void RouterSearchTextPage::selectSource(int start, int length)
{
    QTextCursor c(RichEdit1->document());
    c.setPosition(m_source.displayPos(start));
    c.setPosition(m_source.displayPos(start + length), QTextCursor::KeepAnchor);
    RichEdit1->setTextCursor(c);
}

// --- marking -------------------------------------------------------------

QLabel *RouterSearchTextPage::resultLabel(TaughtFigure figure) const
{
    switch (figure) {
    case TaughtFigure::RxNoise: return Label5;
    case TaughtFigure::TxNoise: return Label13;
    case TaughtFigure::RxSync: return Label6;
    case TaughtFigure::TxSync: return Label37;
    case TaughtFigure::User1: return Label16;
    case TaughtFigure::User2: break;
    }
    return Label33;
}

QPushButton *RouterSearchTextPage::markButton(TaughtFigure figure) const
{
    switch (figure) {
    case TaughtFigure::RxNoise: return btnRxNoise;
    case TaughtFigure::TxNoise: return btnTxNoise;
    case TaughtFigure::RxSync: return btnSync;
    case TaughtFigure::TxSync: return btnTxSync;
    case TaughtFigure::User1: return btnUser;
    case TaughtFigure::User2: break;
    }
    return btnUser2;
}

void RouterSearchTextPage::markFigure(TaughtFigure figure)
{
    const QTextCursor c = RichEdit1->textCursor();
    const int start = m_source.pageOffset(c.selectionStart());
    const int length = m_source.pageOffset(c.selectionEnd()) - start;
    if (figure == TaughtFigure::User1 && m_settings.Router.ST585) {
        markSt585(start, pageText().mid(start, length));
        return;
    }
    const FigureMark mark = FigureTeaching::mark(figure, pageText(), start, length, m_settings);
    bool &flag = FigureTeaching::timeValueFlag(figure, m_settings);
    switch (mark.outcome) {
    case FigureMark::Outcome::NoSelection:
        message(FigureTeaching::noSelectionText());
        return;
    case FigureMark::Outcome::NoValue:
        // What was taught before stays: this mark would read nothing.
        message(FigureTeaching::noValueText());
        return;
    case FigureMark::Outcome::Value:
        break;
    }
    FigureTeaching::store(figure, mark, m_settings);
    flag = false;
    if (!mark.timeValue) {
        acceptMark(figure, mark);
        return;
    }
    flag = true;
    QPointer<RouterSearchTextPage> self(this);
    confirmbox::ask(
        this, QStringLiteral("TimeValueBox"), dialogs::plainLines(FigureTeaching::timeValueQuestion()),
        window()->geometry().topLeft() + QPoint(50, 220),
        [self, figure, mark] {
            if (self)
                self->acceptMark(figure, mark);
        },
        [self, figure] {
            if (self)
                FigureTeaching::timeValueFlag(figure, self->m_settings) = false;
        });
}

void RouterSearchTextPage::acceptMark(TaughtFigure figure, const FigureMark &mark)
{
    if (!FigureTeaching::isUserFigure(figure)) {
        // The flag belongs to user figure 1's chart; a standard figure never keeps it.
        FigureTeaching::timeValueFlag(figure, m_settings) = false;
        resultLabel(figure)->setText(FigureTeaching::prefix(figure) + mark.value);
        return;
    }
    const int n = figure == TaughtFigure::User1 ? 1 : 2;
    if (m_links.userAveragingEnabled)
        m_links.userAveragingEnabled(n, !mark.timeValue);
    UserLabelDialog *dialog = UserLabelDialog::open(n, this, m_settings, {});
    QPointer<RouterSearchTextPage> self(this);
    const QString value = mark.value;
    connect(dialog, &QDialog::finished, this, [self, n, value, figure](int) {
        if (!self)
            return;
        self->applyUserLabel(n, value);
        FigureTeaching::timeValueFlag(figure, self->m_settings) = false;
    });
}

QString RouterSearchTextPage::userAxisTitle(int figure) const
{
    const TSettings::GraphKeys &g = m_settings.Graph;
    const QString &label = figure == 1 ? g.UserLabel : g.UserLabel2;
    const int scale = figure == 1 ? g.ScaleUser1 : g.ScaleUser2;
    if (scale > 1)
        return label + QStringLiteral(" x") + QString::number(scale);
    if (figure == 1 ? g.DiffUserDef : g.DiffUserDef1)
        return label + QStringLiteral(" (per sample)");
    return label;
}

void RouterSearchTextPage::applyUserLabel(int figure, const QString &value)
{
    const QString label = figure == 1 ? m_settings.Graph.UserLabel : m_settings.Graph.UserLabel2;
    if (m_links.userLabelChosen)
        m_links.userLabelChosen(figure, label);
    (figure == 1 ? m_settings.Capture.UserFile : m_settings.Capture.UserFile2) = imageFileName(label);
    (figure == 1 ? Label16 : Label33)->setText(label + QStringLiteral(":  ") + value);
    (figure == 1 ? btnUser : btnUser2)->setText(label.left(12));
    emit userFigureLabelled(figure, label, label.left(12) + QStringLiteral("  0"), userAxisTitle(figure));
}

void RouterSearchTextPage::markSt585(int start, const QString &selected)
{
    const St585Mark m = FigureTeaching::markSt585(pageText(), start, selected, m_settings, m_run.ThomsonDataSent,
                                                  m_run.ThomsonDataUnit);
    switch (m.outcome) {
    case St585Mark::Outcome::NoSelection:
        message(FigureTeaching::noSelectionText());
        return;
    case St585Mark::Outcome::BeginsWithDigit:
        message(FigureTeaching::selectLeftText());
        return;
    case St585Mark::Outcome::NotALabel:
        message(FigureTeaching::invalidLabelText());
        return;
    case St585Mark::Outcome::Label:
        break;
    }
    m_settings.Search.UserText = m.userText;
    m_settings.Graph.UserLabel = m.userLabel;
    m_settings.Graph.UserLabel2 = m.userLabel2;
    for (int n : {1, 2}) {
        const QString &label = n == 1 ? m.userLabel : m.userLabel2;
        if (m_links.userLabelChosen)
            m_links.userLabelChosen(n, label);
        (n == 1 ? m_settings.Capture.UserFile : m_settings.Capture.UserFile2) = imageFileName(label);
        // "Not Available" is shown whole.
        const QString toolbar =
            label == QLatin1String("Not Available") ? label : label.left(12) + QStringLiteral("  0");
        emit userFigureLabelled(n, label, toolbar, userAxisTitle(n));
    }
    btnUser->setText(m.buttonCaption);
    m_settings.Graph.UserLabel = m.finalUserLabel;
    m_settings.Graph.UserLabel2 = m.finalUserLabel2;
    Label33->setText(m.label33);
    if (m.label16)
        Label16->setText(*m.label16);
    emit userFigureTabRequested();
}
