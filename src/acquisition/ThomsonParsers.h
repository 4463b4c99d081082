#pragma once
// The SpeedTouch 585's two replies, read as the router lays them out: the
// bit table of "adsl debug bitloadinginfo" and the line statistics of
// "adsl info expand=enabled". Pure: text in, values out.
#include "acquisition/TelnetFigures.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace thomson {

inline constexpr int kTones = TelnetFigures::kTones; // 0..512

// The bit table's text as the terminal pane holds it (the command line,
// then the reply, lines joined with CR LF): the first 82 characters are
// dropped, characters 12 to 43 of every remaining line are joined, and tone
// i is the two characters at 1 + 3i, trimmed, as a decimal number (0 when
// not a number). nullopt when the table ends before tone 512.
std::optional<std::array<int, kTones>> bitTable(const QString &paneText);

// Stores a table in ToneBits, marks and counts the tones that changed when
// countSwaps (ToneSwapped, ToneSwapCount, which stops at its maximum rather
// than wrap) and gives the number of changed tones. ToneSwapped is cleared first.
int applyBitTable(const std::array<int, kTones> &bits, TelnetFigures &figures, bool countSwaps);

struct Statistics {
    bool read = false;    // the text was long enough to be read (11 characters or more)
    bool annexM = false;  // "Annex M" in the text
    QStringList down;     // memo2585
    QStringList up;       // memo3585
    QString uptime;       // Label25
    QString dslType;      // Label34
};

// The summary panes from "adsl info expand=enabled".
Statistics statistics(const QString &text);

// The first tone of each range choice and its last.
struct ToneRange {
    int first = 0;
    int last = 256;
    int axisMaximum = 256;
};
ToneRange toneRange(bool low, bool high, bool all);

} // namespace thomson
