#include "pages/FamilyViews.h"

#include "charts/ChartSet.h"
#include "charts/TelnetChartTitles.h"
#include "pages/BitsTonePage.h"
#include "pages/TelnetPage.h"
#include "pages/WindowPages.h"
#include "settings/TSettings.h"

#include <QTabWidget>
#include <qcustomplot.h>

namespace {

QTabWidget *tabsOf(QWidget *page)
{
    return page ? page->findChild<QTabWidget *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

int indexOfPage(const QTabWidget *tabs, const QString &name)
{
    for (int i = 0; tabs && i < tabs->count(); ++i)
        if (tabs->widget(i)->objectName() == name)
            return i;
    return -1;
}

QTabWidget *telnetTabs(QTabWidget *pages)
{
    const int i = indexOfPage(pages, QStringLiteral("Telnet Router"));
    return i < 0 ? nullptr : tabsOf(pages->widget(i));
}

void showMainTabs(const FamilyViewParts &parts, const TSettings &s)
{
    QTabWidget *pages = parts.pages;
    for (int i = 0; i < pages->count(); ++i) {
        const QString tab = pages->widget(i)->objectName();
        if (tab == QLatin1String("Telnet Router"))
            pages->setTabVisible(i, s.Router.Telnet && !s.Router.ST585);
        else if (tab == QLatin1String("Bitloading") || tab == QLatin1String("TabSheet36"))
            pages->setTabVisible(i, s.Router.ST585);
    }
    windowpages::placeBitsOptions(pages, parts.bitsOptions, s.Router.ST585);
}

void captionTelnetPanes(QTabWidget *pages, const TSettings &s)
{
    QTabWidget *tabs = telnetTabs(pages);
    if (!tabs)
        return;
    if (const int bits = indexOfPage(tabs, QStringLiteral("Bits / Tone")); bits >= 0)
        tabs->setTabText(bits, QStringLiteral("Bits/Tone"));
    const QMap<QString, TelnetPaneCaption> panes = telnetPaneCaptions(s);
    const QStringList subNames{QStringLiteral("CRC"), QStringLiteral("FEC"), QStringLiteral("HEC")};
    for (auto it = panes.cbegin(); it != panes.cend(); ++it) {
        const int index = indexOfPage(tabs, it.key());
        if (index < 0)
            continue;
        tabs->setTabText(index, it->caption);
        QTabWidget *sub = tabsOf(tabs->widget(index));
        for (int k = 0; k < subNames.size() && k < it->subPages.size(); ++k)
            if (const int at = indexOfPage(sub, subNames.at(k)); at >= 0)
                sub->setTabText(at, it->subPages.at(k));
    }
}

} // namespace

std::pair<QTabWidget *, int> telnetPane(QTabWidget *pages, const QString &path)
{
    QTabWidget *tabs = telnetTabs(pages);
    int index = -1;
    for (const QString &part : path.split(QStringLiteral(" > "))) {
        if (index >= 0)
            tabs = tabsOf(tabs->widget(index));
        index = indexOfPage(tabs, part);
        if (index < 0)
            return {nullptr, -1};
    }
    return {tabs, index};
}

QMap<QString, bool> telnetPaneVisibility(const TSettings &s)
{
    const QString rxFast = QStringLiteral("Rx Fast Path"), txFast = QStringLiteral("Tx Fast Path");
    const QString bits = QStringLiteral("Bits / Tone");
    // "Set Target SNR" (TabSheet41) needs the adslctl family's commands.
    const QString targetSnr = QStringLiteral("TabSheet41");
    // What no family withdraws stays offered; the families are applied in turn, a later one
    // overwriting an earlier one.
    QMap<QString, bool> v{{rxFast, true}, {txFast, true}, {bits, true}, {targetSnr, true}};
    if (s.Telnet.V123)
        v[targetSnr] = false;
    if (s.Telnet.V4) {
        v[txFast] = false;
        v[targetSnr] = true;
    }
    if (s.Router.V5Telnet) {
        v[txFast] = true;
        v[bits] = false;
        v[targetSnr] = false;
    }
    return v;
}

QMap<QString, bool> extendedPaneVisibility(const TSettings &s)
{
    return {{QStringLiteral("Rx Interleaved > MiBytes (ppp0)"), s.Telnet.Extended},
            {QStringLiteral("Tx Interleaved > MiBytes (ppp0)"), s.Telnet.Extended}};
}

void showTelnetPanes(QTabWidget *pages, const QMap<QString, bool> &shown)
{
    for (auto it = shown.cbegin(); it != shown.cend(); ++it)
        if (const auto [tabs, index] = telnetPane(pages, it.key()); tabs)
            tabs->setTabVisible(index, it.value());
}

void applyFamilyViews(const FamilyViewParts &parts, const TSettings &s)
{
    showMainTabs(parts, s);
    const QMap<int, QString> titles = telnetChartTitles(s);
    for (auto it = titles.cbegin(); it != titles.cend(); ++it)
        parts.charts->chart(it.key())->yAxis->setLabel(it.value());
    parts.charts->chart(21)->yAxis->setLabel(bitLoadingTitle(s));
    captionTelnetPanes(parts.pages, s);
    showTelnetPanes(parts.pages, telnetPaneVisibility(s));
    showTelnetPanes(parts.pages, extendedPaneVisibility(s));
    if (parts.telnetPage)
        parts.telnetPage->applyFamily();
    if (parts.bitsPage)
        parts.bitsPage->applyFamily();
}
