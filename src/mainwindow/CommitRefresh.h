#pragma once
// The parts of the main window that depend on settings, each with the keys it
// reads. They follow every announced change (a Configuration commit, a live
// handler, a page's box, a chart menu), and only the parts whose keys changed
// run: a commit that changes nothing re-arms nothing. Start-up uses the same
// steps where the two agree (tab visibility, the telnet captions).
#include "configuration/LiveBinder.h"

#include <QMap>
#include <QString>
#include <vector>

class TForm1;
struct TSettings;

// Panes the family shows (true) or hides (false); those absent stay as they are.
QMap<QString, bool> telnetPaneVisibility(const TSettings &s);
// The interface byte-count panes, offered while the extended stats are on.
QMap<QString, bool> extendedPaneVisibility(const TSettings &s);

class CommitRefresh {
public:
    explicit CommitRefresh(TForm1 &form) : m_form(form) {}

    // The window's followers: what to bring in line when which keys change.
    std::vector<SettingFollower> followers();

    // Which of the main window's pages are shown, by the settings.
    void applyTabVisibility();
    // Chart titles and pane captions of the telnet family; the bit-loading
    // chart's title follows the start-up rule or the commit rule.
    enum class BitLoadingRule { Startup, Commit };
    void applyTelnetCaptions(BitLoadingRule rule);
    // The MiBytes panes by the extended stats switch.
    void applyExtendedPanes();
    // The bitswap chart's boxes follow the bit loading's.
    void applyBitsGraph();
    // The pages behind the six status-page charts take the charts' background.
    void applyPanelColours();
    // What every commit sets, whether or not it changed a setting: the model's
    // reboot URL, the charts' look, axis limits and page width (a drag may have
    // moved them), the polling interval, the capture cameras. Each timer is
    // re-armed only when its interval changed.
    void atCommit();

private:
    void applyRebootUrl();
    void applyAxisLimits();
    void dressCharts();
    void applyLogTimer();
    void applyLogFile();
    void showTelnetPanes(const QMap<QString, bool> &shown);

    TForm1 &m_form;
};
