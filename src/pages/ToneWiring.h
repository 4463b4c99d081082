#pragma once

#include <functional>

class BitLoadingRefresh;
class BitsTonePage;
class ChartSet;
class QObject;
class QTabWidget;
class QWidget;
class SettingsHub;
class TelnetSession;
class ToneCharts;
struct RunState;

// What the tone pages' wiring needs from the window, without the window.
struct ToneWiringHost {
    std::function<bool()> hiddenInTray;   // minimised to the tray: no refresh work for an unseen chart
    std::function<void()> bitswapCapture; // the bitswap chart's capture, when the schedule allows it
};

// The bit-loading refresh, the tone charts and the bits/tone page's controls, wired together.
// `page` and `bitsTabs` may be null (no bits page built); `context` owns the connections.
void wireToneCharts(QObject *context, BitLoadingRefresh &bits, ToneCharts &tones, BitsTonePage *page,
                    QTabWidget *bitsTabs, TelnetSession &telnet, SettingsHub &hub, ChartSet &charts,
                    const RunState &run, const ToneWiringHost &host);

class BitloadingPage;
class TelnetScriptRunner;
class ThomsonSession;
struct BitsRefreshState;
struct TSettings;
struct TelnetFigures;

// The bits/tone page's controls: a strip above the tone charts and their own "Options" sub-tab, scrolling
// where the window is short. Null when `pages` has no "Bits / Tone" page; `optionsTab` gets the scroll area.
BitsTonePage *buildBitsTonePage(QTabWidget *pages, TSettings &settings, QWidget *&optionsTab);

// What the SpeedTouch 585 page needs from the window, without the window.
struct BitloadingPageHost {
    std::function<bool()> running;
    std::function<bool()> hiddenInTray;
    std::function<void()> macroClicked;
};

// The SpeedTouch 585's controls and panes: a strip above its charts and a "Summary" tab of its own, with
// scripts going over its session line by line. Null when `pages` has no "Bitloading" page.
BitloadingPage *buildBitloadingPage(QTabWidget *pages, TSettings &settings, RunState &run, TelnetFigures &figures,
                                    BitsRefreshState &pacing, ThomsonSession &thomson, ToneCharts &tones,
                                    BitLoadingRefresh &bits, TelnetScriptRunner &scripts,
                                    const BitloadingPageHost &host);

// Start-up with the settings loaded: the pages take them (`page585` may be null), the bit-loading refresh
// starts (timer off, page length, the bitswap chart's scale) and the tone charts take their look.
void startToneCharts(BitsTonePage &page, BitloadingPage *page585, BitLoadingRefresh &bits, ToneCharts &tones,
                     const ChartSet &charts, const TSettings &settings);
