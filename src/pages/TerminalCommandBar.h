#pragma once
// The terminal tab's command buttons: the canned commands, the options menu
// with the /proc listings and the two user-defined commands, the counter
// reset and the bitswap reset.
#include "settings/TSettings.h"

#include <QWidget>

class QAction;
class QMenu;
class QPushButton;
class QToolButton;
class TelnetSession;
struct TelnetControls;

class TerminalCommandBar : public QWidget {
    Q_OBJECT
public:
    TerminalCommandBar(TSettings &settings, TelnetSession &session, QWidget *parent = nullptr);

    QPushButton *btnStats1 = nullptr;
    QPushButton *btnInterfaces = nullptr;
    QPushButton *btnMem = nullptr;
    QPushButton *btnProc = nullptr;
    QPushButton *btnCPUInfo = nullptr;
    QPushButton *btnBits = nullptr;
    QToolButton *btnTelnetOptions = nullptr;
    QPushButton *btnResetStats = nullptr;
    QPushButton *btnresetBitswap = nullptr;
    QMenu *popupTelnetOptions = nullptr;
    QAction *catprocnetarp1 = nullptr;
    QAction *catprocnetdev1 = nullptr;
    QAction *catprocnetroute1 = nullptr;
    QAction *iptableslist1 = nullptr;
    QAction *mnuUser1 = nullptr;
    QAction *mnuUser2 = nullptr;
    QAction *Userdefined11 = nullptr;
    QAction *Userdefined21 = nullptr;

    void applyControls(const TelnetControls &c);
    void popupTelnetOptionsPopup();
    void btnBitsClick();
    void btnProcClick();
    // which: 1 or 2. The first use asks for the command, then sends it.
    void mnuUserClick(int which);
    // "Change user defined...": asks, stores, sends nothing.
    void userDefinedChangeClick(int which);
    void btnResetStatsClick();
    void btnresetBitswapClick();

signals:
    // The bitswap counts are to be set to zero (the user confirmed).
    void bitswapResetConfirmed();
    // The user gave user-defined command `which` (1 or 2) a new text: the window stores it through the hub.
    void userCommandChanged(int which, const QString &command);

private:
    void askUserCommand(int which, bool sendAfter);
    const QString &userCommand(int which) const;

    TSettings &m_settings;
    TelnetSession &m_session;
    bool m_connected = false;
};
