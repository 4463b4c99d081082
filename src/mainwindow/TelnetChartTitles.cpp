#include "mainwindow/TelnetChartTitles.h"

QMap<int, QString> telnetChartTitles(const TSettings &s)
{
    QMap<int, QString> titles;
    const bool quarter = s.Graph.Latest15;
    const bool day = !quarter && s.Graph.Latest1day;
    // The families are applied in turn; a later one overwrites an earlier one.
    if (s.Telnet.V123) {
        const QString w = quarter ? QStringLiteral(" - 15 min") : day ? QStringLiteral(" - 24hr") : QString();
        const std::pair<int, const char *> rx[] = {{5, "Rx Interleaved CRC"}, {6, "Rx Interleaved FEC"},
                                                   {7, "Rx Interleaved HEC"}, {4, "Rx Fast Path CRC"},
                                                   {8, "Rx Fast Path FEC"},   {9, "Rx Fast Path HEC"}};
        for (const auto &[chart, title] : rx)
            titles[chart] = QLatin1String(title) + w;
        titles[12] = QStringLiteral("Tx Interleaved CRC");
        titles[11] = QStringLiteral("Tx Interleaved FEC");
        titles[10] = QStringLiteral("Tx Interleaved HEC");
    }
    if (s.Telnet.V4) {
        const QString period = quarter ? QStringLiteral("Latest 15 min") : day ? QStringLiteral("Latest 24hr")
                                                                               : QStringLiteral("Total");
        titles[5] = QStringLiteral("Rx SF Error");
        titles[6] = QStringLiteral("Rx RS Corrected");
        titles[7] = QStringLiteral("Rx RS Uncorrected");
        titles[4] = QStringLiteral("Rx CRC ") + period;
        titles[8] = QStringLiteral("Rx ES ") + period;
        titles[9] = QStringLiteral("Rx LOF ") + period;
        titles[12] = QStringLiteral("Tx SF Error");
        titles[11] = QStringLiteral("Tx RS Corrected");
        titles[10] = QStringLiteral("Tx RS Uncorrected");
    }
    if (s.Router.V5Telnet) {
        const QString w = quarter ? QStringLiteral(" - 15 min") : day ? QStringLiteral(" - 24 hr") : QString();
        const std::pair<int, const char *> down[] = {{5, "Downstream CRC"}, {6, "Downstream FEC"},
                                                     {7, "Downstream HEC"}, {4, "Downstream ES"},
                                                     {8, "Downstream SES"}, {9, "Downstream LOS"}};
        for (const auto &[chart, title] : down)
            titles[chart] = QLatin1String(title) + w;
        const std::pair<int, const char *> up[] = {{12, "Upstream CRC"}, {11, "Upstream FEC"}, {10, "Upstream HEC"},
                                                   {15, "Upstream ES"},  {14, "Upstream SES"}, {13, "Upstream LOS"}};
        for (const auto &[chart, title] : up)
            titles[chart] = QLatin1String(title);
    }
    return titles;
}

QString bitLoadingTitle(const TSettings &s)
{
    return s.Telnet.V123 || s.Router.V5 ? QStringLiteral("Bits") : QStringLiteral("Bits & Attenuation (dBx10)");
}
