#include "charts/TelnetChartTitles.h"

#include "charts/ChartTable.h"

QMap<int, QString> telnetChartTitles(const TSettings &s)
{
    QMap<int, QString> titles;
    for (int chart = 4; chart <= 15; ++chart)
        titles[chart] = QLatin1String(ChartTable::find(chart)->leftTitle);
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

QMap<QString, TelnetPaneCaption> telnetPaneCaptions(const TSettings &s)
{
    QMap<QString, TelnetPaneCaption> panes;
    const QString rxI = QStringLiteral("Rx Interleaved"), txI = QStringLiteral("Tx Interleaved");
    const QString rxF = QStringLiteral("Rx Fast Path"), txF = QStringLiteral("Tx Fast Path");
    const QStringList crc{QStringLiteral("CRC"), QStringLiteral("FEC"), QStringLiteral("HEC")};
    // The AR7 family keeps the built-in captions; the others are applied in turn, a later one
    // overwriting an earlier one.
    for (const QString &page : {rxI, txI, rxF, txF})
        panes[page] = {page, crc};
    if (s.Telnet.V4) {
        const QStringList rs{QStringLiteral("SF Error"), QStringLiteral("RS Corrected"), QStringLiteral("RS Uncorrected")};
        const QStringList totals{QStringLiteral("CRC"), QStringLiteral("ES"), QStringLiteral("LOF")};
        const QString period = s.Graph.Latest15 ? QStringLiteral("15 min")
                               : s.Graph.Latest1day ? QStringLiteral("1 day")
                                                    : QStringLiteral("Total");
        panes[rxI] = {QStringLiteral("Rx  Totals"), rs};
        panes[txI] = {QStringLiteral("Tx  Totals"), rs};
        panes[rxF] = {QStringLiteral("Rx CRC/ES/LOF ~ ") + period, totals};
    }
    if (s.Router.V5Telnet) {
        const QStringList defects{QStringLiteral("ES"), QStringLiteral("SES"), QStringLiteral("LOS")};
        panes[rxI] = {QStringLiteral("Rx Corrected"), crc};
        panes[txI] = {QStringLiteral("Tx Corrected"), crc};
        panes[rxF] = {QStringLiteral("Rx Uncorrected"), defects};
        panes[txF] = {QStringLiteral("Tx Uncorrected"), defects};
    }
    return panes;
}

QString totalsPaneTitle(const TSettings &s)
{
    // The "adsl info" family's block comes after the adslctl one's and overwrites it.
    return s.Telnet.V4 && !s.Router.V5Telnet ? QStringLiteral("Totals") : QStringLiteral("ATM Totals");
}

QString bitLoadingTitle(const TSettings &s)
{
    return s.Telnet.V4 ? QStringLiteral("Bits & Attenuation (dBx10)") : QStringLiteral("Bits");
}
