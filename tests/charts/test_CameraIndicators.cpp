// The capture pictures on the charts and the daily camera's time.
#include "ChartTestSupport.h"
#include "charts/CameraIndicators.h"
#include "charts/ChartSet.h"

#include <QLabel>
#include <qcustomplot.h>

#include <gtest/gtest.h>

TEST(CameraIndicatorsTest, PicturesFollowTheDecidedStates)
{
    ChartSet charts;
    CameraIndicators cameras(charts);
    cameras.attach();
    using P = CameraIndicators::Picture;
    for (int chart : {1, 16, 21, 25, 28})
        for (P p : {P::Active, P::Inactive, P::Daily})
            ASSERT_TRUE(cameras.picture(chart, p)) << chart;
    EXPECT_FALSE(cameras.picture(99, P::Active));

    cameras.show({{1, true, false, true}, {21, false, true, false}});
    const auto shown = [&](int chart, P p) { return !cameras.picture(chart, p)->isHidden(); };
    EXPECT_TRUE(shown(1, P::Active));
    EXPECT_FALSE(shown(1, P::Inactive));
    EXPECT_TRUE(shown(1, P::Daily));
    EXPECT_FALSE(shown(21, P::Active));
    EXPECT_TRUE(shown(21, P::Inactive));
    EXPECT_FALSE(shown(25, P::Active)) << "charts not named stay as they were";

    cameras.UpdateCameraIcon(QStringLiteral("23:45"));
    EXPECT_EQ(cameras.picture(28, P::Daily)->accessibleName(), QStringLiteral("Daily capture at 23:45"));
    EXPECT_NE(CameraIndicators::oneShotPicture(QStringLiteral("23:45")).toImage(),
              CameraIndicators::oneShotPicture(QStringLiteral("01:00")).toImage());

    // The pictures stay in the chart's top right corner.
    charts.chart(1)->resize(600, 300);
    charts.chart(1)->show(); // a hidden widget gets its resize when shown
    QLabel *active = cameras.picture(1, P::Active);
    EXPECT_EQ(active->geometry().right(), 600 - 4 - 1);
    EXPECT_LT(cameras.picture(1, P::Daily)->geometry().right(), active->geometry().left());
}
