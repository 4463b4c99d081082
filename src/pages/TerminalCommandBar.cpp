#include "pages/TerminalCommandBar.h"

#include "acquisition/TelnetSession.h"
#include "acquisition/TerminalCommands.h"
#include "widgets/ConfirmBox.h"
#include "pages/TForm15.h"

#include <QHBoxLayout>
#include <QInputDialog>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

TerminalCommandBar::TerminalCommandBar(TSettings &settings, TelnetSession &session, QWidget *parent)
    : QWidget(parent), m_settings(settings), m_session(session)
{
    // Two rows: nine buttons in one row do not fit the window's default width.
    auto *rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    auto *row = new QHBoxLayout;
    rows->addLayout(row);
    auto button = [this, &row](const char *name, const QString &caption, const QString &hint) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(hint);
        row->addWidget(b);
        return b;
    };
    btnStats1 = button("btnStats1", tr("Stats"), tr("Send the statistics commands"));
    btnInterfaces = button("btnInterfaces", tr("Interfaces"), QStringLiteral("ifconfig"));
    btnMem = button("btnMem", tr("Memory"), QStringLiteral("cat /proc/meminfo"));
    btnProc = button("btnProc", tr("Processes"), QStringLiteral("ps -x"));
    btnCPUInfo = button("btnCPUInfo", tr("CPU Info"), QStringLiteral("cat /proc/cpuinfo"));
    btnBits = button("btnBits", tr("Bits/Tone"), tr("Send the bit loading command"));
    row->addStretch(1);
    row = new QHBoxLayout;
    rows->addLayout(row);

    btnTelnetOptions = new QToolButton(this);
    btnTelnetOptions->setObjectName(QStringLiteral("btnTelnetOptions"));
    btnTelnetOptions->setText(tr("More Commands"));
    btnTelnetOptions->setAccessibleName(tr("More telnet commands"));
    btnTelnetOptions->setPopupMode(QToolButton::InstantPopup);
    btnTelnetOptions->setFocusPolicy(Qt::StrongFocus);
    row->addWidget(btnTelnetOptions);
    popupTelnetOptions = new QMenu(this);
    popupTelnetOptions->setObjectName(QStringLiteral("popupTelnetOptions"));
    auto fixed = [this](const char *name, const QString &command) {
        QAction *a = popupTelnetOptions->addAction(command);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, [this, command] { m_session.SendText(command); });
        return a;
    };
    catprocnetarp1 = fixed("catprocnetarp1", QStringLiteral("cat /proc/net/arp"));
    catprocnetdev1 = fixed("catprocnetdev1", QStringLiteral("cat /proc/net/dev"));
    catprocnetroute1 = fixed("catprocnetroute1", QStringLiteral("cat /proc/net/route"));
    iptableslist1 = fixed("iptableslist1", QStringLiteral("iptables --list"));
    popupTelnetOptions->addSeparator();
    mnuUser1 = popupTelnetOptions->addAction(QString());
    mnuUser1->setObjectName(QStringLiteral("mnuUser1"));
    mnuUser2 = popupTelnetOptions->addAction(QString());
    mnuUser2->setObjectName(QStringLiteral("mnuUser2"));
    QMenu *change = popupTelnetOptions->addMenu(tr("Change user defined..."));
    Userdefined11 = change->addAction(QString());
    Userdefined11->setObjectName(QStringLiteral("Userdefined11"));
    Userdefined21 = change->addAction(QString());
    Userdefined21->setObjectName(QStringLiteral("Userdefined21"));
    btnTelnetOptions->setMenu(popupTelnetOptions);
    connect(popupTelnetOptions, &QMenu::aboutToShow, this, &TerminalCommandBar::popupTelnetOptionsPopup);
    connect(mnuUser1, &QAction::triggered, this, [this] { mnuUserClick(1); });
    connect(mnuUser2, &QAction::triggered, this, [this] { mnuUserClick(2); });
    connect(Userdefined11, &QAction::triggered, this, [this] { userDefinedChangeClick(1); });
    connect(Userdefined21, &QAction::triggered, this, [this] { userDefinedChangeClick(2); });

    btnResetStats = button("btnResetStats", tr("Reset Counters"), tr("Reset the router's ADSL counters"));
    btnresetBitswap = button("btnresetBitswap", tr("Reset Bitswaps"), tr("Set the bitswap counts to zero"));
    row->addStretch(1);

    connect(btnStats1, &QPushButton::clicked, this, [this] { m_session.btnStats1Click(true); });
    connect(btnInterfaces, &QPushButton::clicked, this, [this] { m_session.SendText(QStringLiteral(" ifconfig")); });
    connect(btnMem, &QPushButton::clicked, this, [this] { m_session.SendText(QStringLiteral("cat /proc/meminfo")); });
    connect(btnProc, &QPushButton::clicked, this, &TerminalCommandBar::btnProcClick);
    connect(btnCPUInfo, &QPushButton::clicked, this, [this] { m_session.SendText(QStringLiteral("cat /proc/cpuinfo")); });
    connect(btnBits, &QPushButton::clicked, this, &TerminalCommandBar::btnBitsClick);
    connect(btnResetStats, &QPushButton::clicked, this, &TerminalCommandBar::btnResetStatsClick);
    connect(btnresetBitswap, &QPushButton::clicked, this, &TerminalCommandBar::btnresetBitswapClick);
    connect(&m_session, &TelnetSession::connectionChanged, this, [this](bool up) {
        m_connected = up;
        applyControls(m_session.controls());
    });
    popupTelnetOptionsPopup();
}

void TerminalCommandBar::applyControls(const TelnetControls &c)
{
    for (QWidget *w : std::initializer_list<QWidget *>{btnStats1, btnInterfaces, btnMem, btnProc, btnCPUInfo,
                                                       btnTelnetOptions})
        w->setEnabled(c.commandButtons);
    btnBits->setEnabled(c.toneButtons);
    // The counter reset is an adslctl command, and only with the session up.
    btnResetStats->setEnabled(m_settings.Telnet.V4 && m_session.isConnected());
}

void TerminalCommandBar::popupTelnetOptionsPopup()
{
    mnuUser1->setText(m_settings.Telnet.User1);
    Userdefined11->setText(m_settings.Telnet.User1);
    mnuUser2->setText(m_settings.Telnet.User2);
    Userdefined21->setText(m_settings.Telnet.User2);
    iptableslist1->setVisible(!m_settings.Router.V5Telnet);
}

void TerminalCommandBar::btnProcClick()
{
    m_session.flags().DebugCheckPending = false;
    m_session.SendText(QStringLiteral("ps -x"));
}

void TerminalCommandBar::btnBitsClick()
{
    const auto &t = m_settings.Telnet;
    if (t.V4)
        m_session.SendText(t.TelnetCmd.contains(QLatin1String("adslctl")) ? QStringLiteral("adslctl info --Bits")
                                                                          : QStringLiteral("adsl info --Bits"));
    if (t.V123)
        m_session.SendText(QStringLiteral("cat /proc/avalanche/avsar_bit_allocation_table"));
}

const QString &TerminalCommandBar::userCommand(int which) const
{
    return which == 1 ? m_settings.Telnet.User1 : m_settings.Telnet.User2;
}

void TerminalCommandBar::mnuUserClick(int which)
{
    if (userCommand(which) == terminalcommands::userCommandDefault(which)) {
        askUserCommand(which, true);
        return;
    }
    m_session.SendText(userCommand(which));
}

void TerminalCommandBar::userDefinedChangeClick(int which) { askUserCommand(which, false); }

void TerminalCommandBar::askUserCommand(int which, bool sendAfter)
{
    auto *dialog = new QInputDialog(window());
    dialog->setObjectName(QStringLiteral("UserCommandInput"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(QStringLiteral("User defined %1 Telnet command..").arg(which));
    dialog->setLabelText(QStringLiteral("Type a command"));
    dialog->setTextValue(userCommand(which));
    connect(dialog, &QInputDialog::textValueSelected, this, [this, which, sendAfter](const QString &text) {
        const QString fallback = terminalcommands::userCommandDefault(which);
        // An empty answer puts the default back, so the next use asks again.
        const QString command = text.trimmed().isEmpty() ? fallback : text;
        emit userCommandChanged(which, command);
        if (sendAfter && command != fallback)
            m_session.SendText(command);
    });
    dialog->open();
}

void TerminalCommandBar::btnResetStatsClick()
{
    auto *dialog = new TForm15(m_settings, m_session, window());
    const QRect main = window()->geometry();
    dialog->move(main.left() + main.width() / 2 - 240, main.top() + main.height() / 2 - 100);
    dialog->open();
}

void TerminalCommandBar::btnresetBitswapClick()
{
    const QRect main = window()->geometry();
    confirmbox::ask(this, QStringLiteral("BitswapResetBox"), QStringLiteral("Confirm reset bitswap counter to zero?"),
                    main.topLeft() + QPoint(200, 200), [this] { emit bitswapResetConfirmed(); });
}
