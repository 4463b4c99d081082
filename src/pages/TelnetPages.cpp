#include "pages/TelnetPages.h"

#include "acquisition/TelnetFigures.h"
#include "charts/ChartSet.h"
#include "pages/TargetSnrPage.h"
#include "pages/TelnetPage.h"
#include "pages/TerminalCommandBar.h"
#include "pages/UserFigureMarker.h"
#include "settings/SettingsHub.h"

#include <QBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <qcustomplot.h>

TelnetPages buildTelnetPages(QObject *context, QTabWidget *tabs, SettingsHub &hub, const RunState &run,
                             TelnetSession &session, ChartSet &charts, TelnetFigures &figures,
                             const TelnetPagesHost &host)
{
    TelnetPages built;
    TSettings &settings = hub.settings();
    auto *page = new TelnetPage(settings, session, tabs);
    built.page = page;
    QObject::connect(page->marker, &UserFigureMarker::invalidSelection, context, host.messageBox);
    ChartSet *set = &charts;
    SettingsHub *settingsHub = &hub;
    QObject::connect(page->marker, &UserFigureMarker::userChartMarked, context,
                     [set, settingsHub](const MarkedUserFigure &marked) {
        const int which = marked.which;
        const QString title = marked.title();
        // The chart's title is the figure's name: kept, so a redraw or the next start shows it again.
        settingsHub->change([&](TSettings &s) {
            auto &t = s.Telnet;
            (which == 1 ? t.UserDownText : t.UserUpText) = marked.label;
            (which == 1 ? t.User1Rx : t.User2Rx) = marked.fromDown;
            (which == 1 ? t.User1Adjusted : t.User2Adjusted) = false;
            (which == 1 ? t.Ch30 : t.Ch31) = title;
        });
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
