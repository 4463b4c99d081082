#include "pages/TelnetPage.h"

#include "acquisition/TelnetParseResult.h"
#include "acquisition/TelnetSession.h"
#include "acquisition/TerminalBuffer.h"
#include "acquisition/TerminalCommands.h"
#include "charts/TelnetChartTitles.h"
#include "pages/PaneFontDialog.h"
#include "pages/PaneTextCap.h"
#include "pages/TerminalCommandBar.h"
#include "pages/UserFigureMarker.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QTextBlock>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TelnetPage::TelnetPage(TSettings &settings, TelnetSession &session, QWidget *parent)
    : QWidget(parent), m_settings(settings), m_session(session)
{
    setObjectName(QStringLiteral("TabSheet39"));
    auto button = [](QWidget *parent, const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, parent);
        b->setObjectName(QLatin1String(name));
        return b;
    };

    // "Summary": the session and what the parsers made of the router's reply.
    TabSheet8 = new QWidget(this);
    TabSheet8->setObjectName(QStringLiteral("TabSheet8"));
    auto *summary = new QVBoxLayout(TabSheet8);
    auto *sessionRow = new QHBoxLayout;
    btnConnect = button(TabSheet8, "btnConnect", tr("Connect"));
    btnRefresh = button(TabSheet8, "btnRefresh", tr("Refresh"));
    btnDisconnect = button(TabSheet8, "btnDisconnect", tr("Disconnect"));
    for (QPushButton *b : {btnConnect, btnRefresh, btnDisconnect})
        sessionRow->addWidget(b);
    cbExtended = new QCheckBox(tr("Extended stats"), TabSheet8);
    cbExtended->setObjectName(QStringLiteral("cbExtended"));
    sessionRow->addWidget(cbExtended);
    Label70 = new QLabel(tr("DGTeam"), TabSheet8);
    Label70->setObjectName(QStringLiteral("Label70"));
    Label70->setToolTip(tr("The router runs the DGTeam firmware"));
    sessionRow->addWidget(Label70);
    sessionRow->addStretch(1);
    summary->addLayout(sessionRow);
    Panel53 = new QLabel(TabSheet8);
    Panel53->setObjectName(QStringLiteral("Panel53"));
    summary->addWidget(Panel53);
    // The three panes side by side; the third carries its title over it.
    auto *panes = new QGridLayout;
    Memo2 = new QPlainTextEdit(TabSheet8);
    Memo2->setObjectName(QStringLiteral("Memo2"));
    Memo3 = new QPlainTextEdit(TabSheet8);
    Memo3->setObjectName(QStringLiteral("Memo3"));
    Memo4 = new QPlainTextEdit(TabSheet8);
    Memo4->setObjectName(QStringLiteral("Memo4"));
    Label8 = new QLabel(QStringLiteral("ATM Totals"), TabSheet8);
    Label8->setObjectName(QStringLiteral("Label8"));
    Label8->setBuddy(Memo4);
    panes->addWidget(Label8, 0, 2);
    int column = 0;
    for (QPlainTextEdit *m : {Memo2, Memo3, Memo4}) {
        m->setReadOnly(true);
        panes->addWidget(m, 1, column);
        panes->setColumnStretch(column++, 1);
    }
    panes->setRowStretch(1, 1);
    summary->addLayout(panes, 1);
    Memo2->setAccessibleName(tr("Downstream statistics"));
    Memo3->setAccessibleName(tr("Upstream statistics"));

    // "Terminal".
    auto *layout = new QVBoxLayout(this);
    auto *buttons = new QHBoxLayout;
    btnConnect1 = button(this, "btnConnect1", tr("Connect"));
    btnDisConnect1 = button(this, "btnDisConnect1", tr("Disconnect"));
    btnSNR = button(this, "btnSNR", tr("SNR/Tone"));
    for (QPushButton *b : {btnConnect1, btnDisConnect1, btnSNR})
        buttons->addWidget(b);
    Label100 = new QLabel(this);
    Label100->setObjectName(QStringLiteral("Label100"));
    Label100->setToolTip(tr("ADSL2+ tones shown"));
    Label100->hide();
    buttons->addWidget(Label100);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setAccessibleName(tr("Telnet terminal"));
    Memo1->setMaximumBlockCount(TerminalBuffer::kMaxLines);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setTabChangesFocus(true);
    Memo1->installEventFilter(this);
    layout->addWidget(Memo1, 1);
    commands = new TerminalCommandBar(settings, session, this);
    layout->addWidget(commands);
    marker = new UserFigureMarker(settings, Memo2, Memo3, Panel53, this);

    connect(btnConnect, &QPushButton::clicked, this, [this] { m_session.btnConnectClick(TelnetSender::ConnectButton); });
    connect(btnRefresh, &QPushButton::clicked, this, [this] { m_session.btnRefreshClick(); });
    connect(btnDisconnect, &QPushButton::clicked, this, [this] { m_session.btnDisConnect1Click(); });
    connect(btnConnect1, &QPushButton::clicked, this,
            [this] { m_session.btnConnectClick(TelnetSender::TerminalConnectButton); });
    connect(btnDisConnect1, &QPushButton::clicked, this, [this] { m_session.btnDisConnect1Click(); });
    connect(btnSNR, &QPushButton::clicked, this, [this] { m_session.sendSnrTable(); });
    connect(&session, &TelnetSession::terminalAppended, this, [this](const QString &text) {
        Memo1->moveCursor(QTextCursor::End);
        Memo1->insertPlainText(text);
        capPaneText(Memo1, TerminalBuffer::kMaxChars);
        Memo1->moveCursor(QTextCursor::End);
    });
    connect(&session, &TelnetSession::terminalCleared, Memo1, &QPlainTextEdit::clear);
    connect(&session, &TelnetSession::statsPanesCleared, this, [this](bool all) {
        Memo2->clear();
        Memo3->clear();
        if (all)
            Memo4->clear();
    });
    connect(&session, &TelnetSession::controlsChanged, this, &TelnetPage::applyControls);
    // The "adsl info" family always lists the interfaces. The box is bound to its setting, so checking
    // it here announces the session's change to every view.
    connect(&session, &TelnetSession::extendedForced, this, [this] {
        cbExtended->setChecked(true);
        cbExtended->setEnabled(false);
    });
    applyControls(TelnetControls{});
    applyFamily();
}

void TelnetPage::applyPaneFonts(const TSettings &s) { PaneFontDialog::apply({Memo1, Memo2, Memo3, Memo4}, s); }

void TelnetPage::applyFamily()
{
    Label70->setVisible(m_settings.Telnet.IsDGTeam);
    cbExtended->setChecked(m_settings.Telnet.Extended);
    cbExtended->setEnabled(!m_settings.Router.V5Telnet);
    Label8->setText(totalsPaneTitle(m_settings));
    Memo4->setAccessibleName(Label8->text());
}

void TelnetPage::applyControls(const TelnetControls &c)
{
    btnConnect->setEnabled(c.btnConnect);
    btnConnect->setText(c.btnConnectCaption);
    btnConnect1->setEnabled(c.btnConnect1);
    btnRefresh->setEnabled(c.btnRefresh);
    btnDisconnect->setEnabled(c.btnDisconnect);
    btnDisConnect1->setEnabled(c.btnDisconnect);
    Memo1->setEnabled(c.Memo1);
    btnSNR->setEnabled(c.toneButtons);
    for (QPlainTextEdit *m : {Memo2, Memo3, Memo4})
        m->setEnabled(c.statsPanes);
    commands->applyControls(c);
}

bool TelnetPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Memo1 && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        // Typing always goes on the last line, after the router's prompt.
        if (!key->text().isEmpty() && Memo1->textCursor().block() != Memo1->document()->lastBlock())
            Memo1->moveCursor(QTextCursor::End);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Memo1->moveCursor(QTextCursor::End);
            Memo1KeyPress();
        }
    }
    return QWidget::eventFilter(watched, event); // the pane still gets the key and starts a new line
}

void TelnetPage::Memo1KeyPress()
{
    if (!m_session.isConnected())
        return;
    const QString command =
        terminalcommands::typedCommand(Memo1->document()->lastBlock().text(), m_settings.Telnet.TelnetPrompt);
    if (!command.isEmpty())
        m_session.SendText(command);
}

void TelnetPage::showParsed(const TelnetParseResult &r)
{
    if (r.ClearPanes) {
        Memo2->clear();
        Memo3->clear();
        Memo4->clear();
    }
    for (const QString &line : r.Memo2)
        Memo2->appendPlainText(line);
    for (const QString &line : r.Memo3)
        Memo3->appendPlainText(line);
    for (const QString &line : r.Memo4)
        Memo4->appendPlainText(line);
}
