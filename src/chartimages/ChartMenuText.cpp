#include "chartimages/ChartMenuText.h"

#include "common/NumberFormat.h"

#include <QRegularExpression>
#include "charts/ChartSeries.h"
#include "chartimages/GraphImages.h"

#include <cmath>
#include <limits>

namespace {

struct ProfileRow {
    int from;
    int to;
    const char *profile;
};

constexpr ProfileRow kProfiles[] = {
    {0, 256, "135 Kbps"},         {288, 384, "250 Kbps"},       {416, 544, "350 Kbps"},
    {576, 832, "500 Kbps"},       {864, 1120, "750 Kbps"},      {1152, 1408, "1,000 Kbps"},
    {1440, 1696, "1,250 Kbps"},   {1728, 1984, "1,500 Kbps"},   {2016, 2240, "1,750 Kbps"},
    {2272, 2816, "2,000 Kbps"},   {2848, 3392, "2,500 Kbps"},   {3424, 3968, "3,000 Kbps"},
    {4000, 4512, "3,500 Kbps"},   {4544, 5088, "4,000 Kbps"},   {5120, 5664, "4,500 Kbps"},
    {5696, 6208, "5,000 Kbps"},   {6240, 6784, "5,500 Kbps"},   {6816, 7360, "6,000 Kbps"},
    {7392, 7936, "6,500 Kbps"},   {7968, 8096, "7,000 Kbps"},   {8128, 9087, "7,150 Kbps"},
    {9088, 10207, "8,000 Kbps"},  {10208, 11359, "9,000 Kbps"}, {11360, 12479, "10,000 Kbps"},
    {12480, 13631, "11,000 Kbps"}, {13632, 14751, "12,000 Kbps"}, {14752, 15903, "13,000 Kbps"},
    {15904, 17023, "14,000 Kbps"}, {17024, 18175, "15,000 Kbps"}, {18176, 19295, "16,000 Kbps"},
    {19296, 20415, "17,000 Kbps"}, {20416, 21567, "18,000 Kbps"}, {21568, 22687, "19,000 Kbps"},
    {22688, 23839, "20,000 Kbps"}, {23840, 25000, "21,000 Kbps"},
};

} // namespace

QString ChartMenuText::figure(double value, int decimals)
{
    const QString text = numfmt::fixed(std::abs(value), decimals);
    const bool negative = value < 0 && text.contains(QRegularExpression(QStringLiteral("[1-9]")));
    return (negative ? QStringLiteral("-") : QString()) + numfmt::insertThousands(text);
}

ChartStatistics ChartMenuText::statistics(const ChartSeries *series, int decimals, const QString &unit, int samples,
                                          qint64 sampleCount)
{
    ChartStatistics out;
    if (!series)
        return out;
    const qint64 end = series->count();
    const qint64 first = series->firstIndex();

    // The running mean reads indices end-N .. end-2: all of them must be kept points.
    const qint64 n = samples;
    if (n < 2 || sampleCount <= n || end - n < first) {
        out.runningAvg = QStringLiteral("Last %1 samples Avg: [not available]").arg(samples);
    } else {
        double sum = 0;
        qint64 used = 0;
        for (qint64 i = end - n; i <= end - 2; ++i) {
            const double v = series->valueAt(i);
            if (std::isnan(v))
                continue;
            sum += v;
            ++used;
        }
        out.runningAvg = used == 0 ? QStringLiteral("Last %1 samples Avg: [not available]").arg(samples)
                                   : QStringLiteral("Last %1 samples Avg: ").arg(samples)
                                         + figure(sum / double(used), decimals) + unit;
    }

    double max = -std::numeric_limits<double>::infinity();
    double min = std::numeric_limits<double>::infinity();
    double sum = 0;
    qint64 count = 0;
    for (qint64 i = first; i < end; ++i) {
        const double v = series->valueAt(i);
        if (std::isnan(v))
            continue; // a text figure leaves a hole, not a zero
        max = std::max(max, v);
        min = std::min(min, v);
        sum += v;
        ++count;
    }
    if (count == 0)
        return out;
    out.max += figure(max, decimals) + unit;
    out.min += figure(min, decimals) + unit;
    out.avg += figure(sum / double(count), decimals) + unit;
    return out;
}

QString ChartMenuText::expectedIpProfile(qint64 kbps)
{
    for (const ProfileRow &row : kProfiles)
        if (kbps >= row.from && kbps <= row.to)
            return bareIpProfile() + QLatin1Char(' ') + QLatin1String(row.profile);
    return bareIpProfile();
}

QString ChartMenuText::restoreTimeline(int sampleSeconds, int points)
{
    const qint64 minutes = std::llround(double(sampleSeconds) / 60.0 * double(points));
    return QStringLiteral("Restore Timeline (%1 hr : %2 min per page)").arg(minutes / 60).arg(minutes % 60);
}

QString ChartMenuText::captureNow(const TSettings &s, bool twoBlanks)
{
    // The format named is the one the capture writes (the first of the flags set).
    QString format = GraphImages::captureFormat(s);
    if (format.isEmpty())
        format = QStringLiteral("jpg");
    return QStringLiteral("Capture Now") + (twoBlanks ? QStringLiteral("  [") : QStringLiteral(" [")) + format
           + QLatin1Char(']');
}

QString ChartMenuText::scheduledCapture(const TSettings &s, bool mainPopup)
{
    QString caption;
    if (s.Capture.BetweenHours)
        caption = QStringLiteral("Scheduled Capture [%1 - %2]")
                      .arg(s.Capture.FromHours * 100, 4, 10, QLatin1Char('0'))
                      .arg(s.Capture.ToHours * 100, 4, 10, QLatin1Char('0'));
    if (s.Capture.AllTheTime)
        caption = QStringLiteral("Scheduled Capture [Always]");
    if (s.Capture.Never)
        caption = mainPopup ? QStringLiteral("Capture [No schedule configured]")
                            : QStringLiteral("Capture (No schedule configured)");
    return caption;
}

QString ChartMenuText::swapPlots(int chart, const TSettings &s)
{
    switch (chart) {
    case 1: return QStringLiteral("Swap Plots (Noise Margin && Average)");
    case 2: return QStringLiteral("Swap Plots (Sync Speed && Average)");
    case 3: return QStringLiteral("Swap Plots (") + QString(s.Graph.UserLabel).left(12) + QStringLiteral(" && Average)");
    case 19: return QStringLiteral("Swap Plots (") + QString(s.Graph.UserLabel2).left(12) + QStringLiteral(" && Average)");
    default: return QStringLiteral("Swap Plots");
    }
}

QString ChartMenuText::lastReset(const QString &baseDate, double baseMiB)
{
    return QStringLiteral("Last Reset: ") + baseDate + QStringLiteral(" at ") + figure(baseMiB, 3)
           + QStringLiteral(" MiB");
}

QString ChartMenuText::resetDailyAt(const QString &time)
{
    return QStringLiteral("Reset To Current Value, Daily At ") + time;
}
