// Hidden charts are redrawn when they are shown, not at every poll.
#include "TestSupport.h"
#include "charts/ChartRefresh.h"

#include <QSignalSpy>
#include <QTabWidget>
#include <gtest/gtest.h>
#include <qcustomplot.h>

TEST(ChartRefresh, AHiddenChartWaitsForItsPage)
{
    QTabWidget tabs;
    auto *shown = new QCustomPlot;
    auto *hidden = new QCustomPlot;
    tabs.addTab(shown, QStringLiteral("first"));
    tabs.addTab(hidden, QStringLiteral("second"));
    chartrefresh::watch(shown);
    chartrefresh::watch(hidden);
    tabs.show();
    QCoreApplication::processEvents();

    QSignalSpy shownDrawn(shown, &QCustomPlot::afterReplot);
    QSignalSpy hiddenDrawn(hidden, &QCustomPlot::afterReplot);
    chartrefresh::request(shown);
    chartrefresh::request(hidden);
    ASSERT_TRUE(testsupport::waitFor([&] { return shownDrawn.count() > 0; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(hiddenDrawn.count(), 0);

    tabs.setCurrentIndex(1);
    EXPECT_TRUE(testsupport::waitFor([&] { return hiddenDrawn.count() > 0; }));
}
