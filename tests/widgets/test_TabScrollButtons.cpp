// A tab bar narrower than its tabs: whichever tab is hidden, its arrows reach
// the first and the last visible tab and go off only when nothing lies beyond.
#include "widgets/TabScrollButtons.h"

#include <QApplication>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

TEST(TabScrollButtons, TheArrowsReachTheFirstAndTheLastVisibleTab)
{
    // The hidden tab (none: -1), the first and the last visible one.
    const int cases[][3] = {{9, 0, 8}, {0, 1, 9}, {-1, 0, 9}};
    for (const auto &[hidden, first, last] : cases) {
        SCOPED_TRACE(hidden);
        QTabBar bar;
        for (int i = 0; i < 10; ++i)
            bar.addTab(QStringLiteral("Tab number %1").arg(i));
        bar.setTabVisible(hidden, false);
        bar.resize(300, 30);
        TabScrollButtons::installOn(&bar);
        bar.show();
        QApplication::processEvents();
        auto *left = bar.findChild<QToolButton *>(QStringLiteral("ScrollLeftButton"));
        auto *right = bar.findChild<QToolButton *>(QStringLiteral("ScrollRightButton"));
        ASSERT_TRUE(left && right);
        auto clickUntilOff = [](QToolButton *arrow) {
            for (int clicks = 0; arrow->isEnabled() && clicks < 30; ++clicks) {
                QTest::mouseClick(arrow, Qt::LeftButton);
                QApplication::processEvents();
            }
        };
        EXPECT_FALSE(left->isEnabled());
        EXPECT_TRUE(right->isEnabled());
        clickUntilOff(right);
        EXPECT_LT(bar.tabRect(last).right(), left->x()) << "the last visible tab in view";
        EXPECT_TRUE(left->isEnabled());
        clickUntilOff(left);
        EXPECT_GE(bar.tabRect(first).left(), 0) << "the first visible tab in view";
        EXPECT_TRUE(right->isEnabled());
    }
}
