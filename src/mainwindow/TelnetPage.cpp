#include "mainwindow/TelnetPage.h"

#include "acquisition/TelnetSession.h"
#include "acquisition/TerminalBuffer.h"
#include "acquisition/TerminalCommands.h"
#include "mainwindow/PaneTextCap.h"
#include "mainwindow/TerminalCommandBar.h"
#include "mainwindow/UserFigureMarker.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QTextBlock>

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TelnetPage::TelnetPage(TSettings &settings, TelnetSession &session, QWidget *parent)
    : QWidget(parent), m_settings(settings), m_session(session)
{
    setObjectName(QStringLiteral("TabSheet39"));
    auto *layout = new QVBoxLayout(this);
    auto *buttons = new QHBoxLayout;
    btnConnect = new QPushButton(tr("Connect"), this);
    btnConnect->setObjectName(QStringLiteral("btnConnect"));
    btnRefresh = new QPushButton(tr("Refresh"), this);
    btnRefresh->setObjectName(QStringLiteral("btnRefresh"));
    btnDisconnect = new QPushButton(tr("Disconnect"), this);
    btnDisconnect->setObjectName(QStringLiteral("btnDisconnect"));
    btnSNR = new QPushButton(tr("SNR/Tone"), this);
    btnSNR->setObjectName(QStringLiteral("btnSNR"));
    for (QPushButton *b : {btnConnect, btnRefresh, btnDisconnect, btnSNR})
        buttons->addWidget(b);
    cbExtended = new QCheckBox(tr("Extended stats"), this);
    cbExtended->setObjectName(QStringLiteral("cbExtended"));
    buttons->addWidget(cbExtended);
    Label70 = new QLabel(tr("DGTeam"), this);
    Label70->setObjectName(QStringLiteral("Label70"));
    Label70->setToolTip(tr("The router runs the DGTeam firmware"));
    buttons->addWidget(Label70);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setAccessibleName(tr("Telnet terminal"));
    Memo1->setMaximumBlockCount(TerminalBuffer::kMaxLines);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setTabChangesFocus(true);
    Memo1->installEventFilter(this);
    layout->addWidget(Memo1, 2);
    commands = new TerminalCommandBar(settings, session, this);
    layout->addWidget(commands);
    Panel53 = new QLabel(this);
    Panel53->setObjectName(QStringLiteral("Panel53"));
    layout->addWidget(Panel53);

    auto *panes = new QHBoxLayout;
    Memo2 = new QPlainTextEdit(this);
    Memo2->setObjectName(QStringLiteral("Memo2"));
    Memo3 = new QPlainTextEdit(this);
    Memo3->setObjectName(QStringLiteral("Memo3"));
    Memo4 = new QPlainTextEdit(this);
    Memo4->setObjectName(QStringLiteral("Memo4"));
    for (QPlainTextEdit *m : {Memo2, Memo3, Memo4}) {
        m->setReadOnly(true);
        panes->addWidget(m);
    }
    layout->addLayout(panes, 1);
    Memo2->setAccessibleName(tr("Downstream statistics"));
    Memo3->setAccessibleName(tr("Upstream statistics"));
    Memo4->setAccessibleName(tr("Further statistics"));
    marker = new UserFigureMarker(settings, Memo2, Memo3, Panel53, this);

    connect(btnConnect, &QPushButton::clicked, this, [this] { m_session.btnConnectClick(TelnetSender::ConnectButton); });
    connect(btnRefresh, &QPushButton::clicked, this, [this] { m_session.btnRefreshClick(); });
    connect(btnDisconnect, &QPushButton::clicked, this, [this] { m_session.btnDisConnect1Click(); });
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
    connect(cbExtended, &QCheckBox::clicked, this, [this](bool on) { m_settings.Telnet.Extended = on; });
    // The "adsl info" family always lists the interfaces.
    connect(&session, &TelnetSession::extendedForced, this, [this] {
        cbExtended->setChecked(true);
        cbExtended->setEnabled(false);
    });
    applyControls(TelnetControls{});
    applyFamily();
}

void TelnetPage::applyFamily()
{
    Label70->setVisible(m_settings.Telnet.IsDGTeam);
    cbExtended->setChecked(m_settings.Telnet.Extended);
    cbExtended->setEnabled(!m_settings.Router.V5Telnet);
}

void TelnetPage::applyControls(const TelnetControls &c)
{
    btnConnect->setEnabled(c.btnConnect);
    btnConnect->setText(c.btnConnectCaption);
    btnRefresh->setEnabled(c.btnRefresh);
    btnDisconnect->setEnabled(c.btnDisconnect);
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
