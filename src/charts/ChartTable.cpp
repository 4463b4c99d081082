#include "charts/ChartTable.h"

namespace {

constexpr TColor kNavy = 0x800000;
constexpr TColor kRed = 0x0000FF;
constexpr TColor kBlue = 0xFF0000;
constexpr TColor kGreen = 0x008000;
constexpr TColor kBlack = 0x000000;
constexpr TColor kFuchsia = 0xFF00FF;
constexpr TColor kGap = 0xA79F85;

constexpr auto L = AxisSide::Left;
constexpr auto R = AxisSide::Right;

constexpr AxisLimits kTen{0, 10};
constexpr AxisLimits kNone{0, 10};
constexpr AxisLimits kPage{0, 250};

SeriesDef avg(const char *name, SeriesKind kind = SeriesKind::FastLine)
{
    return {name, kind, L, 1, kFuchsia, "average"};
}

SeriesDef gap(const char *name, SeriesKind kind = SeriesKind::Stairs, int width = 1)
{
    return {name, kind, L, width, kGap, "gaps"};
}

SeriesDef line(const char *name, TColor colour, const char *role, AxisSide side = L)
{
    return {name, SeriesKind::Line, side, 1, colour, role};
}

// A telnet counter chart: one series, 0..10, no right axis.
ChartDef counter(int number, int tag, const char *subTab, const char *series, const char *box,
                  const char *indicator, const char *title)
{
    return {number, tag, "Telnet Router", subTab, {line(series, kBlue, "counter")}, 0, -1, box,
            indicator, "", "TelnetPopup", title, "", kTen, kNone, kPage, true};
}

std::vector<ChartDef> buildCharts()
{
    using K = SeriesKind;
    std::vector<ChartDef> c;
    c.push_back({1, 0, "Noise Margin", "Downstream (Rx)",
                 {avg("Series5"), line("Series1", kNavy, "Rx noise margin"),
                  line("Series9", kRed, "Rx sync overlay", R), gap("Series21", K::Stairs, 2)},
                 1, 0, "cbHNoise", "Image136", "Image137", "ChartPopup", "Rx Noise Margin (dB)",
                 "Rx Sync Speed (Kbps)", {-1, 25}, {500, 8500}, kPage, true});
    c.push_back({18, 3, "Noise Margin", "Upstream (Tx)",
                 {line("LineSeries15", kNavy, "Tx noise margin"), gap("Series23")}, 0, -1, "cbUHNoise",
                 "Image138", "", "ChartPopup", "Tx Noise Margin (dB)", "", kTen, kNone, kPage, true});
    c.push_back({2, 1, "Sync Speed", "Downstream (Rx)",
                 {avg("Series6"), {"Series2", K::Stairs, L, 1, kRed, "Rx sync"}, gap("Series22")}, 1, 0,
                 "cbHSync", "Image139", "", "ChartPopup", "Rx Sync Speed (Kbps)", "", {500, 8500}, kNone,
                 kPage, true});
    c.push_back({20, 4, "Sync Speed", "Upstream (Tx)", {line("LineSeries17", kRed, "Tx sync"), gap("Series24")},
                 0, -1, "cbUHSync", "Image19", "", "ChartPopup", "Tx Sync Speed (Kbps)", "", kTen, kNone, kPage,
                 true});
    c.push_back({3, 2, "User-Defined", "User-defined 1",
                 {avg("Series7"), line("Series3", kBlue, "user value 1"), gap("Series25")}, 1, 0, "cbHUser",
                 "Image2", "", "ChartPopup", "User-def 1", "", {0, 100}, kNone, kPage, true});
    c.push_back({19, 5, "User-Defined", "User-defined 2",
                 {avg("Series8"), line("LineSeries16", kBlue, "user value 2"), gap("Series26", K::Line, 2)}, 1,
                 0, "cbHUser2", "Image13", "", "ChartPopup", "User-def 2", "", {0, 100}, kNone, kPage, true});
    c.push_back({16, 0, "Telnet Router", "Rx Noise",
                 {avg("Series10", K::Line), line("LineSeries13", kNavy, "telnet Rx noise margin"),
                  line("Series12", kRed, "telnet Rx sync overlay", R)},
                 1, 0, "cbNoise", "Image133", "Image134", "TelnetPopup", "Telnet Rx Noise Margin (dB)",
                 "Rx Sync (Kbps)", kTen, kTen, kPage, true});
    c.push_back({17, 1, "Telnet Router", "Rx Sync", {line("LineSeries14", kRed, "telnet Rx sync"), avg("Series11")},
                 0, 1, "cbSync", "Image135", "", "TelnetPopup", "Telnet Rx Sync Speed (Kbps)", "", kTen, kNone,
                 kPage, true});
    c.push_back(counter(5, 2, "Rx Interleaved > CRC", "LineSeries2", "cbICRC", "Image117", "Rx Interleaved CRC"));
    c.push_back(counter(6, 3, "Rx Interleaved > FEC", "LineSeries3", "cbIFEC", "Image118", "Rx Interleaved FEC"));
    c.push_back(counter(7, 4, "Rx Interleaved > HEC", "LineSeries4", "cbIHEC", "Image119", "Rx Interleaved HEC"));
    c.push_back(counter(4, 5, "Rx Fast Path > CRC", "LineSeries1", "cbFastCRC", "Image120", "Rx Fast Path CRC"));
    c.push_back(counter(8, 6, "Rx Fast Path > FEC", "LineSeries5", "cbFastFEC", "Image121", "Rx Fast Path FEC"));
    c.push_back(counter(9, 7, "Rx Fast Path > HEC", "LineSeries6", "cbFastHEC", "Image122", "Rx Fast Path HEC"));
    c.push_back(counter(12, 8, "Tx Interleaved > CRC", "LineSeries9", "cbUICRC", "Image123", "Tx Interleaved CRC"));
    c.push_back(counter(11, 9, "Tx Interleaved > FEC", "LineSeries8", "cbUIFEC", "Image124", "Tx Interleaved FEC"));
    c.push_back(counter(10, 10, "Tx Interleaved > HEC", "LineSeries7", "cbUIHEC", "Image125", "Tx Interleaved HEC"));
    c.push_back(counter(15, 11, "Tx Fast Path > CRC", "LineSeries12", "cbUFastCRC", "Image126", "Tx Fast Path CRC"));
    c.push_back(counter(14, 12, "Tx Fast Path > FEC", "LineSeries11", "cbUFastFEC", "Image127", "Tx Fast Path FEC"));
    c.push_back(counter(13, 13, "Tx Fast Path > HEC", "LineSeries10", "cbUFastHEC", "Image128", "Tx Fast Path HEC"));
    c.push_back({23, 14, "Telnet Router", "Rx Interleaved > MiBytes (ppp0)",
                 {line("LineSeries20", kBlue, "downstream MiB total"), line("Series17", kGreen, "incremental MiB", R)},
                 0, -1, "cbRxTotal", "Image129", "Image130", "TelnetPopup", "Rx MiBytes (ppp0)",
                 "Rx MiBytes (incremental)", kTen, kTen, kPage, true});
    c.push_back({24, 15, "Telnet Router", "Tx Interleaved > MiBytes (ppp0)",
                 {line("LineSeries21", kBlue, "upstream MiB total"), line("Series18", kGreen, "incremental MiB", R)},
                 0, -1, "cbTxTotal", "Image131", "Image132", "TelnetPopup", "Tx MiBytes (ppp0)",
                 "Tx MiBytes (incremental)", kTen, kTen, kPage, true});
    c.push_back({30, 16, "Telnet Router", "User-Def > User-defined 1",
                 {{"FastLineSeries1", K::FastLine, L, 1, kBlue, "telnet user value 1"}}, 0, -1, "cbTelnetUserDown",
                 "Image115", "", "TelnetPopup", "User-defined 1", "", kTen, kNone, kPage, true});
    c.push_back({31, 17, "Telnet Router", "User-Def > User-defined 2",
                 {{"FastLineSeries2", K::FastLine, L, 1, kBlue, "telnet user value 2"}}, 0, -1, "cbTelnetUserUp",
                 "Image116", "", "TelnetPopup", "User-defined 2", "", kTen, kNone, kPage, true});
    c.push_back({21, 21, "Telnet Router", "Bits / Tone > Bits && SNR / Tone",
                 {{"Series4", K::Points, R, 1, kRed, "SNR per tone"},
                  {"LineSeries18", K::Bars, L, 1, kBlue, "bits per tone"},
                  {"Series15", K::Line, L, 1, kBlack, "attenuation per tone"}},
                 1, -1, "cbBits", "", "", "popupBits", "Bits", "SNR (dB)", {0, 16}, {0, 64}, {0, 512}, false});
    c.push_back({29, 21, "Telnet Router", "Bits / Tone > Bitswaps/Tone",
                 {{"Series16", K::Bars, L, 1, kBlue, "bitswaps per tone"}}, 0, -1, "cbSepHistogram", "", "",
                 "PopupSepBitswap", "Bitswaps", "", kTen, kNone, {0, 512}, false});
    c.push_back({22, 21, "Telnet Router", "Bits / Tone > Bitswaps / Time",
                 {{"BarSeries4", K::Bars, L, 1, kGreen, "downstream bitswaps per refresh"},
                  {"Series14", K::Bars, L, 1, kBlue, "upstream bitswaps per refresh"}},
                 0, -1, "cbBitswap", "", "", "PopupBitswap", "Bitswaps", "", {-0.1, 10}, kNone, kPage, false});
    c.push_back({26, 21, "Bitloading", "Bits/Tone", {{"BarSeries1", K::Bars, L, 1, kBlue, "bits per tone"}}, 0, -1,
                 "", "", "", "thomsonbitspopup", "Bits", "", {0, 16}, kNone, {0, 256}, false});
    c.push_back({27, 21, "Bitloading", "Bitswaps/Tone", {{"BarSeries2", K::Bars, L, 1, kBlue, "bitswaps per tone"}},
                 0, -1, "", "", "", "ThomsonBitSwap", "Bitswaps", "", kTen, kNone, {0, 256}, false});
    c.push_back({28, 21, "Bitloading", "Bitswaps/Time",
                 {{"BarSeries3", K::Bars, L, 1, kBlue, "bitswaps per refresh"}}, 0, -1, "", "", "", "ThomsonBitSwap",
                 "Bitswaps", "", kTen, kNone, kPage, false});
    c.push_back({25, 21, "  Ping  ", "",
                 {{"Series20", K::Area, L, 1, kBlue, "ping time"}, {"Series19", K::Line, L, 1, kBlue, "ping time"}}, 0,
                 -1, "cbPing", "", "", "PingPopup", "Ping - milliseconds", "", {0, 50}, kNone, kPage, true});
    return c;
}

} // namespace

bool ChartDef::isHttpChart() const
{
    return number == 1 || number == 2 || number == 3 || number == 18 || number == 19 || number == 20;
}

bool ChartDef::scrollsWithTimeline() const
{
    return !(number == 21 || number == 22 || number == 26 || number == 27 || number == 28 || number == 29);
}

bool ChartDef::pagedByPoints() const
{
    return !(number == 21 || number == 22 || number == 26 || number == 27 || number == 29);
}

const std::vector<ChartDef> &ChartTable::charts()
{
    static const std::vector<ChartDef> table = buildCharts();
    return table;
}

const ChartDef *ChartTable::find(int number)
{
    for (const auto &c : charts())
        if (c.number == number)
            return &c;
    return nullptr;
}

const ChartDef *ChartTable::findSeries(const QString &name, int *index)
{
    for (const auto &c : charts())
        for (size_t i = 0; i < c.series.size(); ++i)
            if (name == QLatin1String(c.series[i].name)) {
                if (index)
                    *index = int(i);
                return &c;
            }
    return nullptr;
}

const std::vector<StoredLimitPair> &ChartTable::storedLimits()
{
    using G = TSettings::GraphKeys;
    static const std::vector<StoredLimitPair> pairs{
        {18, &G::TxNoiseMax, &G::TxNoiseMin}, {20, &G::TxSyncMax, &G::TxSyncMin},
        {16, &G::Chart16Max, &G::Chart16Min}, {17, &G::Chart17Max, &G::Chart17Min},
        {5, &G::Chart5Max, &G::Chart5Min},    {6, &G::Chart6Max, &G::Chart6Min},
        {7, &G::Chart7Max, &G::Chart7Min},    {23, &G::Chart23Max, &G::Chart23Min},
        {4, &G::Chart4Max, &G::Chart4Min},    {8, &G::Chart8Max, &G::Chart8Min},
        {9, &G::Chart9Max, &G::Chart9Min},    {10, &G::Chart10Max, &G::Chart10Min},
        {11, &G::Chart11Max, &G::Chart11Min}, {12, &G::Chart12Max, &G::Chart12Min},
        {24, &G::Chart24Max, &G::Chart24Min}, {13, &G::Chart13Max, &G::Chart13Min},
        {14, &G::Chart14Max, &G::Chart14Min}, {15, &G::Chart15Max, &G::Chart15Min},
        {30, &G::Chart30Max, &G::Chart30Min}, {31, &G::Chart31Max, &G::Chart31Min},
    };
    return pairs;
}
