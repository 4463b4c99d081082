#pragma once
// The parts of the main window that depend on settings, each with the keys it
// reads. They follow every announced change (a Configuration commit, a live
// handler, a page's box, a chart menu), and only the parts whose keys changed
// run: a commit that changes nothing re-arms nothing. Start-up uses the same
// steps where the two agree (tab visibility, the router family's views).
#include "configuration/LiveBinder.h"

#include <vector>

class TForm1;

class CommitRefresh {
public:
    explicit CommitRefresh(TForm1 &form) : m_form(form) {}

    // The window's followers: what to bring in line when which keys change.
    std::vector<SettingFollower> followers();

    // Which of the ping, alarm, system messages and web server pages are shown.
    void applyTabVisibility();
    // Everything the router family decides: the same at start-up and at every commit.
    void applyFamilyViews();
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

    TForm1 &m_form;
};
