#pragma once
// Brings the main window in line with the settings the Configuration dialog
// has just copied, group by group. Start-up uses the same steps where the two
// agree (tab visibility, the telnet captions).
#include "configuration/CommitGroup.h"

#include <QMap>
#include <QString>

class TForm1;
struct TSettings;

// Panes the family shows (true) or hides (false); those absent stay as they are.
QMap<QString, bool> telnetPaneVisibility(const TSettings &s);
// The interface byte-count panes, offered while the extended stats are on.
QMap<QString, bool> extendedPaneVisibility(const TSettings &s);

class CommitRefresh {
public:
    explicit CommitRefresh(TForm1 &form) : m_form(form) {}

    void afterGroup(CommitGroup group);

    // Which of the main window's pages are shown, by the settings.
    void applyTabVisibility();
    // Chart titles and pane captions of the telnet family; the bit-loading
    // chart's title follows the start-up rule or the commit rule.
    enum class BitLoadingRule { Startup, Commit };
    void applyTelnetCaptions(BitLoadingRule rule);
    // The MiBytes panes by the extended stats switch.
    void applyExtendedPanes();

private:
    void applyAxisLimits();
    void dressCharts();
    void showTelnetPanes(const QMap<QString, bool> &shown);

    TForm1 &m_form;
};
