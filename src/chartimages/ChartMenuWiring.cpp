#include "chartimages/ChartMenuWiring.h"

#include "chartimages/ChartCommands.h"
#include "charts/ToneCharts.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

ChartPopupMenus *wireChartMenus(ChartPopupMenus::Context context, ChartCommands &commands, ToneCharts &tones,
                                const ChartMenuHost &host, QWidget *parent)
{
    auto *menus = new ChartPopupMenus(std::move(context), parent);
    menus->attachAll();
    QObject::connect(menus, &ChartPopupMenus::systemMessage, parent, host.systemMessage);
    const auto includeInLog = host.includeInLog;
    menus->setCommandHandler(ChartCommand::IncludeInLog, [includeInLog](int chart) { includeInLog(chart); });
    const auto changeResetTime = host.changeResetTime;
    menus->setCommandHandler(ChartCommand::ChangeResetTime, [changeResetTime](int) { changeResetTime(); });
    commands.serve(*menus);
    commands.setTopChart(host.topChart);
    // The bits chart's Refresh item.
    const auto bitsRefresh = host.bitsRefresh;
    menus->setCommandHandler(ChartCommand::BitsRefresh, [bitsRefresh](int) { bitsRefresh(); });
    menus->setBitsRefreshEnabled(host.bitsRefreshEnabled);
    if (QMenu *bits = menus->menu(QStringLiteral("popupBits"))) {
        QAction *reset = bits->addAction(QObject::tr("Reset Graph Axes"));
        reset->setObjectName(QStringLiteral("ResetGraphAxes1"));
        QObject::connect(reset, &QAction::triggered, &tones, &ToneCharts::resetAxes);
    }
    const auto graphConfiguration = host.graphConfiguration;
    menus->setCommandHandler(ChartCommand::GraphConfiguration, [graphConfiguration](int) { graphConfiguration(); });
    // Opening the status-page charts' menu brings their camera pictures up to date.
    if (QMenu *popup = menus->menu(QStringLiteral("ChartPopup")))
        QObject::connect(popup, &QMenu::aboutToShow, parent, host.statusChartsMenuShown);
    return menus;
}
