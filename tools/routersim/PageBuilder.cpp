#include "PageBuilder.h"

#include "PageLayout.h"

// Where each figure stands, and what the program's searches need of it.
// Offsets are counted from the first character of the label (1-based
// positions on the page, as the program counts them).
//
// DG834 label search (v1234 and v5 status pages):
//   "Noise Margin"      Rx noise: first number in 90 chars from label+15;
//                       Tx noise: 160 chars from label+25, after the first
//                       "</td>", first number.
//   "Connection Speed"  Rx sync: first digits in 80 chars from label+20;
//                       Tx sync: 200 chars from label+25, after the first "</td>".
//   "Line Attenuation"  down: 100 chars from label+16, after the first
//                       'ttext">'; up: 200 chars, after the second 'ttext">'.
//   The teaching page's test reads the same rows 50 chars past the label,
//   so each downstream value sits at label+55 with only markup and blanks
//   before it, and nothing numeric between the label and that value.
//   Sync values carry no separators: that search converts the digits as found.
//
// Taught positions (v1234 and other status pages; search text 'lass="ttex'):
//   a value at V has 'lass="ttex' at V-13 and no earlier copy of it in the
//   75 chars from V-31, so the default positions (value at Pos+31) hold:
//   Rx sync 4038 -> 4069, Tx sync 4115 -> 4146, Rx noise 4528 -> 4559,
//   Tx noise 4601 -> 4632, uptime 2062 -> 2093 (30 chars from the text
//   +10, digits and ':'). User-defined figures as the teaching page stores
//   them (Pos = V-36, text 'lass="ttext">'): v1234 Tx packets 1757,
//   Rx packets 1817; other data received 4800, data sent 4957.
//
// v5 uptime: from the first "WAN", seven hops to 18 chars past each
//   'align="center"'; the text between the next '>' and '<' is the Up Time
//   cell (all within 600 chars of "WAN").
//
// SpeedTouch 585 (value cell "<td colspan='3'>", 16 chars, right after the
//   label's "</td>"; pairs are "up / down"):
//   "SN Margin (Up/Down) [dB]:"          window 50 from label+30: Tx noise 10
//                                        chars after the first '>', Rx noise
//                                        10 after the first '/'.
//   ">Bandwidth (Up/Down) [kbps/kbps]:"  Rx sync 15 chars after the first '/'
//                                        of 50 from label+36; Tx sync 10 after
//                                        the first '>' of 50 from label+40.
//   "Line Attenuation (Up/Down) [dB]:"   up 10 after '>' from label+40; down
//                                        15 after '/' from label+43.
//   "Uptime:"                            50 from label+27: '>' then the uptime
//                                        up to the next '<'.
//   user figures (e.g. "FEC Errors (Up/Down):", "Loss of Link (Remote):"):
//                                        "'3'>" within 120 chars after the label.
//   All labels precede the first "</td></tr></table>" (the viewer cuts
//   the page there) and the data row reads ">0.00 / 0.00</td></tr>".
//   Link page: "IP Address:" +32 (address up to '<'); "Sent/Received)" +14
//   holds the 8-char unit " [kB/kB]", +43 the '>' before "sent / received".
//   Events page: the rows start 27 chars past "Recorded Events" and end
//   with 10 blank characters before "</form>".
//
// Side pages: st_poe.htm holds "NOWRAP>Connected" or "NOWRAP>Disconnected"
//   (never both, never at its first character) and, after
//   '<TD NOWRAP><B>Getting IP Addresses</B></td>', the address 11 chars
//   later with no digit before it (offset 0 or 8 both find it).
//   v5 RST_status.htm: the first "IP Address" is the WAN one; its address
//   starts 33 chars after the label's end, window 40 from label end + 28.
//   Logs: v1234/other text 102 chars after '<TEXTAREA NAME="outlog_Display"',
//   v5 text 99 chars after '<TEXTAREA', both up to "</textarea>".

namespace routersim {

namespace {

QByteArray l1(const QString &s)
{
    return s.toLatin1();
}

// A value cell of the Netgear pages; 'lass="ttex' stands 13 chars before
// the value.
void ttextCell(PageLayout &p, int valueAt, const QByteArray &value)
{
    p.at(valueAt - 18, "<td class=\"ttext\">").add(value).add("</td>");
}

void dg834Row(PageLayout &p, int rxAt, int txAt, const QByteArray &label, const QByteArray &rx,
              const QByteArray &tx)
{
    p.at(rxAt - 55 - 22, "<tr><td class=\"ttext\">").add(label).add("</td>");
    ttextCell(p, rxAt, rx);
    ttextCell(p, txAt, tx);
    p.add("</tr>\r\n");
}

// A row of the 585's data table; the caller closes the table right after
// the last one so that "</td></tr></table>" ends the figures.
void st585Row(PageLayout &p, const QByteArray &label, const QByteArray &value)
{
    p.add("\r\n<tr><td width='35%'>").add(label).add("</td><td colspan='3'>").add(value).add("</td></tr>");
}

const QByteArray kPortHeader =
    "<tr><td class=\"thead\" align=\"center\">Port</td><td class=\"thead\" align=\"center\">Status</td>"
    "<td class=\"thead\" align=\"center\">TxPkts</td><td class=\"thead\" align=\"center\">RxPkts</td>"
    "<td class=\"thead\" align=\"center\">Collisions</td><td class=\"thead\" align=\"center\">Tx B/s</td>"
    "<td class=\"thead\" align=\"center\">Rx B/s</td><td class=\"thead\" align=\"center\">Up Time</td></tr>\r\n";

const QByteArray kLanCells[] = {"100M/Full", "28911", "30110", "0", "812", "655", "26:15:29"};

QByteArray netgearHead(const QByteArray &description, const QByteArray &title)
{
    return "<html>\r\n<head>\r\n<meta name=\"description\" content=\"" + description + "\">\r\n"
           "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\r\n"
           "<title>" + title + "</title>\r\n<link rel=\"stylesheet\" href=\"form.css\">\r\n</head>\r\n"
           "<body bgcolor=\"#ffffff\">\r\n<form>\r\n";
}

const QByteArray kNetgearTail = "</form>\r\n</body>\r\n</html>\r\n";

QByteArray st585Head(const QByteArray &title)
{
    return "<html>\r\n<head>\r\n<title>SpeedTouch 585</title>\r\n"
           "<link rel='stylesheet' type='text/css' href='/css/st.css'>\r\n</head>\r\n<body>\r\n"
           "<div class='title'>" + title + "</div>\r\n";
}

} // namespace

QByteArray PageBuilder::fig(Figure f) const
{
    return l1(m_state.figure(f));
}

QByteArray PageBuilder::build(ProfileId profile, PageKind page) const
{
    const bool netgear = profile != ProfileId::St585;
    switch (page) {
    case PageKind::Status:
        switch (profile) {
        case ProfileId::V1234: return v1234Status();
        case ProfileId::V5: return v5Status();
        case ProfileId::St585: return st585Status();
        case ProfileId::Other: return otherStatus();
        }
        break;
    case PageKind::WanAddress:
        if (profile == ProfileId::V5)
            return v5WanPage();
        return netgear ? connectionPage() : QByteArray();
    case PageKind::Connection:
        return netgear ? connectionPage() : QByteArray();
    case PageKind::Log:
        return netgear ? netgearLog(profile == ProfileId::V5) : QByteArray();
    case PageKind::Reboot:
        return netgear ? simplePage("Restarting", "The router is restarting. Please wait.") : QByteArray();
    case PageKind::Logout:
        if (profile == ProfileId::St585)
            return st585Head("Home") + "<p>Welcome to SpeedTouch.</p>\r\n</body>\r\n</html>\r\n";
        return simplePage("Logged out", "You have logged out of the router.");
    case PageKind::Debug:
        return netgear ? simplePage("Debug", "Debug Enable!") : QByteArray();
    case PageKind::Link:
        return profile == ProfileId::St585 ? st585Link() : QByteArray();
    case PageKind::Events:
        return profile == ProfileId::St585 ? st585Events() : QByteArray();
    case PageKind::Home:
        return netgear ? simplePage("NETGEAR Router", "<a href=\"" + l1(Profile::pagePath(profile, PageKind::Status))
                                                          + "\">Router Status</a>")
                       : QByteArray();
    case PageKind::None:
        break;
    }
    return {};
}

QByteArray PageBuilder::v1234Status() const
{
    PageLayout p;
    p.add(netgearHead("DG834G", "NETGEAR Router"));
    p.add("<table border=\"0\" cellpadding=\"0\" cellspacing=\"3\" width=\"100%\">\r\n"
          "<tr><td colspan=\"8\"><h1>Router Statistics</h1></td></tr>\r\n");
    p.add(kPortHeader);
    // The WAN row's cells are 60 apart, ending with the Up Time at 2093.
    const QByteArray wan[] = {"PPPoA", fig(Figure::TxPackets), fig(Figure::RxPackets), fig(Figure::Collisions),
                              fig(Figure::TxRate), fig(Figure::RxRate), l1(m_state.uptime())};
    p.add("<tr><td class=\"ttext\">WAN</td>");
    for (int i = 0; i < 7; ++i)
        ttextCell(p, kUptimeAt - 60 * (6 - i), wan[i]);
    p.add("</tr>\r\n<tr><td class=\"ttext\">LAN</td>");
    for (const QByteArray &v : kLanCells)
        p.add("<td class=\"ttext\">" + v + "</td>");
    p.add("</tr>\r\n</table>\r\n");

    p.add("<table border=\"0\" cellpadding=\"0\" cellspacing=\"3\" width=\"100%\">\r\n"
          "<tr><td class=\"thead\">ADSL Link</td><td class=\"thead\">Downstream</td>"
          "<td class=\"thead\">Upstream</td></tr>\r\n");
    dg834Row(p, kRxSyncAt, kTxSyncAt, "Connection Speed", fig(Figure::RxSync) + " kbps", fig(Figure::TxSync) + " kbps");
    dg834Row(p, kRxAttenuationAt, kTxAttenuationAt, "Line Attenuation", fig(Figure::RxAttenuation) + " db",
             fig(Figure::TxAttenuation) + " db");
    dg834Row(p, kRxNoiseAt, kTxNoiseAt, "Noise Margin", fig(Figure::RxNoise) + " db", fig(Figure::TxNoise) + " db");
    p.add("</table>\r\n").add(kNetgearTail);
    return p.bytes();
}

QByteArray PageBuilder::v5Status() const
{
    // No fixed positions here: the v5 searches go by labels only, so this
    // page is laid out differently from the v1234 one on purpose.
    PageLayout p;
    p.add(netgearHead("DG834G v5", "Router Statistics"));
    p.add("<table border=\"0\" cellpadding=\"2\" cellspacing=\"0\" width=\"100%\">\r\n"
          "<tr><td class=\"thead\">ADSL Link</td><td class=\"thead\">Downstream</td>"
          "<td class=\"thead\">Upstream</td></tr>\r\n");
    const auto row = [&p](const QByteArray &label, const QByteArray &rx, const QByteArray &tx) {
        const int rxAt = p.next() + 22 + 55;
        dg834Row(p, rxAt, rxAt + 60, label, rx, tx);
    };
    row("Connection Speed", fig(Figure::RxSync) + " kbps", fig(Figure::TxSync) + " kbps");
    row("Line Attenuation", fig(Figure::RxAttenuation) + " db", fig(Figure::TxAttenuation) + " db");
    row("Noise Margin", fig(Figure::RxNoise) + " db", fig(Figure::TxNoise) + " db");
    p.add("</table>\r\n<br>\r\n<table border=\"0\" cellpadding=\"2\" cellspacing=\"0\" width=\"100%\">\r\n");
    p.add(kPortHeader);
    p.add("<tr><td class=\"ttext\">WAN</td>");
    const QByteArray wan[] = {"PPPoA", fig(Figure::TxPackets), fig(Figure::RxPackets), fig(Figure::Collisions),
                              fig(Figure::TxRate), fig(Figure::RxRate), l1(m_state.uptime())};
    for (const QByteArray &v : wan)
        p.add("<td align=\"center\" class=\"ttext\">" + v + "</td>");
    p.add("</tr>\r\n<tr><td class=\"ttext\">LAN</td>");
    for (const QByteArray &v : kLanCells)
        p.add("<td align=\"center\" class=\"ttext\">" + v + "</td>");
    p.add("</tr>\r\n</table>\r\n").add(kNetgearTail);
    return p.bytes();
}

QByteArray PageBuilder::otherStatus() const
{
    PageLayout p;
    p.add("<html>\r\n<head>\r\n<title>ADSL Status</title>\r\n</head>\r\n<body>\r\n<h2>DSL line status</h2>\r\n"
          "<table class=\"status\">\r\n");
    const auto labelled = [&p](int valueAt, const QByteArray &label) {
        p.at(valueAt - 18 - 60, "<tr><td class=\"tlabel\">").add(label).add("</td>");
    };
    labelled(kUptimeAt, "Line uptime");
    ttextCell(p, kUptimeAt, l1(m_state.uptime()));
    p.add("</tr>\r\n");
    labelled(kRxSyncAt, "Line rate down / up (kbps)");
    ttextCell(p, kRxSyncAt, fig(Figure::RxSync));
    ttextCell(p, kTxSyncAt, fig(Figure::TxSync));
    p.add("</tr>\r\n");
    labelled(kRxAttenuationAt, "Attenuation down / up (dB)");
    ttextCell(p, kRxAttenuationAt, fig(Figure::RxAttenuation));
    ttextCell(p, kTxAttenuationAt, fig(Figure::TxAttenuation));
    p.add("</tr>\r\n");
    labelled(kRxNoiseAt, "SNR margin down / up (dB)");
    ttextCell(p, kRxNoiseAt, fig(Figure::RxNoise));
    ttextCell(p, kTxNoiseAt, fig(Figure::TxNoise));
    p.add("</tr>\r\n");
    const QByteArray unit = l1(m_state.dataUnit());
    labelled(kOtherDataReceivedAt, "Data received (" + unit + ")");
    ttextCell(p, kOtherDataReceivedAt, fig(Figure::DataReceived));
    p.add("</tr>\r\n");
    labelled(kOtherDataSentAt, "Data sent (" + unit + ")");
    ttextCell(p, kOtherDataSentAt, fig(Figure::DataSent));
    p.add("</tr>\r\n</table>\r\n</body>\r\n</html>\r\n");
    return p.bytes();
}

QByteArray PageBuilder::st585Status() const
{
    PageLayout p;
    p.add("<html>\r\n<head>\r\n<title>SpeedTouch 585</title>\r\n"
          "<link rel='stylesheet' type='text/css' href='/css/st.css'>\r\n</head>\r\n<body>\r\n"
          "<form name='dslform' method='post' action='/cgi/b/dsl/dt/'>\r\n<div class='title'>");
    const int linkInfo = p.next();
    p.add("Link Information</div>\r\n");
    // The page viewer shows the page from 28 past "Link Information".
    p.at(linkInfo + 28, "<table width='100%' class='datatable' cellspacing='0' cellpadding='0'>");
    p.add("\r\n<tr><td height='7' colspan='4'><img src='/images/spacer.gif' width='1' height='7' border='0' "
          "alt=''></td></tr>");
    const auto pair = [this](Figure up, Figure down) { return fig(up) + " / " + fig(down); };
    st585Row(p, "Uptime:", l1(m_state.uptime()));
    st585Row(p, "Modulation:", "G.992.1 annex A");
    st585Row(p, "Bandwidth (Up/Down) [kbps/kbps]:", pair(Figure::TxSync, Figure::RxSync));
    st585Row(p, "Data Transferred (Sent/Received) [kB/kB]:", "0.00 / 0.00");
    st585Row(p, "Output Power (Up/Down) [dBm]:", pair(Figure::TxPower, Figure::RxPower));
    st585Row(p, "Line Attenuation (Up/Down) [dB]:", pair(Figure::TxAttenuation, Figure::RxAttenuation));
    st585Row(p, "SN Margin (Up/Down) [dB]:", pair(Figure::TxNoise, Figure::RxNoise));
    st585Row(p, "Loss of Link (Remote):", fig(Figure::LossOfLink));
    st585Row(p, "FEC Errors (Up/Down):", pair(Figure::FecUp, Figure::FecDown));
    st585Row(p, "CRC Errors (Up/Down):", pair(Figure::CrcUp, Figure::CrcDown));
    st585Row(p, "HEC Errors (Up/Down):", pair(Figure::HecUp, Figure::HecDown));
    p.add("</table>\r\n</form>\r\n</body>\r\n</html>\r\n");
    return p.bytes();
}

QByteArray PageBuilder::st585Link() const
{
    PageLayout p;
    p.add(st585Head("Internet Services"));
    p.add("<table width='100%' class='datatable' cellspacing='0' cellpadding='0'>");
    st585Row(p, "Connection:", "Internet (PPPoA)");
    st585Row(p, "Status:", m_state.connected() ? "Connected" : "Disconnected");
    st585Row(p, "IP Address:", l1(m_state.wanAddress()));
    const QByteArray unit = l1(m_state.dataUnit());
    st585Row(p, "Data Transferred (Sent/Received) [" + unit + "/" + unit + "]:",
             fig(Figure::DataSent) + " / " + fig(Figure::DataReceived));
    p.add("</table>\r\n</body>\r\n</html>\r\n");
    return p.bytes();
}

QByteArray PageBuilder::st585Events() const
{
    PageLayout p;
    p.add("<html>\r\n<head>\r\n<title>SpeedTouch 585</title>\r\n</head>\r\n<body>\r\n"
          "<form name='eventsform' method='post' action='/cgi/b/events/'>\r\n<div class='title'>");
    const int label = p.next();
    p.add("Recorded Events</div>\r\n");
    p.at(label + 27, "<table width='100%' class='datatable' cellspacing='0' cellpadding='0'>");
    const QStringList lines = m_state.log().split('\n', Qt::SkipEmptyParts);
    if (lines.isEmpty())
        p.add("\r\n<tr><td height='3'>No events for this category.</td></tr>");
    for (int i = 0; i < lines.size(); ++i)
        p.add(QByteArray("\r\n<tr") + (i % 2 ? "" : " class='oddrow'") + "><td height='3'>" + l1(lines[i])
              + "</td></tr>");
    p.add("\r\n</table>");
    // The program drops the last 10 characters before "</form>".
    p.add("\r\n        ").add("</form>\r\n</body>\r\n</html>\r\n");
    return p.bytes();
}

QByteArray PageBuilder::connectionPage() const
{
    const QByteArray state = m_state.connected() ? "Connected" : "Disconnected";
    return netgearHead("DG834G", "Router Status")
           + "<table border=\"0\" cellpadding=\"0\" cellspacing=\"3\" width=\"100%\">\r\n"
             "<tr><TD NOWRAP><B>Connection Status</B></td><TD NOWRAP>" + state + "</td></tr>\r\n"
             "<tr><TD NOWRAP><B>Getting IP Addresses</B></td><TD NOWRAP>" + l1(m_state.wanAddress())
           + "</td></tr>\r\n"
             "<tr><TD NOWRAP><B>Connection Time</B></td><TD NOWRAP>" + l1(m_state.uptime()) + "</td></tr>\r\n"
             "</table>\r\n" + kNetgearTail;
}

QByteArray PageBuilder::v5WanPage() const
{
    const auto row = [](const QByteArray &label, const QByteArray &value) {
        return "<tr><td class=\"ttext\"><b>" + label + "</b></td>\r\n    <td class=\"ttext\">" + value
               + "</td></tr>\r\n";
    };
    return netgearHead("DG834G v5", "Router Status")
           + "<table border=\"0\" cellpadding=\"2\" cellspacing=\"0\" width=\"100%\">\r\n"
             "<tr><td colspan=\"2\" class=\"thead\">Internet Port</td></tr>\r\n"
           + row("MAC Address", "00:0f:b5:1a:2b:3c") + row("IP Address", l1(m_state.wanAddress()))
           + row("IP Subnet Mask", "255.255.255.255")
           + "<tr><td colspan=\"2\" class=\"thead\">LAN Port</td></tr>\r\n"
           + row("MAC Address", "00:0f:b5:1a:2b:3d") + row("IP Address", "192.168.0.1")
           + "</table>\r\n" + kNetgearTail;
}

QByteArray PageBuilder::netgearLog(bool v5) const
{
    // The log text starts a fixed distance after the start of the tag:
    // the tag is padded with blanks up to its '>'.
    QByteArray tag = v5 ? "<TEXTAREA NAME=\"log\" ROWS=\"16\" COLS=\"80\" WRAP=\"off\" READONLY"
                        : "<TEXTAREA NAME=\"outlog_Display\" ROWS=\"16\" COLS=\"84\" WRAP=\"off\" READONLY";
    const int textOffset = v5 ? 99 : 102;
    tag = tag.leftJustified(textOffset - 1, ' ') + '>';
    return netgearHead(v5 ? "DG834G v5" : "DG834G", "Logs")
           + "<table border=\"0\" cellpadding=\"0\" cellspacing=\"3\" width=\"100%\">\r\n<tr><td>" + tag
           + l1(m_state.log()) + "</textarea></td></tr>\r\n</table>\r\n" + kNetgearTail;
}

QByteArray PageBuilder::simplePage(const QByteArray &title, const QByteArray &text) const
{
    return "<html>\r\n<head>\r\n<title>" + title + "</title>\r\n</head>\r\n<body>\r\n<p>" + text
           + "</p>\r\n</body>\r\n</html>\r\n";
}

} // namespace routersim
