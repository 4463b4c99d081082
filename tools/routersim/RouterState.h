#pragma once
// What the simulated router knows about its line: the figures its pages show,
// its WAN address, connection state, uptime and log. Values are kept as the
// text the pages print, so a test can feed odd router formats ("8,128",
// "4294967290", "12:30:05") straight through to the program's parsers.
#include "LineTones.h"

#include <QString>
#include <QStringList>
#include <array>

namespace routersim {

enum class Figure {
    RxNoise, TxNoise, RxSync, TxSync,
    RxAttenuation, TxAttenuation, RxPower, TxPower,
    DataSent, DataReceived,
    TxPackets, RxPackets, Collisions, TxRate, RxRate,
    FecUp, FecDown, CrcUp, CrcDown, HecUp, HecDown, LossOfLink,
    // The telnet command lines' counters (interleaved path in the figures
    // above, fast path here) and the adslctl and "adsl info" extras.
    FastCrcDown, FastFecDown, FastHecDown, FastCrcUp, FastFecUp, FastHecUp,
    MaxRateDown, MaxRateUp, SuperframesDown, SuperframesUp, SuperframesPrev15,
    RsDown, RsUp, UncorrDown, UncorrUp, EsDown, EsUp, SesDown, SesUp,
    LosDown, LosUp, LofDown, LofUp, Crc15, Es15, Lof15, CrcDay, EsDay, LofDay,
    BitswapDown, BitswapUp, RxBytes, TxBytes,
    Count
};

class RouterState
{
public:
    // Widest text a figure may hold; the page layouts leave room for it.
    static constexpr int kMaxFigureLength = 12;
    static constexpr int kMaxUptimeLength = 24;
    static constexpr int kMaxLogLength = 65536;

    RouterState();

    // Sets a figure or one of the named items (wan, state, uptime, log,
    // dataunit, wanif, linemode, path). Names are case-insensitive. On failure nothing changes.
    bool set(const QString &name, const QString &value, QString *error);
    // Checks a name and value without changing anything.
    static bool validate(const QString &name, const QString &value, QString *error);
    // Current text of a name accepted by set(); empty for an unknown name.
    QString get(const QString &name) const;

    QString figure(Figure f) const { return m_figures[static_cast<int>(f)]; }
    static QString figureName(Figure f);
    static QStringList names();

    QString wanAddress() const { return m_wan; }
    bool connected() const { return m_connected; }
    QString uptime() const { return m_uptime; }
    QString log() const { return m_log; }
    QString dataUnit() const { return m_dataUnit; }
    // The WAN interface the telnet "ifconfig" shows: "ppp0" (PPPoE/PPPoA, with
    // nas0 beside it) or "nas0" (bridged, the address on nas0).
    QString wanInterface() const { return m_wanInterface; }
    bool adsl2Plus() const { return m_adsl2Plus; }
    bool interleaved() const { return m_interleaved; }
    // Bits and SNR per tone, for the bit-loading commands.
    LineTones &tones() { return m_tones; }
    const LineTones &tones() const { return m_tones; }
    // The error counters back to 0 (the routers' "--reset" commands).
    void resetCounters();

    int rebootCount() const { return m_reboots; }
    void countReboot() { ++m_reboots; }
    bool telnetEnabled() const { return m_telnetEnabled; }
    void setTelnetEnabled(bool on) { m_telnetEnabled = on; }

private:
    std::array<QString, static_cast<int>(Figure::Count)> m_figures;
    QString m_wan;
    bool m_connected = true;
    QString m_uptime;
    QString m_log;
    QString m_dataUnit;
    QString m_wanInterface;
    bool m_adsl2Plus = false;
    bool m_interleaved = true;
    LineTones m_tones;
    int m_reboots = 0;
    bool m_telnetEnabled = false;
};

} // namespace routersim
