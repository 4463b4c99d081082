// The axis refuses a maximum below its minimum (and a minimum above its
// maximum), so the "minimum -9999 first" orders of start-up and the refusal
// paths behave alike.
#include "charts/ChartAxis.h"

#include <gtest/gtest.h>
#include <qcustomplot.h>

namespace {

enum class Op { Min, Max };

struct LimitCase {
    const char *name;
    std::vector<std::pair<Op, double>> steps; // applied in order from 0..10, stopping at a refusal
    bool refused;
    double min;
    double max;
};

const LimitCase kCases[] = {
    {"maximum below the minimum", {{Op::Max, -1}}, true, 0, 10},
    {"minimum above the maximum", {{Op::Min, 11}}, true, 0, 10},
    {"maximum equal to the minimum", {{Op::Max, 0}}, false, 0, 0},
    {"minimum equal to the maximum", {{Op::Min, 10}}, false, 10, 10},
    {"upward range, maximum first", {{Op::Max, 30}, {Op::Min, 20}}, false, 20, 30},
    {"upward range, minimum first", {{Op::Min, 20}, {Op::Max, 30}}, true, 0, 10},
    {"downward range, maximum first", {{Op::Max, -20}, {Op::Min, -30}}, true, 0, 10},
    {"downward range after -9999", {{Op::Min, -9999}, {Op::Max, -20}, {Op::Min, -30}}, false, -30, -20},
    {"upward range after -9999", {{Op::Min, -9999}, {Op::Max, 60}, {Op::Min, 50}}, false, 50, 60},
    {"second step refused keeps the first", {{Op::Max, 5}, {Op::Min, 6}}, true, 0, 5},
};

} // namespace

TEST(ChartAxis, RefusesCrossedLimitsAndLeavesTheAxisAsItWas)
{
    for (const LimitCase &c : kCases) {
        QCustomPlot plot;
        plot.yAxis->setRange(0, 10);
        ChartAxis axis(plot.yAxis);
        bool refused = false;
        try {
            for (const auto &[op, v] : c.steps)
                op == Op::Min ? axis.setMinimum(v) : axis.setMaximum(v);
        } catch (const ChartAxis::LimitError &) {
            refused = true;
        }
        EXPECT_EQ(refused, c.refused) << c.name;
        EXPECT_DOUBLE_EQ(axis.minimum(), c.min) << c.name;
        EXPECT_NEAR(axis.maximum(), c.max, 1e-6) << c.name;
    }
}

TEST(ChartAxis, ReportsRefusalsWithTheComponentsWording)
{
    QCustomPlot plot;
    plot.yAxis->setRange(0, 10);
    ChartAxis axis(plot.yAxis);
    try {
        axis.setMaximum(-5);
        FAIL() << "not refused";
    } catch (const ChartAxis::LimitError &e) {
        EXPECT_STREQ(e.what(), "Axis Maximum Value must be >= Minimum");
    }
    try {
        axis.setMinimum(50);
        FAIL() << "not refused";
    } catch (const ChartAxis::LimitError &e) {
        EXPECT_STREQ(e.what(), "Axis Minimum Value must be <= Maximum");
    }
    EXPECT_FALSE(axis.trySetMaximum(-5));
    EXPECT_FALSE(axis.trySetMinimum(std::nan("")));
    EXPECT_TRUE(axis.trySetMaximum(12));
    EXPECT_DOUBLE_EQ(axis.maximum(), 12);
}

TEST(ChartAxis, SafeOrderReachesAnyValidRange)
{
    const std::pair<double, double> targets[] = {{50, 60}, {-30, -20}, {2, 8}, {-1, 100}};
    for (const auto &[min, max] : targets) {
        QCustomPlot plot;
        plot.yAxis->setRange(0, 10);
        ChartAxis axis(plot.yAxis);
        EXPECT_TRUE(axis.setLimitsInSafeOrder(min, max));
        EXPECT_DOUBLE_EQ(axis.minimum(), min);
        EXPECT_DOUBLE_EQ(axis.maximum(), max);
    }
    QCustomPlot plot;
    plot.yAxis->setRange(0, 10);
    ChartAxis axis(plot.yAxis);
    EXPECT_FALSE(axis.setLimitsInSafeOrder(5, 4));
    EXPECT_THROW(axis.setMinMax(5, 4), ChartAxis::LimitError);
}
