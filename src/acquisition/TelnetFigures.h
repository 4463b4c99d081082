#pragma once
// The telnet figures record: what the telnet parsers found in the router's
// replies, kept between replies and polls. The parsers overwrite only what
// they find; the polling cycle, the telnet charts, the log and the alarms
// read it. Counters are 64-bit (router counters pass 2^32 on long-lived
// lines); bitswap counts per tone are 32-bit so they never wrap.
#include <QString>
#include <QtGlobal>
#include <array>

struct TelnetFigures {
    static constexpr int kCounters = 12; // slots 0-5 downstream, 6-11 upstream
    static constexpr int kTones = 513;

    qint32 TelnetSyncNow = 0; // kbit/s of the latest parse
    float TelnetNoiseNow = 0; // dB of the latest parse
    qint32 TelnetRxSync = 0;  // TelnetSyncNow after the sync rules (log, alarms)
    float TelnetRxNoise = 0;  // TelnetNoiseNow after the noise rules (log, alarms)
    qint32 LastGoodTelnetSync = 0;
    qint32 TelnetSyncRetries = 0;
    float LastGoodTelnetNoise = 0; // Run zeroes it
    qint32 TelnetNoiseRetries = 0;

    // ICRC, IFEC, IHEC, FastCRC, FastFEC, FastHEC, then the same upstream.
    std::array<qint64, kCounters> TelnetCounters{};
    // Baselines of the six downstream counters for the incremental charts.
    std::array<qint64, 6> TelnetCounterBase{};
    // The base holds a reading of its counter: a chart takes its base at its
    // slot's first reading of a run, never from a counter no reply has filled.
    std::array<bool, 6> TelnetCounterBaseSet{};

    // WAN interface byte totals in MiB.
    double RxBytesTotal = 0;
    double TxBytesTotal = 0;
    double LastGoodRxBytes = 0;
    double LastGoodTxBytes = 0;
    double RxBytesBase = 0;
    double TxBytesBase = 0;
    bool RxBytesBaseSet = false;
    bool TxBytesBaseSet = false;
    QString RxBytesBaseDate; // "dd mmm yy  HH:nn:ss"
    QString TxBytesBaseDate;
    bool BytesInterfaceFound = false; // totals from ppp0 (true) or nas0 (false)

    // The numbers after [Telnet] UserDownText and UserUpText in the panes.
    double TelnetUserDown = 0;
    double TelnetUserUp = 0;

    // What the replies parsed since the telnet charts were last plotted have
    // read. A figure not read since then is no reading of this poll: its
    // charts get a gap and its log item no value, never an older value or 0.
    struct Readings {
        bool Noise = false;
        bool Sync = false;
        std::array<bool, kCounters> Counters{};
        bool UserDown = false;
        bool UserUp = false;
        bool RxBytes = false;
        bool TxBytes = false;
    };
    Readings Fresh;

    // An ADSL2+ line was seen; Run clears it.
    bool Adsl2PlusSeen = false;
    // adslctl: 900000 / the previous 15 minutes' superframe count, in ms.
    float SuperframePeriod = 0;
    // Whole seconds since 1970 of the last bitswap chart point.
    qint64 LastBitswapPlot = 0;

    // Per-tone tables of the latest bit-loading reply.
    std::array<int, kTones> ToneBits{};          // bits per tone; the reference for the next bitswap test
    std::array<float, kTones> ToneSnr{};         // SNR per tone, dB
    std::array<quint8, kTones> ToneSwapped{};    // 1: the tone changed in this reply
    std::array<quint32, kTones> ToneSwapCount{}; // changes per tone since the last reset
    std::array<float, kTones> ToneHlog{};        // attenuation per tone (adslctl), dB, as absolute values

    // What Run clears.
    void resetForRun()
    {
        LastGoodTelnetNoise = 0;
        Adsl2PlusSeen = false;
        Fresh = Readings{};
        TelnetCounterBaseSet = {};
    }
};
