// "Copy to log": how many points are written and the columns each line carries.
#include "charts/ChartLogText.h"
#include "charts/ChartSeries.h"
#include "charts/ChartSet.h"
#include "settings/TSettings.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

void fill(ChartSet &set, const char *series, int n, double value)
{
    for (int i = 0; i < n; ++i)
        set.series(QLatin1String(series))->add(value, QStringLiteral(" t%1 ").arg(i), QColor());
}

} // namespace

TEST(ChartLogText, PointsFollowTheFigureSeries)
{
    ChartSet set;
    EXPECT_EQ(chartLogPoints(set), -1);
    fill(set, "Series1", 3, 1);
    EXPECT_EQ(chartLogPoints(set), 2);
    fill(set, "Series2", 5, 1);
    EXPECT_EQ(chartLogPoints(set), 4);
}

TEST(ChartLogText, ColumnsFollowTheGraphSettingsAndTheSeparator)
{
    struct Case {
        const char *name;
        bool csv;
        bool txNoise;
        const char *expect;
    };
    const Case cases[] = {
        {"tab, rx only", false, false, "Heading\r\nt1\tRx-Noise= 2\r\nt2\tRx-Noise= 2\r\n"},
        {"csv, tx noise shorter", true, true, "Heading\r\nt1, Rx-Noise= 2, Tx-Noise= 3\r\nt2, Rx-Noise= 2\r\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ChartSet set;
        fill(set, "Series1", 3, 2);
        fill(set, "LineSeries15", 2, 3);
        TSettings s;
        s.System.CSV = c.csv;
        s.Graph.cbHNoise = true;
        s.Graph.cbUHNoise = c.txNoise;
        s.Graph.cbHSync = s.Graph.cbUHSync = s.Graph.cbHUser = s.Graph.cbHUser2 = false;
        EXPECT_EQ(chartLogText(set, s, QStringLiteral("  Heading "), 2), QByteArray(c.expect));
    }
}

TEST(ChartLogText, UserLabelsHaveTheirSpacesDashed)
{
    ChartSet set;
    fill(set, "Series1", 2, 1);
    fill(set, "Series3", 2, 7);
    TSettings s;
    s.Graph.cbHNoise = s.Graph.cbUHNoise = s.Graph.cbHSync = s.Graph.cbUHSync = s.Graph.cbHUser2 = false;
    s.Graph.cbHUser = true;
    s.Graph.UserLabel = QStringLiteral("Line attn");
    s.System.CSV = false;
    EXPECT_EQ(chartLogText(set, s, QString(), 1), QByteArray("\r\nt1\tLine-attn= 7\r\n"));
    // A gap (a poll without the figure) is written without a value, never "NAN".
    set.series(QStringLiteral("Series1"))->add(1, QStringLiteral(" t2 "), QColor());
    set.series(QStringLiteral("Series3"))->add(std::nan(""), QStringLiteral(" t2 "), QColor());
    EXPECT_EQ(chartLogText(set, s, QString(), 2), QByteArray("\r\nt1\tLine-attn= 7\r\nt2\tLine-attn= \r\n"));
}
