#include "pages/TelnetReplyView.h"

#include "acquisition/RunState.h"
#include "acquisition/TelnetParsers.h"
#include "acquisition/TelnetSession.h"
#include "chartimages/GraphImages.h"
#include "charts/ChartSet.h"
#include "charts/ToneCharts.h"
#include "pages/BitsTonePage.h"
#include "pages/FamilyViews.h"
#include "pages/TelnetPage.h"

#include <QLabel>
#include <QTabWidget>
#include <QToolButton>
#include <qcustomplot.h>

namespace telnetreply {

void show(const TelnetReply &reply, const TSettings &settings, RunState &run, TelnetFigures &figures,
          TelnetSession &session, ChartSet &charts, ToneCharts &tones, GraphImages &images, const Pages &pages,
          const Host &host)
{
    const std::vector<TelnetParseResult> results =
        ParseTelnetReply(reply, settings, session.flags(), run.Figures, run.SampleCount, figures);
    for (const TelnetParseResult &r : results) {
        if (pages.telnetPage)
            pages.telnetPage->showParsed(r);
        if (r.StatusPanel1)
            host.setStatusPanel(1, *r.StatusPanel1);
        if (r.StatusPanel2)
            host.setStatusPanel(2, *r.StatusPanel2);
        for (const QString &m : r.SystemMessages)
            host.systemMessage(m);
        if (r.Chart23AxisTitle)
            charts.chart(23)->yAxis->setLabel(*r.Chart23AxisTitle);
        if (r.Chart24AxisTitle)
            charts.chart(24)->yAxis->setLabel(*r.Chart24AxisTitle);
        if (r.TabSheet49Caption)
            setTabCaption(pages.pages, QStringLiteral("Rx Interleaved > MiBytes (ppp0)"), *r.TabSheet49Caption);
        if (r.TabSheet50Caption)
            setTabCaption(pages.pages, QStringLiteral("Tx Interleaved > MiBytes (ppp0)"), *r.TabSheet50Caption);
        if (pages.bitsPage)
            pages.bitsPage->showParsed(r, session.isConnected());
    }
    run.BytesInterfaceFound = figures.BytesInterfaceFound;
    for (const TelnetParseResult &r : results)
        if (r.ToneChart)
            plotToneCharts(*r.ToneChart, pages.bitsPage, pages.telnetPage, tones, images);
}

void plotToneCharts(const ToneChartData &t, BitsTonePage *bitsPage, TelnetPage *telnetPage, ToneCharts &tones,
                    GraphImages &images)
{
    // The tone range first: the bitswap images made while plotting carry it.
    if (t.HalfSelectionVisible) {
        bitsPage->Image84->setVisible(*t.HalfSelectionVisible);
        bitsPage->Label88->setVisible(*t.HalfSelectionVisible);
        if (telnetPage)
            telnetPage->Label100->setVisible(*t.HalfSelectionVisible);
    }
    if (t.Label88) {
        bitsPage->Label88->setText(*t.Label88);
        bitsPage->Image84->setText(t.Label88->isEmpty() ? QObject::tr("Tones") : *t.Label88);
        if (telnetPage)
            telnetPage->Label100->setText(*t.Label88);
    }
    tones.plot(t, [&images](const QString &mode) { images.Save(21, mode); });
}

void setTabCaption(QTabWidget *pages, const QString &path, const QString &caption)
{
    if (const auto [tabs, index] = telnetPane(pages, path); tabs)
        tabs->setTabText(index, caption);
}

} // namespace telnetreply
