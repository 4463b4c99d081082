#pragma once

#include <QString>
#include <functional>

class BitsTonePage;
class ChartSet;
class GraphImages;
class QTabWidget;
class TelnetPage;
class TelnetSession;
class ToneCharts;
struct RunState;
struct TSettings;
struct TelnetFigures;
struct TelnetReply;
struct ToneChartData;

// A complete telnet reply shown on the window's pages: what they need beyond the pages themselves.
namespace telnetreply {

// The pages a reply reaches; `telnetPage` and `bitsPage` may be null (not built).
struct Pages {
    QTabWidget *pages = nullptr; // the window's page control
    TelnetPage *telnetPage = nullptr;
    BitsTonePage *bitsPage = nullptr;
};

// What a reply shows outside the pages.
struct Host {
    std::function<void(int panel, const QString &text)> setStatusPanel;
    std::function<void(const QString &)> systemMessage;
};

// The parsers turn a complete reply into figures; the panes, the status bar, the telnet charts' titles
// and tab captions and the tone charts show them.
// `images` saves the bit loading chart's images made while plotting.
void show(const TelnetReply &reply, const TSettings &settings, RunState &run, TelnetFigures &figures,
          TelnetSession &session, ChartSet &charts, ToneCharts &tones, GraphImages &images, const Pages &pages,
          const Host &host);

// The bit loading, SNR and bitswaps per tone, and the bitswaps over time; `bitsPage` must be there.
void plotToneCharts(const ToneChartData &t, BitsTonePage *bitsPage, TelnetPage *telnetPage, ToneCharts &tones,
                    GraphImages &images);

// One telnet chart tab's caption, the page named by its path ("Rx Interleaved > MiBytes (ppp0)").
void setTabCaption(QTabWidget *pages, const QString &path, const QString &caption);

} // namespace telnetreply
