#pragma once

#include <QString>
#include <functional>

class ChartSet;
class QLabel;
class QPushButton;
class QTabWidget;
class QWidget;
class TelnetPage;
class TelnetSession;
struct FigureSearchResult;
struct TSettings;

// Finding, naming and showing the main window's pages in its page control `pages`.
namespace windowpages {

// The page last shown (`last`, brought within the pages), unless it is hidden now: then the first page shown.
void showLastPage(QTabWidget *pages, int last);

// The bit-loading options page `options` beside the SpeedTouch 585's charts or the telnet tone charts.
void placeBitsOptions(QTabWidget *pages, QWidget *options, bool speedTouch);
// The SpeedTouch 585 page shown, with its options page in front.
void showBitsOptions(QTabWidget *pages, QWidget *options);

// The status-page user chart's page (figure 1 or 2).
void setUserPageCaption(QTabWidget *pages, int figure, const QString &caption);
// The first user figure's chart brought to the front, page by page.
void showUserFigurePage(QTabWidget *pages, ChartSet &charts);
// A user figure's label (figure 1 or 2), as its chart title, tab caption and figure label show it;
// `chartTitle` makes the title of a label, its scale and whether it is per sample.
void showUserLabel(QTabWidget *pages, ChartSet &charts, const TSettings &settings, int figure, QLabel *figureLabel,
                   QString (*chartTitle)(const QString &label, int scale, bool perSample));

// The figure labels above the pages.
struct FigureLabels {
    QLabel *Label2 = nullptr;  // Rx noise
    QLabel *Label4 = nullptr;  // Rx sync
    QLabel *Label5 = nullptr;  // user figure 1
    QLabel *Label22 = nullptr; // user figure 2
};
// The labels and captions a poll's figure search produced.
void showFigureCaptions(QTabWidget *pages, ChartSet &charts, const FigureLabels &labels, const FigureSearchResult &r);

// What a change of page touches besides the pages.
struct PageChange {
    QPushButton *btnLog = nullptr; // "Copy to log"
    QLabel *zoom = nullptr;        // the timeline zoom sign
    QWidget *alarms = nullptr;     // the alarms page
    TelnetPage *telnetPage = nullptr;
    std::function<void()> extendedPanes; // the MiBytes sub-tabs offered by the extended stats switch
};
// Another page or telnet sub-page was chosen.
void pageChanged(QTabWidget *pages, const ChartSet &charts, TelnetSession &telnet, const PageChange &change);

} // namespace windowpages
