// The chart table: every chart once, under its own name and Tag, with its
// series in drawing order, and the widgets built from it carry the same names.
#include "charts/ChartSet.h"
#include "charts/ChartTable.h"

#include <QSet>
#include <gtest/gtest.h>
#include <qcustomplot.h>

namespace {

struct TagCase {
    int chart;
    int tag;
    const char *popup;
    const char *box;
};

// Tags are the positions in the per-chart flag strings; a wrong one switches another chart's flags.
const TagCase kTags[] = {
    {1, 0, "ChartPopup", "cbHNoise"},          {18, 3, "ChartPopup", "cbUHNoise"},
    {2, 1, "ChartPopup", "cbHSync"},           {20, 4, "ChartPopup", "cbUHSync"},
    {3, 2, "ChartPopup", "cbHUser"},           {19, 5, "ChartPopup", "cbHUser2"},
    {16, 0, "TelnetPopup", "cbNoise"},         {17, 1, "TelnetPopup", "cbSync"},
    {5, 2, "TelnetPopup", "cbICRC"},           {6, 3, "TelnetPopup", "cbIFEC"},
    {7, 4, "TelnetPopup", "cbIHEC"},           {4, 5, "TelnetPopup", "cbFastCRC"},
    {8, 6, "TelnetPopup", "cbFastFEC"},        {9, 7, "TelnetPopup", "cbFastHEC"},
    {12, 8, "TelnetPopup", "cbUICRC"},         {11, 9, "TelnetPopup", "cbUIFEC"},
    {10, 10, "TelnetPopup", "cbUIHEC"},        {15, 11, "TelnetPopup", "cbUFastCRC"},
    {14, 12, "TelnetPopup", "cbUFastFEC"},     {13, 13, "TelnetPopup", "cbUFastHEC"},
    {23, 14, "TelnetPopup", "cbRxTotal"},      {24, 15, "TelnetPopup", "cbTxTotal"},
    {30, 16, "TelnetPopup", "cbTelnetUserDown"}, {31, 17, "TelnetPopup", "cbTelnetUserUp"},
    {21, 21, "popupBits", "cbBits"},           {29, 21, "PopupSepBitswap", "cbSepHistogram"},
    {22, 21, "PopupBitswap", "cbBitswap"},     {26, 21, "thomsonbitspopup", ""},
    {27, 21, "ThomsonBitSwap", ""},            {28, 21, "ThomsonBitSwap", ""},
    {25, 21, "PingPopup", "cbPing"},
};

struct SeriesCase {
    int chart;
    std::vector<std::tuple<const char *, SeriesKind, AxisSide>> series;
    const char *value;
};

using K = SeriesKind;
constexpr auto L = AxisSide::Left;
constexpr auto R = AxisSide::Right;

const SeriesCase kSeries[] = {
    {1, {{"Series5", K::FastLine, L}, {"Series1", K::Line, L}, {"Series9", K::Line, R}, {"Series21", K::Stairs, L}},
     "Series1"},
    {18, {{"LineSeries15", K::Line, L}, {"Series23", K::Stairs, L}}, "LineSeries15"},
    {2, {{"Series6", K::FastLine, L}, {"Series2", K::Stairs, L}, {"Series22", K::Stairs, L}}, "Series2"},
    {19, {{"Series8", K::FastLine, L}, {"LineSeries16", K::Line, L}, {"Series26", K::Line, L}}, "LineSeries16"},
    {16, {{"Series10", K::Line, L}, {"LineSeries13", K::Line, L}, {"Series12", K::Line, R}}, "LineSeries13"},
    {17, {{"LineSeries14", K::Line, L}, {"Series11", K::FastLine, L}}, "LineSeries14"},
    {23, {{"LineSeries20", K::Line, L}, {"Series17", K::Line, R}}, "LineSeries20"},
    {30, {{"FastLineSeries1", K::FastLine, L}}, "FastLineSeries1"},
    {21, {{"Series4", K::Points, R}, {"LineSeries18", K::Bars, L}, {"Series15", K::Line, L}}, "LineSeries18"},
    {22, {{"BarSeries4", K::Bars, L}, {"Series14", K::Bars, L}}, "BarSeries4"},
    {25, {{"Series20", K::Area, L}, {"Series19", K::Line, L}}, "Series20"},
};

} // namespace

TEST(ChartTable, EveryChartOnceWithItsTagPopupAndBox)
{
    const auto &charts = ChartTable::charts();
    ASSERT_EQ(charts.size(), 31u);
    QSet<int> numbers;
    for (const auto &c : charts)
        numbers.insert(c.number);
    for (int n = 1; n <= 31; ++n)
        EXPECT_TRUE(numbers.contains(n)) << "Chart" << n;

    for (const TagCase &t : kTags) {
        const ChartDef *def = ChartTable::find(t.chart);
        ASSERT_NE(def, nullptr) << t.chart;
        EXPECT_EQ(def->tag, t.tag) << def->objectName().toStdString();
        EXPECT_STREQ(def->popup, t.popup) << t.chart;
        EXPECT_STREQ(def->box, t.box) << t.chart;
        EXPECT_EQ(def->isHttpChart(), std::string(t.popup) == "ChartPopup") << t.chart;
    }
    EXPECT_EQ(ChartTable::find(32), nullptr);
}

TEST(ChartTable, SeriesInDrawingOrderWithKindAxisAndValueSeries)
{
    for (const SeriesCase &c : kSeries) {
        const ChartDef *def = ChartTable::find(c.chart);
        ASSERT_EQ(def->series.size(), c.series.size()) << c.chart;
        for (size_t i = 0; i < c.series.size(); ++i) {
            EXPECT_STREQ(def->series[i].name, std::get<0>(c.series[i])) << c.chart << " #" << i;
            EXPECT_EQ(def->series[i].kind, std::get<1>(c.series[i])) << def->series[i].name;
            EXPECT_EQ(def->series[i].axis, std::get<2>(c.series[i])) << def->series[i].name;
        }
        EXPECT_STREQ(def->series[size_t(def->valueSeries)].name, c.value) << c.chart;
    }
}

TEST(ChartTable, SeriesNamesAreUniqueSoLookupByNameIsUnambiguous)
{
    QSet<QString> names;
    int total = 0;
    for (const auto &c : ChartTable::charts())
        for (const auto &s : c.series) {
            names.insert(QString::fromLatin1(s.name));
            ++total;
            int index = -1;
            EXPECT_EQ(ChartTable::findSeries(QString::fromLatin1(s.name), &index), &c);
            EXPECT_STREQ(c.series[size_t(index)].name, s.name);
        }
    EXPECT_EQ(names.size(), total);
}

TEST(ChartTable, StoredLimitsInLoadOrder)
{
    const int expected[] = {18, 20, 16, 17, 5, 6, 7, 23, 4, 8, 9, 10, 11, 12, 24, 13, 14, 15, 30, 31};
    const auto &pairs = ChartTable::storedLimits();
    ASSERT_EQ(pairs.size(), std::size(expected));
    for (size_t i = 0; i < pairs.size(); ++i)
        EXPECT_EQ(pairs[i].chart, expected[i]) << i;
    TSettings s;
    s.Graph.Chart23Max = 77;
    s.Graph.Chart23Min = -7;
    EXPECT_EQ(s.Graph.*pairs[7].max, 77);
    EXPECT_EQ(s.Graph.*pairs[7].min, -7);
}

TEST(ChartTable, WidgetsCarryTheNamesOfTheTable)
{
    ChartSet set;
    for (const TagCase &t : kTags) {
        QCustomPlot *plot = set.chart(t.chart);
        ASSERT_NE(plot, nullptr);
        EXPECT_EQ(plot->objectName(), QStringLiteral("Chart%1").arg(t.chart));
        EXPECT_EQ(plot->property("Tag").toInt(), t.tag);
        EXPECT_EQ(set.numberOf(plot), t.chart);
    }
    for (const SeriesCase &c : kSeries) {
        QCustomPlot *plot = set.chart(c.chart);
        // The plot's own drawing order is the table's.
        QStringList drawn;
        for (QCPLayerable *l : plot->layer(QStringLiteral("main"))->children())
            if (auto *p = qobject_cast<QCPAbstractPlottable *>(l))
                drawn << p->name();
        QStringList expected;
        for (const auto &s : c.series)
            expected << QString::fromLatin1(std::get<0>(s));
        EXPECT_EQ(drawn, expected) << c.chart;
        for (const auto &s : c.series) {
            ChartSeries *series = set.series(QString::fromLatin1(std::get<0>(s)));
            ASSERT_NE(series, nullptr);
            EXPECT_EQ(series->chartNumber(), c.chart);
            EXPECT_EQ(series->plottable()->valueAxis(),
                      std::get<2>(s) == AxisSide::Right ? plot->yAxis2 : plot->yAxis);
        }
    }
    EXPECT_EQ(set.series(QStringLiteral("Series99")), nullptr);
    EXPECT_EQ(set.chart(0), nullptr);
}
