#pragma once
// What the simulated router's shell prints for one command line, for the
// three firmware families. Every label stands where the program's telnet
// parsers look for it (see the layout notes in TelnetReplies.cpp); the
// figures come from the router state, shown as given.
#include "RouterState.h"
#include "TelnetBehaviour.h"

#include <QByteArray>
#include <QString>

namespace routersim {

struct TelnetReply {
    enum class Action { None, Kill, Reboot, Logout };
    QByteArray text;           // output lines, each ended by CR LF
    Action action = Action::None;
    QString result = QStringLiteral("ok"); // for the journal
};

class TelnetReplies
{
public:
    TelnetReplies(RouterState &state, TelnetBehaviour &behaviour) : m_state(state), m_behaviour(behaviour) {}

    // Runs one command line as typed (blanks around it do not matter).
    TelnetReply run(const QString &line);

    QByteArray banner() const;
    QByteArray ar7ModemStats() const;
    QByteArray ar7BitAllocation() const;
    QByteArray ar7RxSnr() const;
    QByteArray adslctlStats() const;
    // what: "SNR", "Bits" or "Hlog".
    QByteArray adslctlTones(const QString &what) const;
    QByteArray adslInfo() const;
    QByteArray adslPerf() const;
    QByteArray adslDefects() const;
    QByteArray ifconfig() const;
    QByteArray processList() const;
    // SpeedTouch 585: "adsl debug bitloadinginfo" and "adsl info expand=enabled".
    QByteArray st585BitLoading() const;
    QByteArray st585Statistics() const;

    // Tones the line uses: 256 for ADSL, 512 for ADSL2+.
    int toneCount() const;

private:
    QByteArray fig(Figure f) const;
    QByteArray adslctlHeader() const;

    RouterState &m_state;
    TelnetBehaviour &m_behaviour;
};

} // namespace routersim
