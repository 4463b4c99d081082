#include "pages/WindowPages.h"

#include "acquisition/FigureSearch.h"
#include "acquisition/TelnetSession.h"
#include "charts/ChartRefresh.h"
#include "charts/ChartSet.h"
#include "pages/TelnetPage.h"
#include "settings/TSettings.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <qcustomplot.h>

namespace windowpages {

void showLastPage(QTabWidget *pages, int last)
{
    last = qBound(0, last, pages->count() - 1);
    for (int i = 0; !pages->isTabVisible(last) && i < pages->count(); ++i)
        last = i;
    pages->setCurrentIndex(last);
}

void placeBitsOptions(QTabWidget *pages, QWidget *options, bool speedTouch)
{
    // One options page serves both kinds of tone charts: it sits beside the charts the family shows.
    if (!options)
        return;
    QWidget *host = pages->findChild<QWidget *>(speedTouch ? QStringLiteral("Bitloading")
                                                           : QStringLiteral("Bits / Tone"));
    auto *tabs = host ? host->findChild<QTabWidget *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!tabs || tabs->indexOf(options) >= 0)
        return;
    for (QTabWidget *other : pages->findChildren<QTabWidget *>())
        if (const int i = other->indexOf(options); i >= 0)
            other->removeTab(i);
    options->setObjectName(speedTouch ? QStringLiteral("TabSheet55") : QStringLiteral("TabSheetBitsOptionsScroll"));
    tabs->addTab(options, QObject::tr("Options"));
}

void showBitsOptions(QTabWidget *pages, QWidget *options)
{
    QWidget *page = pages->findChild<QWidget *>(QStringLiteral("Bitloading"));
    if (!page || !options)
        return;
    pages->setTabVisible(pages->indexOf(page), true);
    pages->setCurrentWidget(page);
    placeBitsOptions(pages, options, true);
    if (auto *tabs = page->findChild<QTabWidget *>(QString(), Qt::FindDirectChildrenOnly))
        tabs->setCurrentWidget(options);
}

void setUserPageCaption(QTabWidget *pages, int figure, const QString &caption)
{
    const QString name = QStringLiteral("User-defined %1").arg(figure);
    for (QWidget *page : pages->findChildren<QWidget *>(name))
        if (auto *tabs = qobject_cast<QTabWidget *>(page->parentWidget()->parentWidget());
            tabs && tabs->parentWidget() && tabs->parentWidget()->objectName() == QLatin1String("User-Defined"))
            tabs->setTabText(tabs->indexOf(page), caption);
}

void showUserFigurePage(QTabWidget *pages, ChartSet &charts)
{
    // The page of the first user figure's chart, and each tab page on the way down to it.
    for (QWidget *w = charts.chart(3)->parentWidget(); w && w != pages; w = w->parentWidget())
        if (auto *tabs = qobject_cast<QTabWidget *>(w->parentWidget() ? w->parentWidget()->parentWidget() : nullptr);
            tabs && tabs->indexOf(w) >= 0)
            tabs->setCurrentWidget(w);
}

void showUserLabel(QTabWidget *pages, ChartSet &charts, const TSettings &settings, int figure, QLabel *figureLabel,
                   QString (*chartTitle)(const QString &label, int scale, bool perSample))
{
    const bool first = figure == 1;
    const QString &label = first ? settings.Graph.UserLabel : settings.Graph.UserLabel2;
    charts.chart(first ? 3 : 19)->yAxis->setLabel(chartTitle(
        label, first ? settings.Graph.ScaleUser1 : settings.Graph.ScaleUser2,
        first ? settings.Graph.DiffUserDef : settings.Graph.DiffUserDef1));
    chartrefresh::request(charts.chart(first ? 3 : 19));
    // The status-page figure's own tab; the telnet user figures' tabs keep their captions.
    setUserPageCaption(pages, figure, label);
    // The toolbar takes the label's first 12 characters ("Not Available" stays whole).
    figureLabel->setText(label == QLatin1String("Not Available") ? label : label.left(12) + QStringLiteral("  0"));
}

void showFigureCaptions(QTabWidget *pages, ChartSet &charts, const FigureLabels &labels, const FigureSearchResult &r)
{
    // The SpeedTouch 585's data counters rename the user charts.
    if (r.TabSheet32Caption)
        setUserPageCaption(pages, 1, *r.TabSheet32Caption);
    if (r.TabSheet33Caption)
        setUserPageCaption(pages, 2, *r.TabSheet33Caption);
    if (r.Chart3AxisTitle)
        charts.chart(3)->yAxis->setLabel(*r.Chart3AxisTitle);
    if (r.Chart19AxisTitle)
        charts.chart(19)->yAxis->setLabel(*r.Chart19AxisTitle);
    if (r.Label2)
        labels.Label2->setText(*r.Label2);
    if (r.Label4)
        labels.Label4->setText(*r.Label4);
    if (r.Label5)
        labels.Label5->setText(*r.Label5);
    if (r.Label22)
        labels.Label22->setText(*r.Label22);
}

void pageChanged(QTabWidget *pages, const ChartSet &charts, TelnetSession &telnet, const PageChange &change)
{
    // The export copies the status-page charts; it has nothing to do on the telnet page.
    QWidget *page = pages->currentWidget();
    const bool telnetTab = page && page->objectName() == QLatin1String("Telnet Router");
    change.btnLog->setEnabled(!telnetTab);
    QWidget *telnetSub = nullptr;
    if (telnetTab)
        if (auto *tabs = page->findChild<QTabWidget *>(QString(), Qt::FindDirectChildrenOnly))
            telnetSub = tabs->currentWidget();
    // The timeline zoom sign shows on the pages whose charts it applies to.
    if (QLabel *zoom = change.zoom) {
        const QString name = page ? page->objectName() : QString();
        const bool noTimeline = page == change.alarms || name == QLatin1String("TabSheet4")
                                || name == QLatin1String("TabSheet36") || name == QLatin1String("Summary")
                                || (telnetSub && telnetSub->objectName() == QLatin1String("TabSheet8"));
        zoom->setVisible(charts.timelineExpandFactor() > 1 && !noTimeline);
    }
    // The MiBytes sub-tabs are offered by the extended stats switch of the terminal.
    if (telnetSub && telnetSub->objectName().endsWith(QLatin1String(" Interleaved")))
        change.extendedPanes();
    if (telnetSub && telnetSub == change.telnetPage) {
        change.telnetPage->Memo1->setFocus();
        // Showing the terminal re-arms the debug-off timer (it runs only while monitoring is stopped).
        telnet.Memo1Change();
    }
}

} // namespace windowpages
