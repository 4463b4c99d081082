#pragma once

#include <functional>

class BitLoadingRefresh;
class BitsTonePage;
class ChartSet;
class QObject;
class QTabWidget;
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
