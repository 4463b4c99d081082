#include "charts/ChartPlacement.h"

#include "charts/ChartCornerSigns.h"
#include "charts/ChartPageControls.h"
#include "charts/ChartSet.h"
#include "charts/ChartTable.h"

#include <QTabWidget>
#include <QVBoxLayout>
#include <qcustomplot.h>

PlacedCornerSigns placeCharts(QTabWidget *pages, ChartSet &charts, ChartPageControls &controls)
{
    auto pageIn = [](QTabWidget *tabs, const QString &caption) -> QWidget * {
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->widget(i)->objectName() == caption)
                return tabs->widget(i);
        auto *page = new QWidget(tabs);
        page->setObjectName(caption);
        new QVBoxLayout(page);
        tabs->addTab(page, caption);
        return page;
    };
    auto subTabsOf = [](QWidget *page) -> QTabWidget * {
        if (auto *existing = page->findChild<QTabWidget *>(QString(), Qt::FindDirectChildrenOnly))
            return existing;
        auto *tabs = new QTabWidget(page);
        page->layout()->addWidget(tabs);
        return tabs;
    };

    PlacedCornerSigns placed;
    for (const ChartDef &def : ChartTable::charts()) {
        QWidget *page = pageIn(pages, QString::fromLatin1(def.tab));
        const QString sub = QString::fromLatin1(def.subTab);
        if (!sub.isEmpty())
            for (const QString &part : sub.split(QStringLiteral(" > ")))
                page = pageIn(subTabsOf(page), part);
        QCustomPlot *plot = charts.chart(def.number);
        plot->setParent(page);
        plot->setMinimumHeight(120);
        page->layout()->addWidget(plot);
        controls.addControls(def.number, page);
        // The over-range signs and capture cameras sit in the chart's corner.
        auto *signs = new ChartCornerSigns(plot, QString::fromLatin1(def.leftIndicator ? def.leftIndicator : ""),
                                           QString::fromLatin1(def.rightIndicator ? def.rightIndicator : ""));
        placed.byChart[def.number] = signs;
        for (const char *name : {def.leftIndicator, def.rightIndicator})
            if (name && *name)
                placed.byName[QLatin1String(name)] = signs;
    }
    return placed;
}
