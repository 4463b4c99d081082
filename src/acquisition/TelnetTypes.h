#pragma once
// Values the general telnet session shares with the main window and the
// telnet parsers.
#include <QMetaType>
#include <QString>

// Who asked for a connect; only the Connect button and Run also ask for
// statistics, and the failure boxes depend on it.
enum class TelnetSender {
    ConnectButton,         // btnConnect
    TerminalConnectButton, // btnConnect1, on the terminal tab
    RunButton,             // btnStart
    PollingCycle,          // Timer1
    Window,                // the main window itself (target noise margin change)
};

// What the session is waiting for; set when commands go out, read and
// cleared by the parsers.
struct TelnetRequestFlags {
    bool StatsRequested = false;
    bool ExtendedRequested = false;
    bool DebugCheckPending = false;
    bool BitsReplyExpected = false;
};

// Enabled states (and the one caption) of the window's telnet controls,
// named after them. btnConnect and btnConnect1 differ only at a failed
// address check and after the debug daemon was ended.
struct TelnetControls {
    bool btnConnect = true;
    bool btnConnect1 = true;
    QString btnConnectCaption = QStringLiteral("Connect");
    bool btnRefresh = false;
    bool btnDisconnect = false;   // and btnDisConnect1
    bool btnBitsRefresh = false;
    bool Memo1 = true;
    bool statsPanes = false;      // Memo2, Memo3, Memo4
    bool commandButtons = false;  // btnStats1, btnInterfaces, btnMem, btnProc, btnCPUInfo, btnTelnetOptions
    bool toneButtons = false;     // btnBits, btnSNR
    bool btnResetStats = false;
    bool cbShowAttenuation = false;

    bool operator==(const TelnetControls &) const = default;
};

// A reply that ended at the prompt: the whole terminal text (lines joined
// with CR LF, as the parsers measure it) and which parsers are to read it,
// in the order ParseData, ParseDataV4, ParseDataV5.
struct TelnetReply {
    QString text;
    bool runAr7 = false;      // ParseData
    bool runAdslctl = false;  // ParseDataV4
    bool runAdslInfo = false; // ParseDataV5
};

Q_DECLARE_METATYPE(TelnetControls)
Q_DECLARE_METATYPE(TelnetReply)
