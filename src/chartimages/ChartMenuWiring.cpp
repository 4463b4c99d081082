#include "chartimages/ChartMenuWiring.h"

#include "acquisition/BitLoadingRefresh.h"
#include "chartimages/ChartCommands.h"
#include "charts/ChartInteraction.h"
#include "charts/ToneCharts.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QTimer>
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

ChartPopupMenus *wireChartWindow(ChartPopupMenus::Context context, const ChartWindowParts &parts,
                                 ChartMenuHost host, QWidget *parent)
{
    ChartInteraction &interaction = context.interaction;
    interaction.setPollTimer(parts.pollTimer, context.monitoring);
    interaction.setFactorPanel(parts.factorPanel);
    interaction.watchKeys(parent ? parent->window() : nullptr);
    interaction.attachAll();
    // The bitswap histories can be dragged back in time; every bitswap chart's release ends a drag.
    for (int chart : {22, 28})
        interaction.attachToneChart(chart, true);
    for (int chart : {27, 29})
        interaction.attachToneChart(chart, false);
    QObject::connect(&interaction, &ChartInteraction::systemMessage, parent, host.systemMessage);
    QObject::connect(&interaction, &ChartInteraction::indicatorsChanged, parent, host.indicatorsChanged);

    BitLoadingRefresh *refresh = &parts.bitsRefresh;
    host.bitsRefresh = [refresh] { refresh->btnBitsRefreshClick(BitsSender::Window); };
    QAbstractButton *button = parts.bitsRefreshButton;
    host.bitsRefreshEnabled = [button] { return button && button->isEnabled(); };
    return wireChartMenus(std::move(context), parts.commands, parts.tones, host, parent);
}
