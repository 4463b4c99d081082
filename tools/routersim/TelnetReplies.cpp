#include "TelnetReplies.h"

#include <QRegularExpression>
#include <algorithm>

// Where the program's telnet parsers look (1-based positions in the terminal
// text, lines joined with CR LF; "label+N" counts from the label's first
// character; a window is read with "first number" rules, so blanks and tabs
// before a value are harmless but nothing numeric may come first).
//
// AR7 "cat /proc/avalanche/avsar_modem_stats" (one label per line):
//   "DS Connection Rate:" +19 w10, "US Connection Rate:" +19 w10,
//   "DS Line Attenuation:" +20 w10, "US Line Attenuation:" +20 w10,
//   "DS Margin:" +20 w10 and "US Margin:" +20 w10 (ten blanks after the
//   label), "DS/US Max Attainable Bit Rate:" +28 w30 (the upstream one in
//   bit/s: the parser divides by 1024), "DS Superframe Cnt:" +18 w30,
//   "US Superframe Cnt :" +19 w30. Sections "[Downstream (RX) Interleave
//   path]" (250 chars) and its Fast, "[Upstream (TX) ...]" (150 chars), each
//   with "CRC:", "FEC:", "HEC:" +4 w20. ATM: "[Upstream/TX]"+13 (100 chars)
//   and "[Downstream/RX)]"+16 (160 chars) with "Good Cell Cnt:", "Idle Cell
//   Cnt:", "Bad Hec Cell Cnt:", "Overflow Dropped Cell Cnt:". The reply is
//   over 1000 characters and the first labels lie past position 50.
// AR7 bit table: "US Bit Allocation:"+20 holds 32 entries "xx " then CR;
//   "DS Bit Allocation:"+117 is the LF that ends the first line of 32, so
//   with CR and LF removed tone i is the two hex digits at 1+3i. SNR:
//   "Rx SNR Per Bin for Bin0"+25 starts 16 entries "xxxx " a line (SNR x 100).
// adslctl "info --stats": two-column lines, downstream value within 15
//   characters after the label and upstream within 30, blanks only around
//   them: "SNR (dB):", "Rate (Kbps):" (both need a reply over 2000
//   characters), "Attn(dB):", "Pwr(dBm):", "Max(Kbps):"; "D: " and
//   "Bitswap: " (upstream 20 past the first blank); the 500 characters after
//   "Counters" hold "SF:", "SFErr:", "RS:", "RSCorr:", "RSUnCorr:", "HEC:";
//   "ES:" comes before "SES:" and before anything else ending in "ES:";
//   nothing before "D: " contains "D: ". Periods "Total time =", "Latest 15
//   minutes time =", "Previous 15 minutes time" (its "SF = " count 41
//   characters past the label), "Latest 1 day time =", with "CRC", "ES",
//   "LOF" lines as "NAME = down  up" ("ES" before "SES").
// adslctl "info --Bits/--SNR/--Hlog": "Bit Allocation", "Tone number      SNR",
//   "Tone number      Hlog", then one tone a line: three blanks, the tone
//   number, then two tabs (bits) or four blanks (SNR, Hlog) and the value.
// "adsl info": "%-29s: value" lines ("Downstream Noise Margin      :" etc.),
//   bit rates in bit/s, the mode line followed by a line starting with "C".
//   "adsl perf"/"adsl defects": "============= NEAR END ===========" and
//   "============= FAR END ===========" (perf) or "============== FAR END
//   ==============" (defects); far-end FEC is "FEC  :" (two blanks).
// ifconfig: br0, nas0 and (PPP) ppp0 in the 10-column busybox layout;
//   "Link encap:Point-Point Protocol" (AR7, adslctl) or
//   "Link encap:Point-to-Point Protocol" ("adsl info"); the byte counters lie
//   250 to 700 characters past that label, or 350 to 700 past "nas0".
// SpeedTouch 585 "adsl debug bitloadinginfo": the program drops the first 82
//   characters of its pane (the 27 of "adsl debug bitloadinginfo" CR LF it
//   writes itself, the echo's 27, then this reply's 26-character header line
//   and its CR LF), keeps characters 12 to 43 of each line and joins them:
//   so each line is an 11-character row label and 32 characters of a text
//   that holds tone i's bits as "%2d " at 1+3i, tones 0 to 512.
// SpeedTouch 585 "adsl info expand=enabled": "Margin       (dB)            :"
//   (and "Attenuation  (dB)", "OutputPower  (dBm)") with the downstream value
//   in the 20 characters right after the label and the upstream one in the 10
//   after that; "Downstream                 :" and "Upstream                   :"
//   with the rate 20 blanks after the label; "Received FEC           :" and its
//   kin, "Loss of frame          :" etc. one blank after the label; "Uptime (days
//   hh:mm:ss)       :" one blank after; "DSL Type " then ": " and the type.
// ps: "  PID" right-aligned in 5, 21 characters, then the command, so the
//   telnet daemon's PID is the 5 characters 26 before "/usr/sbin/utelnetd -d".

namespace routersim {

namespace {

using Bytes = QByteArray;

const Bytes kCrLf = "\r\n";

bool allDigits(const Bytes &v)
{
    if (v.isEmpty() || v.size() > 15)
        return false;
    return std::all_of(v.begin(), v.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A whole number shown in another unit (kbit/s as bit/s); other texts as given.
Bytes scaled(const Bytes &v, qint64 factor)
{
    return allDigits(v) ? Bytes::number(v.toLongLong() * factor) : v;
}

// The label, blanks up to the offset, then the value: the value starts the
// parser's window. When the window starts right after the label, a blank
// goes first if the value leaves room for it.
Bytes at(const Bytes &label, int offset, const Bytes &value, int width)
{
    int pad = offset - static_cast<int>(label.size());
    if (pad <= 0)
        pad = value.size() < width ? 1 : 0;
    return label + Bytes(pad, ' ') + value;
}

// Two columns after a label: downstream within downWidth characters of the
// label's end, upstream after it within upWidth, blanks only between.
Bytes cols(const Bytes &label, const Bytes &down, const Bytes &up, int downWidth = 15, int upWidth = 30)
{
    const int d = static_cast<int>(down.size());
    const int u = static_cast<int>(up.size());
    int a = std::max(1, 13 - static_cast<int>(label.size()));
    a = std::min(a, std::max(1, downWidth - d));
    int b = std::max(1, 11 - d);
    b = std::min(b, std::max(1, upWidth - a - d - u));
    return label + Bytes(a, ' ') + down + Bytes(b, ' ') + up;
}

Bytes v5Line(const char *label, const Bytes &value)
{
    return Bytes(label).leftJustified(29, ' ') + ": " + value;
}

// busybox's "(2.6 GiB)".
Bytes human(const Bytes &bytes)
{
    if (!allDigits(bytes))
        return "0.0 B";
    double v = bytes.toDouble();
    const char *units[] = {"B", "KiB", "MiB", "GiB", "TiB"};
    int u = 0;
    while (v >= 1024 && u < 4) {
        v /= 1024;
        ++u;
    }
    return Bytes::number(v, 'f', 1) + ' ' + units[u];
}

Bytes hex(int value, int digits)
{
    return Bytes::number(value, 16).rightJustified(digits, '0').right(digits);
}

Bytes psLine(const Bytes &pid, const Bytes &vsz, const Bytes &stat, const Bytes &command)
{
    return pid.rightJustified(5, ' ') + ' ' + Bytes("root").leftJustified(8, ' ') + vsz.rightJustified(6, ' ') + ' '
           + stat.leftJustified(4, ' ') + ' ' + command;
}

class Text
{
public:
    Text &operator<<(const Bytes &line)
    {
        m_text += line + kCrLf;
        return *this;
    }
    Bytes bytes() const { return m_text; }

private:
    Bytes m_text;
};

} // namespace

Bytes TelnetReplies::fig(Figure f) const
{
    return m_state.figure(f).toLatin1();
}

int TelnetReplies::toneCount() const
{
    return m_state.adsl2Plus() ? 512 : 256;
}

Bytes TelnetReplies::banner() const
{
    Text t;
    if (m_behaviour.family == TelnetFamily::St585) {
        t << "" << "------------------------------------------------------------------------" << ""
          << "                             SpeedTouch 585" << ""
          << "------------------------------------------------------------------------" << "";
        return t.bytes();
    }
    t << "" << "" << "BusyBox v1.00 (2007.01.10-16:40+0000) Built-in shell (msh)"
      << "Enter 'help' for a list of built-in commands." << "";
    return t.bytes();
}

Bytes TelnetReplies::ar7ModemStats() const
{
    const bool il = m_state.interleaved();
    Text t;
    t << "" << "AR7 DSL Modem Statistics:" << "--------------------------------" << "[DSL Modem Stats]";
    t << "\t" + at("US Connection Rate:", 19, fig(Figure::TxSync), 10);
    t << "\t" + at("DS Connection Rate:", 19, fig(Figure::RxSync), 10);
    t << "\t" + at("DS Line Attenuation:", 20, fig(Figure::RxAttenuation), 10);
    t << "\t" + at("DS Margin:", 20, fig(Figure::RxNoise), 10);
    t << "\t" + at("US Line Attenuation:", 20, fig(Figure::TxAttenuation), 10);
    t << "\t" + at("US Margin:", 20, fig(Figure::TxNoise), 10);
    t << "\tUS Payload :\t\t" + fig(Figure::TxPackets) + "00";
    t << "\tDS Payload:\t\t" + fig(Figure::RxPackets) + "00";
    t << "\t" + at("US Superframe Cnt :", 19, fig(Figure::SuperframesUp), 30);
    t << "\t" + at("DS Superframe Cnt:", 18, fig(Figure::SuperframesDown), 30);
    t << "\tUS Peak Cell Rate:\t1056" << "\tDS Peak Cell Rate:\t19169";
    t << Bytes("\tTrained Mode:\t\t") + (m_state.adsl2Plus() ? "ADSL2+" : "G.dmt");
    t << Bytes("\tTrained Path:\t\t") + (il ? "1" : "0");
    t << Bytes("\tUS Interleave Depth:\t") + (il ? "8" : "1");
    t << Bytes("\tDS Interleave Depth:\t") + (il ? "64" : "1");
    t << "\tLOS errors:\t\t" + fig(Figure::LosDown) << "\tSEF errors:\t\t0";
    t << "\tFrame mode:\t\t3" << "\tMax Frame mode:\t\t3";
    t << "\t" + at("DS Max Attainable Bit Rate:", 28, fig(Figure::MaxRateDown) + " kbps", 30);
    t << "\t" + at("US Max Attainable Bit Rate:", 28, scaled(fig(Figure::MaxRateUp), 1024) + " bps", 30);
    t << "";
    const auto path = [&t](const Bytes &title, const Bytes &crc, const Bytes &fec, const Bytes &hec) {
        t << title << "\tCRC: \t" + crc << "\tFEC: \t" + fec << "\tNCD: \t0" << "\tLCD: \t0" << "\tHEC: \t" + hec;
    };
    path("[Upstream (TX) Interleave path]", fig(Figure::CrcUp), fig(Figure::FecUp), fig(Figure::HecUp));
    path("[Upstream (TX) Fast path]", fig(Figure::FastCrcUp), fig(Figure::FastFecUp), fig(Figure::FastHecUp));
    t << "";
    path("[Downstream (RX) Interleave path]", fig(Figure::CrcDown), fig(Figure::FecDown), fig(Figure::HecDown));
    path("[Downstream (RX) Fast path]", fig(Figure::FastCrcDown), fig(Figure::FastFecDown), fig(Figure::FastHecDown));
    t << "" << "[ATM Stats]" << "[Upstream/TX]";
    t << "\tGood Cell Cnt:\t" + fig(Figure::TxPackets) << "\tIdle Cell Cnt:\t98231";
    t << "" << "[Downstream/RX)]";
    t << "\tGood Cell Cnt:\t" + fig(Figure::RxPackets) << "\tIdle Cell Cnt:\t1022874";
    t << "\tBad Hec Cell Cnt:\t" + fig(Figure::HecDown) << "\tOverflow Dropped Cell Cnt:\t0";
    t << "" << "[SAR AAL5 Stats]" << "\tTx PDU's:\t" + fig(Figure::TxPackets) << "\tRx PDU's:\t" + fig(Figure::RxPackets)
      << "\tTx Total Bytes:\t" + fig(Figure::TxBytes) << "\tRx Total Bytes:\t" + fig(Figure::RxBytes)
      << "\tTx Total Error Counts:\t0" << "\tRx Total Error Counts:\t0";
    return t.bytes();
}

Bytes TelnetReplies::ar7BitAllocation() const
{
    const LineTones &tones = m_state.tones();
    Text t;
    t << "" << "AR7 DSL Modem US Bit Allocation:";
    Bytes us;
    for (int i = 0; i < 32; ++i)
        us += hex(i < 32 ? tones.bits(i) : 0, 2) + ' ';
    t << us << "" << "AR7 DSL Modem DS Bit Allocation:";
    // The downstream table lists every tone from 0; the parser skips its
    // first line, the upstream tones.
    for (int row = 0; row < toneCount() / 32; ++row) {
        Bytes line;
        for (int i = row * 32; i < row * 32 + 32; ++i)
            line += hex(i < 32 ? 0 : tones.bits(i), 2) + ' ';
        t << line;
    }
    return t.bytes();
}

Bytes TelnetReplies::st585BitLoading() const
{
    const LineTones &tones = m_state.tones();
    Bytes fields;
    for (int i = 0; i <= 512; ++i)
        fields += Bytes::number(i < toneCount() ? tones.bits(i) : 0).rightJustified(2, ' ') + ' ';
    Text t;
    t << Bytes("Bitloading (bits per tone):").left(26).leftJustified(26, ' ');
    for (int row = 0; row * 32 < fields.size(); ++row)
        t << QString(QStringLiteral("row %1:")).arg(row, 2, 10, QLatin1Char('0')).toLatin1().leftJustified(11, ' ')
                 + fields.mid(row * 32, 32);
    return t.bytes();
}

Bytes TelnetReplies::st585Statistics() const
{
    const auto pair = [this](const Bytes &label, Figure down, Figure up) {
        return label + fig(down).leftJustified(20, ' ') + fig(up).leftJustified(10, ' ');
    };
    // Values fill their whole field, as the router pads them.
    const auto one = [this](const Bytes &label, Figure f) { return label + ' ' + fig(f).leftJustified(17, ' '); };
    Text t;
    t << "Modem state:                 up";
    t << Bytes("DSL Type                     : ") + (m_state.adsl2Plus() ? "G.992.5" : "G.992.1");
    t << "Bandwidth (Down/Up - kbit/s/kbit/s):";
    t << "Downstream                 :" + Bytes(20, ' ') + fig(Figure::RxSync).leftJustified(10, ' ');
    t << "Upstream                   :" + Bytes(20, ' ') + fig(Figure::TxSync).leftJustified(10, ' ');
    t << "Uptime (days hh:mm:ss)       : " + m_state.uptime().toLatin1();
    t << "                              Down                Up";
    t << pair("Margin       (dB)            :", Figure::RxNoise, Figure::TxNoise);
    t << pair("Attenuation  (dB)            :", Figure::RxAttenuation, Figure::TxAttenuation);
    t << pair("OutputPower  (dBm)           :", Figure::RxPower, Figure::TxPower);
    t << "Statistics:";
    t << one("Received FEC           :", Figure::FecDown) << one("Received CRC           :", Figure::CrcDown)
      << one("Received HEC           :", Figure::HecDown);
    t << one("Transmitted FEC        :", Figure::FecUp) << one("Transmitted CRC        :", Figure::CrcUp)
      << one("Tranmsitted HEC        :", Figure::HecUp);
    t << "Failures since last reset:";
    t << one("Loss of frame          :", Figure::LofDown) << one("Loss of signal         :", Figure::LosDown)
      << one("Errored seconds        :", Figure::EsDown);
    return t.bytes();
}

Bytes TelnetReplies::ar7RxSnr() const
{
    const LineTones &tones = m_state.tones();
    Text t;
    t << "" << "AR7 DSL Modem Rx SNR Per Bin for Bin0";
    for (int row = 0; row < toneCount() / 16; ++row) {
        Bytes line;
        for (int i = row * 16; i < row * 16 + 16; ++i)
            line += hex(static_cast<int>(tones.snr(i) * 100 + 0.5), 4) + ' ';
        t << line;
    }
    return t.bytes();
}

Bytes TelnetReplies::adslctlHeader() const
{
    Text t;
    t << "adslctl: ADSL driver and PHY status" << "Status: Showtime" << "Retrain Reason:\t0";
    t << "Max:\tUpstream rate = " + fig(Figure::MaxRateUp) + " Kbps, Downstream rate = " + fig(Figure::MaxRateDown)
             + " Kbps";
    t << "Path:\t0, Upstream rate = " + fig(Figure::TxSync) + " Kbps, Downstream rate = " + fig(Figure::RxSync)
             + " Kbps";
    t << "" << "Link Power State:\tL0" << Bytes("Mode:\t\t\t") + (m_state.adsl2Plus() ? "ADSL2+" : "G.DMT");
    return t.bytes();
}

Bytes TelnetReplies::adslctlStats() const
{
    const bool il = m_state.interleaved();
    Text t;
    t << adslctlHeader().chopped(2);
    t << Bytes("Channel:\t\t") + (il ? "INTR" : "FAST") << "Trellis:\t\tU:ON /D:ON" << "Line Status:\t\tNo Defect"
      << "Training Status:\tShowtime" << "\t\tDown\t\tUp";
    t << cols("SNR (dB):", fig(Figure::RxNoise), fig(Figure::TxNoise));
    t << cols("Attn(dB):", fig(Figure::RxAttenuation), fig(Figure::TxAttenuation));
    t << cols("Pwr(dBm):", fig(Figure::RxPower), fig(Figure::TxPower));
    t << cols("Max(Kbps):", fig(Figure::MaxRateDown), fig(Figure::MaxRateUp));
    t << cols("Rate (Kbps):", fig(Figure::RxSync), fig(Figure::TxSync));
    t << "" << (m_state.adsl2Plus() ? "\t\t\tG.992.5 framing" : "\t\t\tG.dmt framing");
    t << cols("K:", "239(0)", "13") << cols("R:", "16", "16") << cols("S:", "1", "8");
    t << cols("D:", il ? "64" : "1", il ? "8" : "1");
    t << cols("MSGc:", "59", "11") << cols("B:", "238", "12") << cols("M:", "1", "1") << cols("T:", "0", "0")
      << cols("L:", "2048", "112") << cols("INP:", "1.00", "2.00") << cols("delay:", il ? "16" : "1", "8");
    t << "" << "Counters";
    t << cols("SF:", fig(Figure::SuperframesDown), fig(Figure::SuperframesUp));
    t << cols("SFErr:", fig(Figure::CrcDown), fig(Figure::CrcUp));
    t << cols("RS:", fig(Figure::RsDown), fig(Figure::RsUp));
    t << cols("RSCorr:", fig(Figure::FecDown), fig(Figure::FecUp));
    t << cols("RSUnCorr:", fig(Figure::UncorrDown), fig(Figure::UncorrUp));
    t << "";
    t << cols("HEC:", fig(Figure::HecDown), fig(Figure::HecUp)) << cols("OCD:", "0", "0") << cols("LCD:", "0", "0");
    t << cols("Total Cells:", fig(Figure::RxPackets), "0") << cols("Data Cells:", fig(Figure::RxPackets), "0")
      << cols("Drop Cells:", "0", "0") << cols("Bit Errors:", "0", "0");
    t << "";
    t << cols("ES:", fig(Figure::EsDown), fig(Figure::EsUp));
    t << cols("SES:", fig(Figure::SesDown), fig(Figure::SesUp));
    t << cols("UAS:", "20", "20") << cols("AS:", "94507", "");
    t << "";
    // The upstream count 20 characters past the first blank after "tswap:".
    t << "Bitswap:  " + fig(Figure::BitswapDown).leftJustified(20, ' ') + fig(Figure::BitswapUp);
    t << "";
    const auto period = [&t](const Bytes &title, const Bytes &sf, const Bytes &fec, const Bytes &crc, const Bytes &es,
                             const Bytes &ses, const Bytes &los, const Bytes &lof) {
        t << title << "SF = " + sf << "FEC = " + fec << "CRC = " + crc << "ES = " + es << "SES = " + ses
          << "UAS = 0  0" << "LOS = " + los << "LOF = " + lof;
    };
    const auto pair = [this](Figure down, Figure up) { return fig(down) + "  " + fig(up); };
    period("Total time = 1 days 2 hours 15 min 7 sec", fig(Figure::SuperframesDown) + "  " + fig(Figure::SuperframesUp),
           pair(Figure::FecDown, Figure::FecUp), pair(Figure::CrcDown, Figure::CrcUp),
           pair(Figure::EsDown, Figure::EsUp), pair(Figure::SesDown, Figure::SesUp),
           pair(Figure::LosDown, Figure::LosUp), pair(Figure::LofDown, Figure::LofUp));
    period("Latest 15 minutes time = 7 min 30 sec", "27836  27836", "12  0", fig(Figure::Crc15) + "  0",
           fig(Figure::Es15) + "  0", "0  0", "0  0", fig(Figure::Lof15) + "  0");
    period("Previous 15 minutes time = 15 min 0 sec", fig(Figure::SuperframesPrev15) + "  " + fig(Figure::SuperframesPrev15),
           "31  0", "0  0", "0  0", "0  0", "0  0", "0  0");
    period("Latest 1 day time = 2 hours 15 min 7 sec", "502360  502360", "340  0", fig(Figure::CrcDay) + "  0",
           fig(Figure::EsDay) + "  0", "0  0", "0  0", fig(Figure::LofDay) + "  0");
    period("Previous 1 day time = 24 hours 0 min 0 sec", "5343889  5343889", "1870  0", "0  0", "0  0", "0  0",
           "0  0", "0  0");
    return t.bytes();
}

Bytes TelnetReplies::adslctlTones(const QString &what) const
{
    const LineTones &tones = m_state.tones();
    Text t;
    t << adslctlHeader().chopped(2) << "";
    if (what == "Bits") {
        t << "Tone number      Bit Allocation";
        for (int i = 0; i < toneCount(); ++i)
            t << "   " + Bytes::number(i) + "\t\t" + Bytes::number(tones.bits(i));
    } else {
        const bool snr = what == "SNR";
        t << (snr ? "Tone number      SNR" : "Tone number      Hlog");
        for (int i = 0; i < toneCount(); ++i)
            t << "   " + Bytes::number(i) + "    " + Bytes::number(snr ? tones.snr(i) : tones.hlog(i), 'f', 4);
    }
    return t.bytes();
}

Bytes TelnetReplies::adslInfo() const
{
    Text t;
    t << v5Line("Modem Status", m_state.connected() ? "Showtime" : "Idle");
    t << v5Line("Downstream Noise Margin", fig(Figure::RxNoise) + " dB");
    t << v5Line("Upstream Noise Margin", fig(Figure::TxNoise) + " dB");
    t << v5Line("Downstream Attenuation", fig(Figure::RxAttenuation) + " dB");
    t << v5Line("Upstream Attenuation", fig(Figure::TxAttenuation) + " dB");
    t << v5Line("Downstream Output Power", fig(Figure::RxPower) + " dBm");
    t << v5Line("Upstream Output Power", fig(Figure::TxPower) + " dBm");
    t << v5Line("Downstream Bit Rate", scaled(fig(Figure::RxSync), 1000) + " bps");
    t << v5Line("Upstream Bit Rate", scaled(fig(Figure::TxSync), 1000) + " bps");
    t << v5Line("Current trained adsl mode", m_state.adsl2Plus() ? "ADSL2+" : "G.dmt");
    t << v5Line("Channel Mode", m_state.interleaved() ? "Interleaved" : "fast");
    t << v5Line("Trellis Coding", "Enabled");
    return t.bytes();
}

Bytes TelnetReplies::adslPerf() const
{
    Text t;
    t << "============= NEAR END ===========";
    t << "HEC   : " + fig(Figure::HecUp) << "FEC   : " + fig(Figure::FecUp) << "CRC   : " + fig(Figure::CrcUp);
    t << "============= FAR END ===========";
    t << "HEC   : " + fig(Figure::HecDown) << "FEC  : " + fig(Figure::FecDown) << "CRC   : " + fig(Figure::CrcDown);
    return t.bytes();
}

Bytes TelnetReplies::adslDefects() const
{
    Text t;
    t << "============= NEAR END ===========";
    t << "LOS (Count of Loss of signal): " + fig(Figure::LosUp);
    t << "SES (Count of Severely errored seconds): " + fig(Figure::SesUp);
    t << "ES  (Count of errored seconds): " + fig(Figure::EsUp);
    t << "============== FAR END ==============";
    t << "LOS (Count of Loss of signal): " + fig(Figure::LosDown);
    t << "SES (Count of Severely errored seconds): " + fig(Figure::SesDown);
    t << "ES  (Count of errored seconds): " + fig(Figure::EsDown);
    return t.bytes();
}

Bytes TelnetReplies::ifconfig() const
{
    const Bytes wan = m_state.wanAddress().toLatin1();
    const bool ppp = m_state.wanInterface() == "ppp0";
    const Bytes rx = fig(Figure::RxBytes);
    const Bytes tx = fig(Figure::TxBytes);
    const Bytes ind = "          ";
    const auto counters = [&](Text &t, const Bytes &rxPackets, const Bytes &txPackets, const Bytes &queue,
                              const Bytes &rxBytes, const Bytes &txBytes) {
        t << ind + "RX packets:" + rxPackets + " errors:0 dropped:0 overruns:0 frame:0";
        t << ind + "TX packets:" + txPackets + " errors:0 dropped:0 overruns:0 carrier:0";
        t << ind + "collisions:0 txqueuelen:" + queue + " ";
        t << ind + "RX bytes:" + rxBytes + " (" + human(rxBytes) + ")  TX bytes:" + txBytes + " (" + human(txBytes)
                 + ")";
    };
    Text t;
    t << "br0       Link encap:Ethernet  HWaddr 00:14:6C:8E:21:04  ";
    t << ind + "inet addr:192.168.0.1  Bcast:192.168.0.255  Mask:255.255.255.0";
    t << ind + "UP BROADCAST RUNNING MULTICAST  MTU:1500  Metric:1";
    counters(t, "48211", "51023", "0", "5236110", "41255087");
    t << "";
    t << "nas0      Link encap:Ethernet  HWaddr 00:14:6C:8E:21:05  ";
    if (!ppp)
        t << ind + "inet addr:" + wan + "  Bcast:255.255.255.255  Mask:255.255.255.0";
    t << ind + "inet6 addr: fe80::214:6cff:fe8e:2105/64 Scope:Link";
    t << ind + "UP BROADCAST RUNNING MULTICAST  MTU:1500  Metric:1";
    if (ppp)
        counters(t, "2411873", "190240", "100", "2891730112", "31244810");
    else
        counters(t, fig(Figure::RxPackets), fig(Figure::TxPackets), "100", rx, tx);
    t << "";
    if (ppp) {
        const bool v5 = m_behaviour.family == TelnetFamily::AdslInfo;
        t << Bytes("ppp0      Link encap:") + (v5 ? "Point-to-Point Protocol  " : "Point-Point Protocol  ");
        t << ind + "inet addr:" + wan + "  P-t-P:203.0.113.1  Mask:255.255.255.255";
        t << ind + "UP POINTOPOINT RUNNING NOARP MULTICAST  MTU:1492  Metric:1";
        counters(t, fig(Figure::RxPackets), fig(Figure::TxPackets), "3", rx, tx);
        t << "";
    }
    return t.bytes();
}

Bytes TelnetReplies::processList() const
{
    Text t;
    t << "  PID  Uid     VmSize Stat Command";
    t << psLine("1", "284", "S", "init       ") << psLine("2", "", "SW", "[keventd]")
      << psLine("3", "", "SWN", "[ksoftirqd_CPU0]") << psLine("4", "", "SW", "[kswapd]")
      << psLine("5", "", "SW", "[bdflush]") << psLine("6", "", "SW", "[kupdated]")
      << psLine("7", "", "SW", "[mtdblockd]") << psLine("43", "236", "S", "/usr/sbin/syslogd -m 0")
      << psLine("58", "312", "S", "/usr/sbin/dnsmasq") << psLine("72", "488", "S", "/usr/sbin/httpd");
    if (m_behaviour.daemonListed)
        t << psLine(m_behaviour.daemonPid.toLatin1(), "300", "S", "/usr/sbin/utelnetd -d");
    t << psLine("97", "260", "S", "/usr/sbin/pppd") << psLine("130", "348", "S", "-sh")
      << psLine("131", "292", "R", "ps -x");
    return t.bytes();
}

TelnetReply TelnetReplies::run(const QString &typed)
{
    TelnetReply r;
    const QString line = typed.simplified();
    const TelnetFamily family = m_behaviour.family;
    const auto out = [&r](const Bytes &text, const QString &result = QStringLiteral("ok")) {
        r.text = text;
        r.result = result;
        return r;
    };
    const auto notFound = [&]() {
        return out("sh: " + line.section(' ', 0, 0).toLatin1() + ": not found\r\n", "not-found");
    };

    if (line.isEmpty())
        return r;
    if (family == TelnetFamily::St585) {
        static const QRegularExpression timeout(QStringLiteral("^env set var=SESSIONTIMEOUT value=(\\d{1,9})$"));
        if (const auto m = timeout.match(line); m.hasMatch()) {
            m_behaviour.sessionTimeout = m.captured(1);
            return out({});
        }
        if (line == "adsl debug bitloadinginfo")
            return out(st585BitLoading());
        if (line == "adsl info expand=enabled")
            return out(st585Statistics());
        if (line == "system reboot") {
            m_state.countReboot();
            r.action = TelnetReply::Action::Reboot;
            return out("Rebooting...\r\n", "reboot");
        }
        if (line == "exit") {
            r.action = TelnetReply::Action::Logout;
            return out({}, "logout");
        }
        return out(":" + line.toLatin1() + "\r\nInvalid command.\r\n", "not-found");
    }
    if (line == "ps" || line == "ps -x" || line == "ps x" || line == "ps -ef")
        return out(processList());
    if (line == "ifconfig")
        return out(ifconfig());
    if (line == "reboot") {
        m_state.countReboot();
        r.action = TelnetReply::Action::Reboot;
        return out("The system is going down NOW!\r\nRebooting.\r\n", "reboot");
    }
    if (line == "exit" || line == "logout") {
        r.action = TelnetReply::Action::Logout;
        return out({}, "logout");
    }
    if (line == "help")
        return out("Built-in commands:\r\n-------------------\r\n\t. break cd continue eval exec exit export help "
                   "login read set shift trap umask wait\r\n");
    static const QRegularExpression kill(QStringLiteral("^kill(?: -9)? (\\S+)$"));
    if (const auto m = kill.match(line); m.hasMatch()) {
        if (m_behaviour.daemonListed && m.captured(1) == m_behaviour.daemonPid) {
            ++m_behaviour.kills;
            r.action = TelnetReply::Action::Kill;
            return out({}, "kill");
        }
        return out("sh: can't kill pid " + m.captured(1).toLatin1() + ": No such process\r\n", "no-such-process");
    }
    // The target noise margin command goes to every family.
    static const QRegularExpression snr(QStringLiteral("^(?:/usr/sbin/)?adslctl configure --snr (-?\\d{1,5})$"));
    if (const auto m = snr.match(line); m.hasMatch()) {
        m_behaviour.snrTarget = m.captured(1);
        return out({});
    }
    if (line == "cat /proc/meminfo")
        return out("MemTotal:        14004 kB\r\nMemFree:          2312 kB\r\nMemShared:           0 kB\r\n"
                   "Buffers:          1248 kB\r\nCached:           3536 kB\r\n");
    if (line == "cat /proc/cpuinfo")
        return out(family == TelnetFamily::Ar7 ? "processor\t\t: 0\r\ncpu model\t\t: MIPS 4KEc V4.8\r\n"
                                                 "BogoMIPS\t\t: 149.91\r\n"
                                               : "system type\t\t: Broadcom BCM6348\r\nprocessor\t\t: 0\r\n"
                                                 "cpu model\t\t: BCM6348\r\nBogoMIPS\t\t: 255.59\r\n");
    if (line == "cat /proc/net/arp")
        return out("IP address       HW type     Flags       HW address            Mask     Device\r\n"
                   "192.168.0.2      0x1         0x2         00:1C:25:77:10:4A     *        br0\r\n");
    if (line == "cat /proc/net/route")
        return out("Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\r\n"
                   "br0\t0000A8C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\r\n");
    if (line == "cat /proc/net/dev")
        return out("Inter-|   Receive                  |  Transmit\r\n face |bytes    packets errs drop|bytes    "
                   "packets errs drop\r\n  ppp0:" + fig(Figure::RxBytes) + " " + fig(Figure::RxPackets) + " 0 0 "
                   + fig(Figure::TxBytes) + " " + fig(Figure::TxPackets) + " 0 0\r\n");
    if (line == "iptables --list" && family != TelnetFamily::AdslInfo)
        return out("Chain INPUT (policy DROP)\r\ntarget     prot opt source               destination\r\n"
                   "ACCEPT     all  --  anywhere             anywhere\r\n");

    switch (family) {
    case TelnetFamily::Ar7:
        if (line == "cat /proc/avalanche/avsar_modem_stats")
            return out(ar7ModemStats());
        if (line == "cat /proc/avalanche/avsar_bit_allocation_table")
            return out(ar7BitAllocation());
        if (line == "cat /proc/avalanche/avsar_rxsnr0")
            return out(ar7RxSnr());
        if (line.startsWith("cat "))
            return out("cat: " + line.mid(4).toLatin1() + ": No such file or directory\r\n", "not-found");
        return notFound();
    case TelnetFamily::Adslctl: {
        static const QRegularExpression info(QStringLiteral("^(?:/usr/sbin/)?(?:adslctl|adsl) info (--\\w+)$"));
        const auto m = info.match(line);
        if (!m.hasMatch())
            return notFound();
        const QString option = m.captured(1);
        if (option == "--stats" || option == "--show")
            return out(adslctlStats());
        if (option == "--SNR" || option == "--Bits" || option == "--Hlog")
            return out(adslctlTones(option.mid(2)));
        if (option == "--reset") {
            m_state.resetCounters();
            ++m_behaviour.counterResets;
            return out({});
        }
        return out("adslctl: unknown option " + option.toLatin1() + "\r\n", "not-found");
    }
    case TelnetFamily::AdslInfo:
        if (line == "adsl info")
            return out(adslInfo());
        if (line == "adsl perf")
            return out(adslPerf());
        if (line == "adsl defects")
            return out(adslDefects());
        if (line == "adsl info --reset") {
            m_state.resetCounters();
            ++m_behaviour.counterResets;
            return out({});
        }
        return notFound();
    case TelnetFamily::St585:
        break; // its own shell answered above
    }
    return notFound();
}

} // namespace routersim
