#pragma once
// Reading rules the three telnet statistics parsers share: 1-based label
// windows, the router's number forms, the uptime of a superframe count, the
// user-defined figures, the interface listing and the tone charts' plot.
#include "acquisition/TelnetFigures.h"
#include "acquisition/TelnetParseResult.h"
#include "settings/TSettings.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace telnetparse {

// A label's value window: the label's first occurrence at position p
// (1-based), the window of width characters from p + offset. Found only
// when the label is there and p + offset is above threshold; a missing
// label gives an empty window, never text from the start.
struct Window {
    bool found = false;
    QString text;
};
Window window(const QString &source, const QString &label, int offset, int width, int threshold = 0);

// Blanks and control characters off both ends.
QString trim(const QString &text);
// The text from its first blank on; empty when it has no blank.
QString fromFirstBlank(const QString &text);
// Appends blanks until the text is at least n characters long.
QString pad(const QString &text, int n);

// The first number of a text with the router's decimal and group signs.
QString firstNumber(const QString &text, const TSettings &settings);
// The second column of a two-column line: trimmed, from the first blank on, first number.
QString secondColumn(const QString &window, const TSettings &settings);

// A whole number (optional "-", then digits) that fits 64 bits.
std::optional<qint64> wholeNumber(const QString &text);
// A counter slot's new value: the whole number, else its previous value.
qint64 counterValue(const QString &text, qint64 previous);
// Whether a figure has a reading the telnet charts have not plotted yet:
// read from this reply, or an earlier reading still standing unchanged.
inline void noteReading(bool &fresh, bool read, bool unchanged)
{
    fresh = read || (fresh && unchanged);
}
// A counter slot from a reply: its whole number when the label was found
// (a reading), else counterValue of the text (a fallback, no reading).
void takeCounter(TelnetFigures &figures, int slot, const QString &text, bool found = true);
// A 32-bit whole number, else fallback.
qint32 int32Value(const QString &text, qint32 fallback);
// The Regional step and StrToFloatDef of the figure searches.
double floatValue(const QString &text, double fallback, const TSettings &settings);

// "  5 days, 02:15:07" ("  1 day,  ..." for exactly one day) for a
// superframe count at msPerSuperframe; 64-bit throughout so long uptimes
// do not wrap.
QString uptimeText(qint64 count, double msPerSuperframe);

// A pane's text as the window holds it: each line followed by CR LF.
QString paneText(const QStringList &lines);

// The user-defined telnet figures: the number in the 50 characters after
// [Telnet] UserDownText (UserUpText) in the downstream pane when
// [Telnet] User1Rx (User2Rx) is set, else in the upstream pane.
// adslctlRules: the window starts one character later, and a figure is 0
// while its text is empty, its chart is off or the sync is not above 0.
// A text that is not in its pane leaves the figure as it was.
void readUserFigures(const QString &memo2, const QString &memo3, const TSettings &settings, bool adslctlRules,
                     TelnetFigures &figures);

// Where a family's interface listing keeps the WAN byte counters.
struct InterfaceLabels {
    QString ppp;  // "ppp0" is found at this text...
    int pppAbove; // ...at a position above this
    QString nas;
    int nasAbove;
    bool belowBaseKeepsTotal; // a total below its base keeps the last good one
};

// The listing has arrived in the reply ("ifconfig" prints "Link encap:" for every interface).
bool interfaceListingArrived(const QString &reply);
// The byte totals, their bases, the chart captions and the WAN address from
// the " ifconfig" listing; clears ExtendedRequested.
void readInterfaceListing(const QString &reply, const TSettings &settings, const InterfaceLabels &labels,
                          TelnetFigures &figures, TelnetParseResult &result);

// The bit-loading chart's series for tones chart.ToneOffset..chart.LastTone
// from the tone tables (bits, SNR or clipped margin per rbSNR, attenuation).
void plotTones(ToneChartData &chart, const TelnetFigures &figures, const TSettings &settings, bool withAttenuation);
// After the plot: the "After Bitswap" image, the bitswap log line, the
// histogram and the bitswap chart's point (paced by LastBitswapPlot).
void finishBitswaps(ToneChartData &chart, bool imageDue, TelnetFigures &figures, const TSettings &settings,
                    TelnetParseResult &result);

// The debug check's conclusion: a pending check is answered by this listing (the session itself
// kills the daemon it names).
void debugOffStep(const QString &reply, bool debugCheckPending, TelnetParseResult &result);

} // namespace telnetparse
