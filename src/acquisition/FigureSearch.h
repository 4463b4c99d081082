#pragma once
// Taking a poll's figures out of the router's status page: the four line
// figures, the attenuation texts and the two user-defined figures, with the
// captions the main window shows and the items of the statistics log line.
// Pure: page, settings and the run state in, a result out; the main window
// copies the result into its run state, labels, charts and log line.
//
// Each figure is searched by one of three methods, in this precedence:
// the SpeedTouch 585 labels ([Router] ST585), the DG834 labels
// ([System] IsDG834), or the position the user taught ([Search] ...Text/...Pos).
#include "acquisition/RunState.h"
#include "settings/TSettings.h"

#include <QString>
#include <array>
#include <optional>

// The six HTTP items of the log line, numbered as their flags in [Log] Log
// (item k is flag character k + 1).
enum class HttpLogItem { RxNoise = 0, RxSync = 1, User1 = 2, TxNoise = 3, TxSync = 4, User2 = 5 };

struct FigureLogItem {
    // Append this item: its figure was searched in this poll and its [Log] Log
    // flag is "1". An item not produced adds nothing to the line, not even a
    // separator.
    bool Produced = false;
    // "Rx-Noise", "Rx-Sync", "Tx-Noise", "Tx-Sync", "Data(up)", "Data(down)" or
    // a user label without blanks. Without the "=" of the named form.
    QString Name;
    // The value as the line shows it: noise figures with thousands separators
    // and 1 decimal (3 significant digits), sync figures the text as found,
    // user figures their text. Empty when the page held no figure.
    QString Value;
    // The figure was searched and the page held none: this poll has no
    // reading of it (no value logged, a gap on its chart), never an older one.
    bool NotFound = false;
};

// What the search needs of the run state.
struct FigureSearchInput {
    // The figures at the start of the search: zero, or the previous poll's
    // after a Stop. A figure that is not searched keeps its value.
    SampleFigures Figures;
    float LastGoodRxNoise = 0;
    float LastGoodRxSync = 0;
    double UserDiffBase1 = 0;
    double UserDiffBase2 = 0;
    // The SpeedTouch 585 data counters and their unit (" [kB/kB]" as read from
    // the link page; characters 2-3 of the trimmed unit are the sent unit, 5-6
    // the received one).
    QString ThomsonDataSent;
    QString ThomsonDataReceived;
    QString ThomsonDataUnit;
};

struct FigureSearchResult {
    // New run state: copy all of these back.
    SampleFigures Figures;
    float LastGoodRxNoise = 0;
    float LastGoodRxSync = 0;
    double UserDiffBase1 = 0;
    double UserDiffBase2 = 0;

    // For the chart images' caption; empty unless [Capture] OverlayAtt found them.
    QString AttenuationUpText;
    QString AttenuationDownText;

    // New captions; a caption that is not set keeps what the label shows.
    std::optional<QString> Label2;  // Rx noise, "6.5 dB"; empty when the page held none
    std::optional<QString> Label4;  // Rx sync, "8,128 Kbps"; empty when the page held none
    std::optional<QString> Label5;  // user figure 1
    std::optional<QString> Label22; // user figure 2
    // SpeedTouch 585 data counters only: the user charts' tab captions and
    // left-axis titles (Chart3 is figure 1, Chart19 figure 2).
    std::optional<QString> TabSheet32Caption;
    std::optional<QString> TabSheet33Caption;
    std::optional<QString> Chart3AxisTitle;
    std::optional<QString> Chart19AxisTitle;

    // New values of [Graph] NotANumber and NotANumber1 (a user figure read as a
    // time such as 12:30:05); the search sets them, never clears them.
    bool NotANumber = false;
    bool NotANumber1 = false;

    // Indexed by HttpLogItem.
    std::array<FigureLogItem, 6> LogItems;
    const FigureLogItem &item(HttpLogItem which) const { return LogItems[size_t(which)]; }

    // The order in which the poll appends the items to its line.
    static constexpr std::array<HttpLogItem, 6> kLineOrder = {HttpLogItem::RxNoise, HttpLogItem::TxNoise,
                                                              HttpLogItem::RxSync,  HttpLogItem::TxSync,
                                                              HttpLogItem::User1,   HttpLogItem::User2};
};

// The characters a taught figure may hold: noise figures a sign, digits and
// the decimal sign; sync figures digits and both signs; user figures digits,
// ":" and both signs.
enum class TaughtSet { Noise, Sync, User };

class FigureSearch {
public:
    // The page as the searches see it. [Search] UseSource: every ";" becomes
    // ";" CR LF. [Search] LoopBack without [System] IsDG834: the page's
    // rendered text (HtmlToText), as the page viewer shows it.
    static QString preparePage(const QString &page, const TSettings &settings);
    // True when preparePage renders the page; the main window then unchecks
    // and disables cbRefresh and Label45.
    static bool rendersPage(const TSettings &settings);

    // All figures of one poll, in the poll's order: attenuation texts, Rx noise,
    // Tx noise, Rx sync, Tx sync, user figures 1 and 2. page is the prepared
    // page, one character per byte.
    // The text a taught figure reads, before SwapComma: the field of 22
    // characters from 10 (+ bias) past the search text in the 75 characters
    // of the page from pos (1-based), skipped to its first digit (or "-" for
    // noise) and collected while in the figure's set. Null when the search
    // text is not in that window. The polling cycle and the teaching page's
    // test both read a taught figure through this.
    static std::optional<QString> taughtRun(const QString &page, const QString &text, int pos, TaughtSet set,
                                            const TSettings &settings, int bias = 0);

    static FigureSearchResult run(const QString &page, const TSettings &settings, const FigureSearchInput &input);
};
