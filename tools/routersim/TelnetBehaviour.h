#pragma once
// How the simulated router's telnet side behaves: which firmware family's
// command line it offers, its prompt and log-in, who may connect, how its
// output is cut into pieces on the wire, and the failures it injects.
#include "Profile.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace routersim {

// AR7 ("cat /proc/avalanche/..."), Broadcom adslctl ("adslctl info --stats",
// "adsl info --stats"), Conexant "adsl info" / "adsl perf" / "adsl defects",
// and the SpeedTouch 585's own command line ("adsl debug bitloadinginfo",
// "adsl info expand=enabled", "system reboot", "env set ...").
enum class TelnetFamily { Ar7, Adslctl, AdslInfo, St585 };
// No log-in (the debug daemon), a password prompt only, or user and password.
enum class TelnetLogin { None, Password, User };
// Always listening, or only after the web debug page was fetched (and until
// the daemon is killed or the router reboots).
enum class TelnetAccess { Always, Debug };
// Each reply in one write; one write per line; a split between every CR and
// its LF; random splits (seeded), CR/LF pairs split more often than not.
enum class ChunkMode { Whole, Line, CrLf, Random };
// For new connections: reset at once; never send anything (no prompt);
// log in, then never answer; log in, then close at the first command;
// stop listening.
enum class TelnetFault { None, Refuse, Mute, Hang, Close, Down };

class TelnetBehaviour
{
public:
    static std::optional<TelnetFamily> familyFromName(const QString &name);
    static QString familyName(TelnetFamily family);
    // The family a router model's firmware has.
    static TelnetFamily familyFor(ProfileId profile);
    static QString defaultPrompt(TelnetFamily family);

    static std::optional<TelnetLogin> loginFromName(const QString &name);
    static QString loginName(TelnetLogin login);
    static std::optional<TelnetAccess> accessFromName(const QString &name);
    static QString accessName(TelnetAccess access);
    static std::optional<ChunkMode> chunkFromName(const QString &name);
    static QString chunkName(ChunkMode mode);
    static std::optional<TelnetFault> faultFromName(const QString &name);
    static QString faultName(TelnetFault fault);

    // The prompt the shell prints: the one set, or the family's own.
    QString prompt() const { return promptOverride.isEmpty() ? defaultPrompt(family) : promptOverride; }

    // The failure a new connection gets; a counted failure uses up one.
    TelnetFault takeFault();
    bool isDown() const { return fault == TelnetFault::Down; }

    // One line for "telnet" with no arguments.
    QString describe(int sessions) const;

    TelnetFamily family = TelnetFamily::Ar7;
    QString promptOverride;
    TelnetLogin login = TelnetLogin::None;
    QString user = QStringLiteral("admin");
    QString password = QStringLiteral("quillfen");
    TelnetAccess access = TelnetAccess::Always;
    ChunkMode chunk = ChunkMode::Whole;
    quint32 seed = 1;
    int pieceDelayMs = 2; // between the pieces of a split reply
    TelnetFault fault = TelnetFault::None;
    int faultRemaining = -1; // connections still to fail; -1 until cleared
    bool daemonListed = true;             // "ps" shows "/usr/sbin/utelnetd -d"
    QString daemonPid = QStringLiteral("121");
    QString snrTarget;                    // the last "adslctl configure --snr" value
    int counterResets = 0;
    // SpeedTouch 585: its only session is taken (a new connection is told so
    // and closed), and the last session time-out set ("env set var=SESSIONTIMEOUT").
    bool sessionBusy = false;
    QString sessionTimeout = QStringLiteral("120");
    int kills = 0;
};

} // namespace routersim
