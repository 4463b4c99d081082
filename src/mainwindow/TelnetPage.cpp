#include "mainwindow/TelnetPage.h"

#include "acquisition/TelnetSession.h"
#include "acquisition/TerminalBuffer.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TelnetPage::TelnetPage(TelnetSession &session, QWidget *parent) : QWidget(parent), m_session(session)
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
    for (QPushButton *b : {btnConnect, btnRefresh, btnDisconnect})
        buttons->addWidget(b);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setMaximumBlockCount(TerminalBuffer::kMaxLines);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(Memo1, 2);
    edCommand = new QLineEdit(this);
    edCommand->setObjectName(QStringLiteral("edCommand"));
    edCommand->setPlaceholderText(tr("Command to send"));
    layout->addWidget(edCommand);

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

    connect(btnConnect, &QPushButton::clicked, this, [this] { m_session.btnConnectClick(TelnetSender::ConnectButton); });
    connect(btnRefresh, &QPushButton::clicked, this, [this] { m_session.btnRefreshClick(); });
    connect(btnDisconnect, &QPushButton::clicked, this, [this] { m_session.btnDisConnect1Click(); });
    connect(edCommand, &QLineEdit::returnPressed, this, [this] {
        m_session.SendText(edCommand->text());
        edCommand->clear();
    });
    connect(&session, &TelnetSession::terminalAppended, this, [this](const QString &text) {
        Memo1->moveCursor(QTextCursor::End);
        Memo1->insertPlainText(text);
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
    applyControls(TelnetControls{});
}

void TelnetPage::applyControls(const TelnetControls &c)
{
    btnConnect->setEnabled(c.btnConnect);
    btnConnect->setText(c.btnConnectCaption);
    btnRefresh->setEnabled(c.btnRefresh);
    btnDisconnect->setEnabled(c.btnDisconnect);
    Memo1->setEnabled(c.Memo1);
    for (QPlainTextEdit *m : {Memo2, Memo3, Memo4})
        m->setEnabled(c.statsPanes);
}
