#include "chartimages/ChartPopupMenus.h"

#include "charts/AxisScaling.h"
#include "charts/ChartInteraction.h"
#include "chartimages/ChartMenuText.h"
#include "charts/ChartRefresh.h"
#include "charts/ChartSet.h"
#include "widgets/ColourConversion.h"
#include "charts/TelnetPlotting.h"
#include "notify/CaptureSchedule.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QWidget>
#include <qcustomplot.h>

#include <cmath>
#include <cstring>

namespace {

bool TSettings::GraphKeys::*swapFlag(int chart)
{
    switch (chart) {
    case 1: return &TSettings::GraphKeys::SwapRxNoise;
    case 2: return &TSettings::GraphKeys::SwapRxSync;
    case 3: return &TSettings::GraphKeys::SwapUser1;
    case 19: return &TSettings::GraphKeys::SwapUser2;
    default: return nullptr;
    }
}

bool TSettings::GraphKeys::*averageSwitch(int chart)
{
    switch (chart) {
    case 1: return &TSettings::GraphKeys::RxNoiseAvg;
    case 2: return &TSettings::GraphKeys::RxSyncAvg;
    case 3: return &TSettings::GraphKeys::User1Avg;
    case 19: return &TSettings::GraphKeys::User2Avg;
    default: return nullptr;
    }
}

bool TSettings::GraphKeys::*autoSwitch(int chart)
{
    switch (chart) {
    case 1: return &TSettings::GraphKeys::RxNoiseAuto;
    case 2: return &TSettings::GraphKeys::RxSyncAuto;
    case 3: return &TSettings::GraphKeys::UserAuto;
    case 18: return &TSettings::GraphKeys::TxNoiseAuto;
    case 20: return &TSettings::GraphKeys::TxSyncAuto;
    case 19: return &TSettings::GraphKeys::User1Auto;
    default: return nullptr;
    }
}

constexpr const char *kGapSeries[] = {"Series21", "Series22", "Series23", "Series24", "Series25", "Series26"};

} // namespace

ChartPopupMenus::ChartPopupMenus(Context context, QWidget *parent)
    : QObject(parent), m_ctx(std::move(context)), m_parent(parent)
{
    buildChartPopup();
    buildTelnetPopup();
    buildPingPopup();
    buildSmallPopups();
}

ChartPopupMenus::~ChartPopupMenus()
{
    // Menus without a parent window are ours.
    for (auto &[name, menu] : m_menus)
        if (!menu->parent())
            delete menu;
}

QAction *ChartPopupMenus::add(QMenu *menu, const char *name, const QString &text, bool checkable)
{
    QAction *a = menu->addAction(text);
    a->setObjectName(QLatin1String(name));
    a->setCheckable(checkable);
    return a;
}

QAction *ChartPopupMenus::addCommand(QMenu *menu, const char *name, const QString &text, ChartCommand command,
                                     bool checkable)
{
    QAction *a = add(menu, name, text, checkable);
    m_commands.insert(a, command);
    connect(a, &QAction::triggered, this, [this, command] {
        if (auto it = m_handlers.find(command); it != m_handlers.end() && it->second)
            it->second(m_chart);
    });
    return a;
}

void ChartPopupMenus::setCommandHandler(ChartCommand command, std::function<void(int)> handler)
{
    m_handlers[command] = std::move(handler);
}

void ChartPopupMenus::addTimelineItems(QMenu *menu, const char *expand, const char *restore)
{
    connect(add(menu, expand, tr("Expand Timeline")), &QAction::triggered, this,
            [this] { m_ctx.interaction.mnuExpandClick(); });
    connect(add(menu, restore, tr("Restore Timeline")), &QAction::triggered, this,
            [this] { m_ctx.interaction.mnuRestoreClick(); });
}

void ChartPopupMenus::buildChartPopup()
{
    auto *m = new QMenu(m_parent);
    m->setObjectName(QStringLiteral("ChartPopup"));
    m_menus[m->objectName()] = m;
    for (const char *name : {"mnuMax", "mnuMin", "mnuAvg", "mnuRunAvg"})
        add(m, name, QString());
    add(m, "mnuprofile", ChartMenuText::bareIpProfile());
    m->addSeparator();
    connect(add(m, "mnuShowSync", tr("Overlay Rx Sync Speed"), true), &QAction::triggered, this,
            &ChartPopupMenus::mnuShowSyncClick);
    connect(add(m, "mnuSwapPlots", tr("Swap Plots"), true), &QAction::triggered, this,
            &ChartPopupMenus::mnuSwapPlotsClick);
    auto *rawDiff = new QActionGroup(m);
    for (auto [name, text] : {std::pair{"mnuRaw", tr("Plot Raw Value")}, std::pair{"mnuDiff", tr("Plot Difference Per Sample")}}) {
        QAction *a = add(m, name, text, true);
        rawDiff->addAction(a);
        connect(a, &QAction::triggered, this, &ChartPopupMenus::mnuRawDiffClick);
    }
    connect(add(m, "mnuShowGaps", tr("Show Gaps"), true), &QAction::triggered, this,
            &ChartPopupMenus::mnuShowGapsClick);
    m->addSeparator();
    connect(add(m, "mnuHTTPAdjustAuto", tr("Adjust vertical axis automatically"), true), &QAction::triggered, this,
            &ChartPopupMenus::mnuHTTPAdjustAutoClick);
    connect(add(m, "mnuAutoRestoreHTTP", tr("Match vertical axis with current plot value"), true),
            &QAction::triggered, this, [this](bool on) {
                if (const ChartDef *def = ChartTable::find(m_chart))
                    setFlag(m_ctx.settings.Graph.AutoRestoreHTTP, def->tag, on);
            });
    connect(add(m, "mnuHTTPDefaul", tr("Reset vertical axis to default values")), &QAction::triggered, this,
            [this] { m_ctx.scaling.resetHttpAxes(m_chart); });
    m->addSeparator();
    addTimelineItems(m, "mnuExpand", "mnuRestore");
    m->addSeparator();
    addCommand(m, "mnuLog", tr("Include In Log"), ChartCommand::IncludeInLog, true);
    connect(add(m, "mnuHTTPWeb", tr("Make available to webserver"), true), &QAction::triggered, this,
            [this](bool on) {
                if (const ChartDef *def = ChartTable::find(m_chart))
                    setFlag(m_ctx.settings.Capture.HTTPWeb, def->tag, on);
            });
    addCommand(m, "mnuSchedCapture", tr("Scheduled Capture"), ChartCommand::ScheduledCapture, true);
    addCommand(m, "mnuCaptureNow", tr("Capture Now"), ChartCommand::CaptureNow);
    addCommand(m, "mnuSaveAs", tr("Save As..."), ChartCommand::SaveAs);
    addCommand(m, "mnuCopy", tr("Copy To Clipboard"), ChartCommand::CopyToClipboard);
    addCommand(m, "mnuPrinterSetup", tr("Printer Setup..."), ChartCommand::PrinterSetup);
    addCommand(m, "mnuPrint", tr("Print"), ChartCommand::Print);
    m->addSeparator();
    addCommand(m, "mnuGraphConfig", tr("Graph Configuration..."), ChartCommand::GraphConfiguration);
}

void ChartPopupMenus::buildTelnetPopup()
{
    auto *m = new QMenu(m_parent);
    m->setObjectName(QStringLiteral("TelnetPopup"));
    m_menus[m->objectName()] = m;
    for (const char *name : {"mnuTelMax", "mnuTelMin", "mnuTelAvg", "mnuTelRunAvg"})
        add(m, name, QString());
    add(m, "mnuTelnetProfile", ChartMenuText::bareIpProfile());
    m->addSeparator();
    connect(add(m, "mnuTelnetShowSync", tr("Overlay Rx Sync"), true), &QAction::triggered, this,
            &ChartPopupMenus::mnuTelnetShowSyncClick);
    connect(add(m, "mnuTelnetSwapPlots", tr("Swap Plots"), true), &QAction::triggered, this,
            &ChartPopupMenus::mnuTelnetSwapPlotsClick);

    auto *inc = m->addMenu(tr("Incremental Count"));
    inc->setObjectName(QStringLiteral("GraphMinimum1"));
    inc->menuAction()->setObjectName(QStringLiteral("GraphMinimum1"));
    connect(add(inc, "mnuShowIncremental", tr("Show Incremental Count"), true), &QAction::triggered, this,
            &ChartPopupMenus::mnuShowIncrementalClick);
    connect(add(inc, "mnuSetMinimum", tr("Reset To Current Value Now")), &QAction::triggered, this, [this] {
        m_ctx.telnetPlotting.SetMinimum();
        replot(23);
        replot(24);
    });
    connect(add(inc, "mnuLogInc", tr("Include In Log"), true), &QAction::triggered, this, [this](bool on) {
        if (m_chart == 23)
            m_ctx.settings.Log.RxTotalInc = on;
        else if (m_chart == 24)
            m_ctx.settings.Log.TxTotalInc = on;
    });
    connect(add(inc, "mnuResetDailyAt", tr("Reset Daily At..."), true), &QAction::triggered, this,
            [this](bool on) { m_ctx.settings.Telnet.ResetDailyAt = on; });
    addCommand(inc, "ChangeTime1", tr("Change Time..."), ChartCommand::ChangeResetTime);
    add(inc, "mnuLastReset", tr("Reset: "));

    m->addSeparator();
    connect(add(m, "mnuAdjustAuto", tr("Adjust vertical axis automatically"), true), &QAction::triggered, this,
            [this](bool on) {
                if (const ChartDef *def = ChartTable::find(m_chart))
                    setFlag(m_ctx.settings.Telnet.TelnetAuto, def->tag, on);
            });
    connect(add(m, "mnuAutoRestoreTelnet", tr("Match vertical axis with current plot value"), true),
            &QAction::triggered, this, [this](bool on) {
                if (const ChartDef *def = ChartTable::find(m_chart))
                    setFlag(m_ctx.settings.Graph.AutoRestoreTelnet, def->tag, on);
            });
    connect(add(m, "Resetverticalaxisdefaultvalues1", tr("Reset vertical axis to default values")),
            &QAction::triggered, this, [this] { m_ctx.scaling.resetTelnetAxes(m_chart); });
    m->addSeparator();
    addTimelineItems(m, "mnuExpand", "mnuRestore");
    m->addSeparator();
    addCommand(m, "mnuAddToLog", tr("Include In Log"), ChartCommand::IncludeInLog, true);
    connect(add(m, "mnuTelnetWeb", tr("Make available to webserver"), true), &QAction::triggered, this,
            [this](bool on) {
                if (const ChartDef *def = ChartTable::find(m_chart))
                    setFlag(m_ctx.settings.Telnet.TelnetWeb, def->tag, on);
            });
    addCommand(m, "mnuTelnetSchedCapture", tr("Scheduled Capture"), ChartCommand::ScheduledCapture, true);
    addCommand(m, "mnuTelCaptureNow", tr("Capture Now"), ChartCommand::CaptureNow);
    addCommand(m, "mnuTelSaveAs", tr("Save As..."), ChartCommand::SaveAs);
    addCommand(m, "mnuTelCopy", tr("Copy To Clipboard"), ChartCommand::CopyToClipboard);
    addCommand(m, "mnuTelPrinterSetup", tr("Printer Setup..."), ChartCommand::PrinterSetup);
    addCommand(m, "mnuTelPrint", tr("Print"), ChartCommand::Print);
    m->addSeparator();
    addCommand(m, "mnuTelGraphConfig", tr("Graph Configuration..."), ChartCommand::GraphConfiguration);
}

void ChartPopupMenus::buildPingPopup()
{
    auto *m = new QMenu(m_parent);
    m->setObjectName(QStringLiteral("PingPopup"));
    m_menus[m->objectName()] = m;
    addCommand(m, "mnuPingCaptureNow", tr("Capture Now"), ChartCommand::CaptureNow);
    addCommand(m, "mnuPingCapture", tr("Capture"), ChartCommand::ScheduledCapture, true);
    addCommand(m, "mnuPingSaveAs", tr("Save As..."), ChartCommand::SaveAs);
    addCommand(m, "mnuPingCopy", tr("Copy To Clipboard"), ChartCommand::CopyToClipboard);
    addCommand(m, "mnuPingPrinterSetup", tr("Printer Setup..."), ChartCommand::PrinterSetup);
    addCommand(m, "mnuPingPrint", tr("Print"), ChartCommand::Print);
    m->addSeparator();
    addCommand(m, "mnuLogPing", tr("Include in log"), ChartCommand::IncludeInLog, true);
    connect(add(m, "mnuMakeAvailToWeb", tr("Make available to webserver"), true), &QAction::triggered, this,
            [this](bool on) { m_ctx.settings.Ping.Web = on; });
}

void ChartPopupMenus::buildSmallPopups()
{
    auto menuNamed = [this](const char *name) {
        auto *m = new QMenu(m_parent);
        m->setObjectName(QLatin1String(name));
        m_menus[m->objectName()] = m;
        return m;
    };
    QMenu *bits = menuNamed("popupBits");
    addCommand(bits, "Refresh2", tr("Refresh"), ChartCommand::BitsRefresh);
    addCommand(bits, "CaptureNow1", tr("Capture Now"), ChartCommand::CaptureNow);
    addCommand(bits, "Capture1", tr("Capture"), ChartCommand::ScheduledCapture, true);
    addCommand(bits, "mnuBitSwapBefore", tr("Capture image before a bitswap"), ChartCommand::BitSwapBefore, true);
    addCommand(bits, "mnuBitswapAfter", tr("Capture image after a bitswap"), ChartCommand::BitSwapAfter, true);
    addCommand(bits, "mnuLogBitSwap", tr("Log bitswaps in System Messages window"), ChartCommand::LogBitSwap, true);

    QMenu *bitswap = menuNamed("PopupBitswap");
    addCommand(bitswap, "mnuBitSwapCaptureNow", tr("Capture Now"), ChartCommand::CaptureNow);
    addCommand(bitswap, "mnuBitswapCapture", tr("Capture"), ChartCommand::ScheduledCapture, true);
    // The two bitswap series change places once the setting is announced.
    connect(add(bitswap, "mnuSwapBitswapPlots", tr("Swap Plots"), true), &QAction::triggered, this,
            [this](bool on) { m_ctx.settings.Telnet.SwapBitswapPlots = on; });
    bitswap->addSeparator();
    addTimelineItems(bitswap, "Expandtimeline1", "Restoretimeline1");

    QMenu *sep = menuNamed("PopupSepBitswap");
    addCommand(sep, "mnuSepCapNow", tr("Capture Now"), ChartCommand::CaptureNow);
    addCommand(sep, "mnuSepBitswapCapture", tr("Capture"), ChartCommand::ScheduledCapture, true);

    QMenu *thomson = menuNamed("thomsonbitspopup");
    addCommand(thomson, "Capturenow2", tr("Capture Now"), ChartCommand::CaptureNow);
    addCommand(thomson, "Capture2", tr("Capture"), ChartCommand::ScheduledCapture, true);

    QMenu *thomsonSwap = menuNamed("ThomsonBitSwap");
    addCommand(thomsonSwap, "mnuThomsonBitswapCapNow", tr("Capture Now"), ChartCommand::CaptureNow);
    connect(add(thomsonSwap, "mnuThomsonBitSwapCap", tr("Capture"), true), &QAction::triggered, this,
            [this](bool on) {
                auto &t = m_ctx.settings._585Telnet;
                (m_chart == 27 ? t.ThomsonBitswapCap : t.ThomsonBitswapTimeCap) = on;
            });
    connect(add(thomsonSwap, "mnuWebServer585", tr("Make available to web server"), true), &QAction::triggered, this,
            [this](bool on) {
                auto &t = m_ctx.settings._585Telnet;
                (m_chart == 27 ? t.WebServerTone585 : t.WebServerTime585) = on;
            });
}

QMenu *ChartPopupMenus::menu(const QString &popupName) const
{
    const auto it = m_menus.find(popupName);
    return it == m_menus.end() ? nullptr : it->second;
}

QList<QMenu *> ChartPopupMenus::menus() const
{
    QList<QMenu *> all;
    for (const auto &[name, menu] : m_menus)
        all << menu;
    return all;
}

QAction *ChartPopupMenus::action(const QString &popupName, const QString &itemName) const
{
    QMenu *m = menu(popupName);
    if (!m)
        return nullptr;
    for (QAction *a : m->findChildren<QAction *>(itemName))
        return a;
    for (QMenu *sub : m->findChildren<QMenu *>())
        for (QAction *a : sub->actions())
            if (a->objectName() == itemName)
                return a;
    for (QAction *a : m->actions())
        if (a->objectName() == itemName)
            return a;
    return nullptr;
}

void ChartPopupMenus::attachAll()
{
    for (const ChartDef &def : ChartTable::charts())
        attach(def.number);
}

void ChartPopupMenus::attach(int chart)
{
    QCustomPlot *plot = m_ctx.charts.chart(chart);
    const ChartDef *def = ChartTable::find(chart);
    if (!plot || !def)
        return;
    // Reachable by Tab, so the context-menu key opens the menu too.
    plot->setFocusPolicy(Qt::StrongFocus);
    if (plot->accessibleName().isEmpty())
        plot->setAccessibleName(QStringLiteral("Chart: ") + QString::fromLatin1(def->leftTitle));
    plot->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(plot, &QWidget::customContextMenuRequested, this,
            [this, plot, chart](const QPoint &pos) { popup(chart, plot->mapToGlobal(pos)); });
}

bool ChartPopupMenus::hasPopup(int chart) const
{
    // A user chart with no number to plot has no menu to offer.
    const auto &g = m_ctx.settings.Graph;
    if (chart == 3)
        return !g.NotANumber;
    if (chart == 19)
        return !g.NotANumber1 && m_ctx.charts.chart(19)->yAxis->label() != QLatin1String("Not Available");
    return true;
}

void ChartPopupMenus::popup(int chart, const QPoint &globalPos)
{
    if (!hasPopup(chart))
        return;
    if (QMenu *m = prepare(chart))
        m->popup(globalPos);
}

QMenu *ChartPopupMenus::prepare(int chart)
{
    const ChartDef *def = ChartTable::find(chart);
    if (!def)
        return nullptr;
    m_chart = chart;
    const QString name = QString::fromLatin1(def->popup);
    if (name == QLatin1String("ChartPopup"))
        ChartPopupPopup(chart);
    else if (name == QLatin1String("TelnetPopup"))
        TelnetPopupPopup(chart);
    else if (name == QLatin1String("PingPopup"))
        PingPopupPopup();
    else if (name == QLatin1String("popupBits"))
        popupBitsPopup();
    else if (name == QLatin1String("PopupBitswap"))
        PopupBitswapPopup();
    else if (name == QLatin1String("PopupSepBitswap"))
        PopupSepBitswapPopup();
    else if (name == QLatin1String("thomsonbitspopup"))
        thomsonbitspopupPopup();
    else
        ThomsonBitSwapPopup(chart);
    return menu(name);
}

void ChartPopupMenus::updateCommandItems(QMenu *m)
{
    const bool folder = CaptureSchedule::captureFolderExists(m_ctx.settings);
    QList<QAction *> all = m->actions();
    for (QMenu *sub : m->findChildren<QMenu *>())
        all += sub->actions();
    for (QAction *a : all) {
        const auto it = m_commands.constFind(a);
        if (it == m_commands.cend())
            continue;
        const auto h = m_handlers.find(*it);
        bool on = h != m_handlers.end() && bool(h->second);
        if (*it == ChartCommand::CaptureNow)
            on = on && folder;
        a->setEnabled(on);
    }
}

void ChartPopupMenus::setCaptureCaptions(QMenu *m, bool mainPopup)
{
    QList<QAction *> all = m->actions();
    for (QAction *a : all) {
        const auto it = m_commands.constFind(a);
        if (it == m_commands.cend())
            continue;
        if (*it == ChartCommand::CaptureNow)
            a->setText(ChartMenuText::captureNow(m_ctx.settings, m->objectName() == QLatin1String("ChartPopup")));
        if (*it == ChartCommand::ScheduledCapture) {
            const QString caption = ChartMenuText::scheduledCapture(m_ctx.settings, mainPopup);
            if (!caption.isEmpty())
                a->setText(caption);
        }
    }
}

void ChartPopupMenus::ChartPopupPopup(int chart)
{
    const TSettings &s = m_ctx.settings;
    const auto &g = s.Graph;
    const ChartDef *def = ChartTable::find(chart);
    QMenu *m = menu(QStringLiteral("ChartPopup"));
    auto item = [this](const char *name) { return action(QStringLiteral("ChartPopup"), QLatin1String(name)); };

    action(QStringLiteral("ChartPopup"), QStringLiteral("mnuShowSync"))->setVisible(chart == 1);
    item("mnuShowSync")->setChecked(g.ShowSync);
    item("mnuHTTPWeb")->setChecked(AxisScaling::flagAt(s.Capture.HTTPWeb, def->tag));

    QAction *swap = item("mnuSwapPlots");
    swap->setText(ChartMenuText::swapPlots(chart, s));
    const auto swapKey = swapFlag(chart);
    const auto avgKey = averageSwitch(chart);
    swap->setChecked(swapKey && g.*swapKey);
    swap->setVisible(avgKey && g.*avgKey);

    item("mnuRaw")->setVisible(chart == 3 || chart == 19);
    item("mnuDiff")->setVisible(chart == 3 || chart == 19);
    if (chart == 3 || chart == 19) {
        const bool diff = chart == 3 ? g.DiffUserDef : g.DiffUserDef1;
        item("mnuDiff")->setChecked(diff);
        item("mnuRaw")->setChecked(!diff);
    }

    // Statistics of the plotted figure, wherever a swap has put it.
    int decimals = 1;
    QString unit;
    if (chart == 1 || chart == 18)
        unit = QStringLiteral(" dB");
    if (chart == 2 || chart == 20) {
        decimals = 0;
        unit = g.Scale1000 ? QStringLiteral(" bps") : QStringLiteral(" Kbps");
    }
    int samples = g.RxNoiseAvgSamples;
    if (chart == 2 && g.cbHSync)
        samples = g.RxSyncAvgSamples;
    else if (chart == 3 && g.cbHUser)
        samples = g.User1AvgSamples;
    else if (chart == 19 && g.cbHUser2)
        samples = g.User2AvgSamples;
    const ChartStatistics stats =
        ChartMenuText::statistics(m_ctx.charts.valueSeries(chart), decimals, unit, samples, m_ctx.run.SampleCount);
    item("mnuMax")->setText(stats.max);
    item("mnuMin")->setText(stats.min);
    item("mnuAvg")->setText(stats.avg);
    item("mnuRunAvg")->setText(stats.runningAvg);

    const bool box = CaptureSchedule::plotBoxChecked(s, chart);
    QAction *capture = item("mnuSchedCapture");
    capture->setChecked(captureSwitch(s, chart));
    QAction *log = item("mnuLog");
    log->setChecked(logSwitch(s, chart));
    const auto autoKey = autoSwitch(chart);
    QAction *adjust = item("mnuHTTPAdjustAuto");
    adjust->setChecked(autoKey && g.*autoKey);
    QAction *restore = item("mnuAutoRestoreHTTP");
    restore->setEnabled(adjust->isChecked());
    restore->setChecked(adjust->isChecked() && AxisScaling::flagAt(g.AutoRestoreHTTP, def->tag));

    updateCommandItems(m);
    capture->setEnabled(capture->isEnabled() && box);
    log->setEnabled(log->isEnabled() && box);
    setCaptureCaptions(m, true);
    const int factor = m_ctx.interaction.timelineExpandFactor();
    item("mnuExpand")->setEnabled(factor < 128);
    item("mnuRestore")->setEnabled(factor >= 2);
    item("mnuRestore")->setText(ChartMenuText::restoreTimeline(s.System.Sample, s.System.Points));

    QAction *profile = item("mnuprofile");
    profile->setVisible(chart == 2);
    if (chart == 2) {
        const qint64 k = qint64(std::trunc(double(m_ctx.run.Figures.RxSync)));
        const bool ppp = m_ctx.telnet.BytesInterfaceFound;
        profile->setText(m_ctx.monitoring && m_ctx.monitoring() && ppp ? ChartMenuText::expectedIpProfile(k)
                                                                       : ChartMenuText::bareIpProfile());
        profile->setEnabled(ppp);
    }
    item("mnuShowGaps")->setChecked(g.ShowGaps);
}

void ChartPopupMenus::TelnetPopupPopup(int chart)
{
    const TSettings &s = m_ctx.settings;
    const auto &g = s.Graph;
    const auto &t = s.Telnet;
    const ChartDef *def = ChartTable::find(chart);
    QMenu *m = menu(QStringLiteral("TelnetPopup"));
    auto item = [this](const char *name) { return action(QStringLiteral("TelnetPopup"), QLatin1String(name)); };

    updateCommandItems(m);
    setCaptureCaptions(m, true);
    const int factor = m_ctx.interaction.timelineExpandFactor();
    item("mnuExpand")->setEnabled(factor < 128);
    item("mnuRestore")->setEnabled(factor >= 2);
    item("mnuRestore")->setText(ChartMenuText::restoreTimeline(s.System.Sample, s.System.Points));

    const int decimals = (chart == 16 || chart == 30 || chart == 31) ? 1 : 0;
    const int samples = chart == 17 ? g.RxSyncAvgSamples : g.RxNoiseAvgSamples;

    QAction *adjust = item("mnuAdjustAuto");
    adjust->setChecked(AxisScaling::flagAt(t.TelnetAuto, def->tag));
    item("mnuTelnetWeb")->setChecked(AxisScaling::flagAt(t.TelnetWeb, def->tag));
    QAction *restore = item("mnuAutoRestoreTelnet");
    restore->setEnabled(adjust->isChecked());
    restore->setChecked(adjust->isChecked() && AxisScaling::flagAt(g.AutoRestoreTelnet, def->tag));

    item("mnuTelnetShowSync")->setVisible(chart == 16);
    item("mnuTelnetShowSync")->setChecked(g.TelnetShowSync);
    item("mnuTelnetSwapPlots")->setVisible(chart == 16 && g.RxNoiseAvg);
    item("mnuTelnetSwapPlots")->setChecked(g.TelnetSwapRxNoise);

    const bool bytes = chart == 23 || chart == 24;
    item("GraphMinimum1")->setVisible(bytes);
    item("mnuResetDailyAt")->setText(ChartMenuText::resetDailyAt(t.ResetIncAt));
    item("mnuResetDailyAt")->setChecked(t.ResetDailyAt);
    if (bytes) {
        const bool rx = chart == 23;
        const bool shown = rx ? t.RxShowIncremental : t.TxShowIncremental;
        item("mnuLogInc")->setChecked(rx ? s.Log.RxTotalInc : s.Log.TxTotalInc);
        item("mnuShowIncremental")->setChecked(shown);
        item("mnuSetMinimum")->setEnabled(m_ctx.monitoring && m_ctx.monitoring() && shown);
        item("mnuLogInc")->setEnabled(shown);
        QAction *last = item("mnuLastReset");
        last->setEnabled(shown);
        last->setText(ChartMenuText::lastReset(rx ? m_ctx.telnet.RxBytesBaseDate : m_ctx.telnet.TxBytesBaseDate,
                                               rx ? m_ctx.telnet.RxBytesBase : m_ctx.telnet.TxBytesBase));
    }
    item("mnuAddToLog")->setChecked(logSwitch(s, chart));
    QAction *capture = item("mnuTelnetSchedCapture");
    capture->setChecked(captureSwitch(s, chart));
    capture->setText(ChartMenuText::scheduledCapture(s, true).isEmpty() ? capture->text()
                                                                        : ChartMenuText::scheduledCapture(s, true));

    const ChartStatistics stats =
        ChartMenuText::statistics(m_ctx.charts.valueSeries(chart), decimals, QString(), samples, m_ctx.run.SampleCount);
    item("mnuTelMax")->setText(stats.max);
    item("mnuTelMin")->setText(stats.min);
    item("mnuTelAvg")->setText(stats.avg);
    item("mnuTelRunAvg")->setText(stats.runningAvg);

    QAction *profile = item("mnuTelnetProfile");
    profile->setVisible(chart == 17);
    if (chart == 17) {
        const bool ppp = m_ctx.telnet.BytesInterfaceFound;
        // The parse's own figure is cleared once plotted; the kept one is the latest sync.
        profile->setText(m_ctx.monitoring && m_ctx.monitoring() && ppp
                             ? ChartMenuText::expectedIpProfile(m_ctx.telnet.TelnetRxSync)
                             : ChartMenuText::bareIpProfile());
        profile->setEnabled(ppp);
    }
}

void ChartPopupMenus::PingPopupPopup()
{
    QMenu *m = menu(QStringLiteral("PingPopup"));
    updateCommandItems(m);
    setCaptureCaptions(m, false);
    const TSettings &s = m_ctx.settings;
    action(QStringLiteral("PingPopup"), QStringLiteral("mnuPingCapture"))->setChecked(s.Ping.Capture);
    action(QStringLiteral("PingPopup"), QStringLiteral("mnuLogPing"))->setChecked(s.Ping.LogPing);
    action(QStringLiteral("PingPopup"), QStringLiteral("mnuMakeAvailToWeb"))->setChecked(s.Ping.Web);
}

void ChartPopupMenus::smallPopupPopup(int chart)
{
    const ChartDef *def = ChartTable::find(chart);
    QMenu *m = def ? menu(QString::fromLatin1(def->popup)) : nullptr;
    if (!m)
        return;
    m_chart = chart;
    const TSettings &s = m_ctx.settings;
    updateCommandItems(m);
    const QString name = m->objectName();
    // The SpeedTouch menus keep their designed capture-now caption.
    const bool thomson = name == QLatin1String("thomsonbitspopup") || name == QLatin1String("ThomsonBitSwap");
    for (QAction *a : m->actions()) {
        const auto it = m_commands.constFind(a);
        if (it != m_commands.cend() && *it == ChartCommand::CaptureNow && !thomson)
            a->setText(ChartMenuText::captureNow(s, false));
        if (it != m_commands.cend() && *it == ChartCommand::ScheduledCapture) {
            const QString caption = ChartMenuText::scheduledCapture(s, false);
            if (!caption.isEmpty())
                a->setText(caption);
        }
    }
    if (name == QLatin1String("popupBits")) {
        const bool folder = action(name, QStringLiteral("CaptureNow1"))->isEnabled();
        for (const char *item : {"mnuBitSwapBefore", "mnuBitswapAfter"}) {
            QAction *a = action(name, QLatin1String(item));
            a->setEnabled(a->isEnabled() && folder);
        }
        action(name, QStringLiteral("mnuBitSwapBefore"))->setChecked(s.Telnet.BitSwapBefore);
        action(name, QStringLiteral("mnuBitswapAfter"))->setChecked(s.Telnet.BitSwapAfter);
        QAction *logSwaps = action(name, QStringLiteral("mnuLogBitSwap"));
        logSwaps->setEnabled(logSwaps->isEnabled() && s.System.ShowSystem);
        logSwaps->setChecked(s.Telnet.LogBitswap);
        action(name, QStringLiteral("Capture1"))->setChecked(CaptureSchedule::captureSwitch(s, 21));
        QAction *refresh = action(name, QStringLiteral("Refresh2"));
        refresh->setEnabled(refresh->isEnabled() && (!m_bitsRefreshEnabled || m_bitsRefreshEnabled()));
    } else if (name == QLatin1String("PopupBitswap")) {
        const int factor = m_ctx.interaction.timelineExpandFactor();
        action(name, QStringLiteral("Expandtimeline1"))->setEnabled(factor < 128);
        action(name, QStringLiteral("Restoretimeline1"))->setEnabled(factor >= 2);
        action(name, QStringLiteral("mnuBitswapCapture"))->setChecked(s.Telnet.BitswapCapture);
        action(name, QStringLiteral("mnuSwapBitswapPlots"))->setChecked(s.Telnet.SwapBitswapPlots);
    } else if (name == QLatin1String("PopupSepBitswap")) {
        action(name, QStringLiteral("mnuSepBitswapCapture"))->setChecked(s.Telnet.SepCapture);
    } else if (name == QLatin1String("ThomsonBitSwap")) {
        const auto &t = s._585Telnet;
        QAction *cap = action(name, QStringLiteral("mnuThomsonBitSwapCap"));
        cap->setChecked(chart == 27 ? t.ThomsonBitswapCap : t.ThomsonBitswapTimeCap);
        const QString caption = ChartMenuText::scheduledCapture(s, false);
        if (!caption.isEmpty())
            cap->setText(caption);
        action(name, QStringLiteral("mnuWebServer585"))->setChecked(chart == 27 ? t.WebServerTone585 : t.WebServerTime585);
    }
}

bool ChartPopupMenus::logSwitch(const TSettings &s, int chart)
{
    const ChartDef *def = ChartTable::find(chart);
    if (!def)
        return false;
    switch (chart) {
    case 23: return s.Log.RxTotal;
    case 24: return s.Log.TxTotal;
    case 30: return s.Telnet.LogUserDown;
    case 31: return s.Telnet.LogUserUp;
    case 25: return s.Ping.LogPing;
    default: break;
    }
    if (def->isHttpChart())
        return AxisScaling::flagAt(s.Log.Log, def->tag);
    return def->tag >= 0 && def->tag < 17 && s.LogTelnetFlags[size_t(def->tag)];
}

bool ChartPopupMenus::setLogSwitch(TSettings &s, int chart, bool on)
{
    const ChartDef *def = ChartTable::find(chart);
    if (!def)
        return false;
    switch (chart) {
    case 23: s.Log.RxTotal = on; break;
    case 24: s.Log.TxTotal = on; break;
    case 30: s.Telnet.LogUserDown = on; break;
    case 31: s.Telnet.LogUserUp = on; break;
    case 25: s.Ping.LogPing = on; break;
    default:
        if (def->isHttpChart()) {
            if (s.Log.Log.size() <= def->tag)
                s.Log.Log = s.Log.Log.leftJustified(def->tag + 1, QLatin1Char('1'));
            s.Log.Log[def->tag] = on ? QLatin1Char('1') : QLatin1Char('0');
        } else if (def->tag >= 0 && def->tag < 17) {
            s.LogTelnetFlags[size_t(def->tag)] = on;
        }
    }
    return true;
}

bool ChartPopupMenus::captureSwitch(const TSettings &s, int chart)
{
    const ChartDef *def = ChartTable::find(chart);
    if (!def)
        return false;
    switch (chart) {
    case 30: return s.Telnet.CaptureUserDown;
    case 31: return s.Telnet.CaptureUserUp;
    case 25: return s.Ping.Capture;
    default: break;
    }
    if (def->isHttpChart() || def->tag >= 17)
        return CaptureSchedule::captureSwitch(s, chart);
    return def->tag >= 0 && s.CaptureTelnetFlags[size_t(def->tag)];
}

void ChartPopupMenus::setFlag(QString &flags, int tag, bool on)
{
    if (tag < 0)
        return;
    if (flags.size() <= tag)
        flags = flags.leftJustified(tag + 1, QLatin1Char('0'));
    flags[tag] = on ? QLatin1Char('1') : QLatin1Char('0');
}

void ChartPopupMenus::replot(int chart)
{
    if (QCustomPlot *p = m_ctx.charts.chart(chart))
        chartrefresh::request(p);
}

void ChartPopupMenus::mnuSwapPlotsClick(bool on)
{
    const auto key = swapFlag(m_chart);
    if (!key)
        return;
    m_ctx.charts.swapFirstTwo(m_chart);
    m_ctx.settings.Graph.*key = on;
    replot(m_chart);
}

void ChartPopupMenus::mnuTelnetSwapPlotsClick(bool on)
{
    m_ctx.charts.swapFirstTwo(16);
    m_ctx.settings.Graph.TelnetSwapRxNoise = on;
    replot(16);
}

void ChartPopupMenus::mnuShowSyncClick(bool on)
{
    auto &g = m_ctx.settings.Graph;
    g.ShowSync = on;
    QCustomPlot *p = m_ctx.charts.chart(1);
    const QColor colour = toQColor(g.SyncColour);
    if (colour.isValid())
        p->yAxis2->setLabelColor(colour);
    p->yAxis2->setVisible(on);
    m_ctx.charts.rightAxis(1).setLimitsInSafeOrder(g.SyncMin, g.SyncMax);
    m_ctx.charts.series(QStringLiteral("Series9"))->setVisible(on);
    if (!on) {
        p->yAxis->grid()->setVisible(true);
        p->yAxis2->grid()->setVisible(false);
        m_ctx.settings.Telnet.LeftVisible1 = true;
    }
    replot(1);
}

void ChartPopupMenus::mnuTelnetShowSyncClick(bool on)
{
    auto &g = m_ctx.settings.Graph;
    g.TelnetShowSync = on;
    QCustomPlot *p = m_ctx.charts.chart(16);
    const QColor colour = toQColor(g.SyncColour);
    if (colour.isValid())
        p->yAxis2->setLabelColor(colour);
    p->yAxis2->setVisible(on);
    m_ctx.charts.series(QStringLiteral("Series12"))->setVisible(on);
    replot(16);
}

void ChartPopupMenus::mnuShowGapsClick(bool on)
{
    m_ctx.settings.Graph.ShowGaps = on;
    for (const char *name : kGapSeries) {
        ChartSeries *s = m_ctx.charts.series(QLatin1String(name));
        s->setVisible(on);
        replot(s->chartNumber());
    }
}

void ChartPopupMenus::mnuRawDiffClick()
{
    auto &g = m_ctx.settings.Graph;
    const bool diff = action(QStringLiteral("ChartPopup"), QStringLiteral("mnuDiff"))->isChecked();
    QString label;
    int scale = 1;
    if (m_chart == 3) {
        g.RawUserDef = !diff;
        g.DiffUserDef = diff;
        label = g.UserLabel;
        scale = g.ScaleUser1;
    } else if (m_chart == 19) {
        g.RawUserDef1 = !diff;
        g.DiffUserDef1 = diff;
        label = g.UserLabel2;
        scale = g.ScaleUser2;
    } else {
        return;
    }
    QString title = diff ? label + QStringLiteral(" (per sample)") : label;
    if (scale > 1)
        title = label + QStringLiteral(" x") + QString::number(scale);
    m_ctx.charts.chart(m_chart)->yAxis->setLabel(title);
    replot(m_chart);
}

void ChartPopupMenus::mnuHTTPAdjustAutoClick(bool on)
{
    if (const auto key = autoSwitch(m_chart))
        m_ctx.settings.Graph.*key = on;
}

void ChartPopupMenus::mnuShowIncrementalClick(bool on)
{
    if (m_chart != 23 && m_chart != 24)
        return;
    const bool rx = m_chart == 23;
    (rx ? m_ctx.settings.Telnet.RxShowIncremental : m_ctx.settings.Telnet.TxShowIncremental) = on;
    (rx ? m_ctx.settings.Telnet.LeftVisible23 : m_ctx.settings.Telnet.LeftVisible24) = !on;
    m_ctx.charts.series(rx ? QStringLiteral("Series17") : QStringLiteral("Series18"))->setVisible(on);
    QCustomPlot *p = m_ctx.charts.chart(m_chart);
    p->yAxis2->setVisible(on);
    p->yAxis2->grid()->setVisible(on);
    p->yAxis->grid()->setVisible(!on);
    replot(m_chart);
}
