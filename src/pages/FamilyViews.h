#pragma once
// What the router family decides on the main window: the telnet tab or the
// SpeedTouch 585's pages, which telnet panes are offered and their captions,
// the counter and bit-loading charts' titles, and the family's signs on the
// terminal and tone pages. Start-up and every commit set them all through
// applyFamilyViews from the settings alone, so after a commit the window
// shows what a fresh start with the same settings shows.
#include <QMap>
#include <QString>
#include <utility>

class BitsTonePage;
class ChartSet;
class QTabWidget;
class QWidget;
class TelnetPage;
struct TSettings;

struct FamilyViewParts {
    QTabWidget *pages = nullptr; // the main window's tabs
    ChartSet *charts = nullptr;
    TelnetPage *telnetPage = nullptr;
    BitsTonePage *bitsPage = nullptr;
    QWidget *bitsOptions = nullptr; // the tone charts' options page, beside the family's tone charts
};

void applyFamilyViews(const FamilyViewParts &parts, const TSettings &s);

// The telnet panes ("Page" or "Page > Sub-page" by object name) the family
// offers; every pane it decides on is listed.
QMap<QString, bool> telnetPaneVisibility(const TSettings &s);
// The interface byte-count panes, offered while the extended stats are on.
QMap<QString, bool> extendedPaneVisibility(const TSettings &s);
// The telnet pane at "A" or "A > B" (page object names): its tab widget and index, or {nullptr, -1}.
std::pair<QTabWidget *, int> telnetPane(QTabWidget *pages, const QString &path);
// Offers or withdraws those panes on the telnet tab of `pages`.
void showTelnetPanes(QTabWidget *pages, const QMap<QString, bool> &shown);
