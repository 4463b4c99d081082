#include "pages/TelnetPages.h"

#include "acquisition/TelnetFigures.h"
#include "charts/ChartSet.h"
#include "pages/TargetSnrPage.h"
#include "pages/TelnetPage.h"
#include "pages/TerminalCommandBar.h"
#include "pages/UserFigureMarker.h"

#include <QBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <qcustomplot.h>

TelnetPages buildTelnetPages(QObject *context, QTabWidget *tabs, TSettings &settings, const RunState &run,
                             TelnetSession &session, ChartSet &charts, TelnetFigures &figures,
                             const TelnetPagesHost &host)
{
    TelnetPages built;
    auto *page = new TelnetPage(settings, session, tabs);
    built.page = page;
    QObject::connect(page->marker, &UserFigureMarker::invalidSelection, context, host.messageBox);
    ChartSet *set = &charts;
    QObject::connect(page->marker, &UserFigureMarker::userChartMarked, context, [set](int which, const QString &title) {
        const int chart = which == 1 ? 30 : 31;
        if (QCustomPlot *p = set->chart(chart)) {
            p->yAxis->setLabel(title);
            set->leftAxis(chart).trySetMinimum(0);
            set->leftAxis(chart).trySetMaximum(10);
            set->leftAxis(chart).trySetMinimum(0);
            p->replot(QCustomPlot::rpQueuedReplot);
        }
    });
    TelnetFigures *f = &figures;
    QObject::connect(page->commands, &TerminalCommandBar::bitswapResetConfirmed, context, [f] {
        f->ToneSwapped.fill(0);
        f->ToneSwapCount.fill(0);
    });
    auto *snrPage = new TargetSnrPage(settings, run, session, tabs);
    tabs->addTab(snrPage, QObject::tr("Set Target SNR"));
    QObject::connect(snrPage, &TargetSnrPage::systemMessage, context, host.systemMessage);
    QObject::connect(snrPage, &TargetSnrPage::messageBox, context, host.messageBox);
    tabs->insertTab(0, page->TabSheet8, QObject::tr("Summary"));
    tabs->insertTab(1, page, QObject::tr("Terminal"));
    tabs->setCurrentIndex(0);
    built.btnFont = new QPushButton(QObject::tr("Font..."), page);
    built.btnFont->setObjectName(QStringLiteral("btnFont"));
    built.btnFont->setToolTip(QObject::tr("Font of the terminal and statistics panes"));
    if (auto *box = qobject_cast<QBoxLayout *>(page->layout()))
        if (auto *row = qobject_cast<QBoxLayout *>(box->itemAt(0)->layout()))
            row->addWidget(built.btnFont);
    return built;
}
