#pragma once
// What one run of a telnet statistics parser asks of the main window: pane
// lines, captions, status-bar texts, system messages, the request flags it
// is done with and the tone charts' data. The figures themselves go into
// TelnetFigures; nothing here touches a widget.
#include "acquisition/TelnetTypes.h"
#include "settings/SettingTypes.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// Colours of the tone charts (0x00BBGGRR).
namespace tonecolour {
inline constexpr TColor Lime = 0x00FF00;  // a tone that swapped in this reply
inline constexpr TColor Green = 0x008000; // upstream tones (0..31)
inline constexpr TColor Blue = 0xFF0000;  // downstream tones
inline constexpr TColor Red = 0x0000FF;   // the SNR series; the bitswap chart's gap point
} // namespace tonecolour

// Request flags a parser is done with; the others stay as they were.
struct TelnetFlagClears {
    bool StatsRequested = false;
    bool ExtendedRequested = false;
    bool DebugCheckPending = false;
    bool BitsReplyExpected = false;

    void applyTo(TelnetRequestFlags &flags) const
    {
        if (StatsRequested)
            flags.StatsRequested = false;
        if (ExtendedRequested)
            flags.ExtendedRequested = false;
        if (DebugCheckPending)
            flags.DebugCheckPending = false;
        if (BitsReplyExpected)
            flags.BitsReplyExpected = false;
    }
    bool operator==(const TelnetFlagClears &) const = default;
};

// One point of the bitswap chart Chart22.
struct BitswapChartPoint {
    // A red gap point on Series14 and BarSeries4 instead of the counts.
    bool Gap = false;
    int Upstream = 0;   // BarSeries4, green
    int Downstream = 0; // Series14, blue
};

// The tone charts after a bit-loading reply: Chart21 (bits, SNR,
// attenuation), Chart29 (bitswaps per tone) and Chart22 (bitswaps per refresh).
struct ToneChartData {
    int LastTone = 255;    // 255, or 510 for an ADSL2+ line
    int ToneOffset = 0;    // first tone plotted: 256 with [Telnet] ShowTop 2 (adslctl)
    int AxisMaximum = 255; // bottom axes of Chart21 and Chart29: LastTone - ToneOffset
    // adslctl only: Chart21's tone axis title, "Tones (ADSL2+)" or "Tones".
    std::optional<QString> AxisTitle;
    // adslctl only: btnADSL2P, Label88 and Image84 shown (ADSL2+ lines).
    std::optional<bool> HalfSelectionVisible;
    // adslctl only: "", ">>" or "<<"; Label100 copies Label88's text and visibility.
    std::optional<QString> Label88;

    // One entry per plotted tone, tones ToneOffset..LastTone in order; the
    // series are emptied first and each point is labelled with its tone number.
    std::vector<int> Tones;
    std::vector<int> Bits;          // LineSeries18
    std::vector<TColor> BitColours; // lime when swapped, else green (upstream) or blue
    std::vector<double> Snr;        // Series4 in red: SNR (rbSNR) or the clipped SNR margin
    // Margin mode only: each unclipped margin, for AdjustYAxis on Chart21's right axis.
    std::vector<double> MarginFit;
    // adslctl with cbShowAttenuation: Series15, one per tone.
    std::vector<double> Attenuation;

    bool SaveBefore = false; // Save(Chart21, "Before Bitswap") before the series change
    bool SaveAfter = false;  // Save(Chart21, "After Bitswap") after plotting

    // Series16 (Chart29): emptied, visible per cbSepHistogram; one bar per
    // plotted tone with its ToneSwapCount when visible, coloured as upstream/downstream.
    bool HistogramVisible = false;
    std::vector<quint32> Histogram;
    std::vector<TColor> HistogramColours;

    int UpstreamSwaps = 0;
    int DownstreamSwaps = 0;
    // cbBitswap: the point for Chart22, labelled with SampleStamp in
    // PointLabelFormat; fitted on Chart22's axis when cbAdjustBitswapScale.
    std::optional<BitswapChartPoint> BitswapPoint;
};

struct TelnetParseResult {
    // The statistics part ran (StatsRequested was set).
    bool StatisticsRead = false;

    // "adsl info": Memo2, Memo3 and Memo4 are emptied before the lines below.
    bool ClearPanes = false;
    // Lines to add to the downstream, upstream and extras panes, in order.
    QStringList Memo2;
    QStringList Memo3;
    QStringList Memo4;

    // New captions; unset keeps what the label shows.
    std::optional<QString> Label35; // downstream interleaving
    std::optional<QString> Label99; // upstream interleaving

    // Status bar: panel 1 the WAN address, panel 2 the line uptime.
    std::optional<QString> StatusPanel1;
    std::optional<QString> StatusPanel2;

    // For SystemMessage, in order.
    QStringList SystemMessages;

    // The byte totals' interface ("ppp0" or "nas0") was found: the captions
    // of the byte charts and their tabs.
    std::optional<QString> Chart23AxisTitle;  // "Rx MiBytes (ppp0)"
    std::optional<QString> Chart24AxisTitle;  // "Tx MiBytes (ppp0)"
    std::optional<QString> TabSheet49Caption; // "MiBytes (ppp0)"
    std::optional<QString> TabSheet50Caption; // "MiBytes (ppp0)"

    TelnetFlagClears Clears;

    // btnBitsRefresh is enabled again when the session is connected.
    bool EnableBitsRefresh = false;

    // Set when the bit-loading reply was read.
    std::optional<ToneChartData> ToneChart;
};
