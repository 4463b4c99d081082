#include "charts/ChartLogText.h"

#include "charts/ChartSeries.h"
#include "charts/ChartSet.h"
#include "common/NumberFormat.h"
#include "settings/TSettings.h"

#include <cmath>

qint64 chartLogPoints(ChartSet &charts)
{
    qint64 n = charts.series(QStringLiteral("Series1"))->keptCount() - 1;
    // The longest of the figure series decides how many points there are.
    for (const char *name : {"LineSeries15", "Series2", "LineSeries17", "Series3", "LineSeries16"}) {
        const qint64 count = charts.series(QLatin1String(name))->keptCount();
        if (n < count - 1) {
            n = count - 1;
            break;
        }
    }
    return n;
}

QByteArray chartLogText(ChartSet &charts, const TSettings &s, const QString &heading, qint64 n)
{
    const QString sep = s.System.CSV ? QStringLiteral(", ") : QStringLiteral("\t");
    struct Column {
        bool on;
        const char *series;
        QString name;
    };
    QString user1 = s.Graph.UserLabel, user2 = s.Graph.UserLabel2;
    user1.replace(QLatin1Char(' '), QLatin1Char('-'));
    user2.replace(QLatin1Char(' '), QLatin1Char('-'));
    const Column columns[] = {{s.Graph.cbHNoise, "Series1", QStringLiteral("Rx-Noise= ")},
                              {s.Graph.cbUHNoise, "LineSeries15", QStringLiteral("Tx-Noise= ")},
                              {s.Graph.cbHSync, "Series2", QStringLiteral("Rx-Sync= ")},
                              {s.Graph.cbUHSync, "LineSeries17", QStringLiteral("Tx-Sync= ")},
                              {s.Graph.cbHUser, "Series3", user1 + QStringLiteral("= ")},
                              {s.Graph.cbHUser2, "LineSeries16", user2 + QStringLiteral("= ")}};
    QByteArray text = heading.trimmed().toLocal8Bit() + "\r\n";
    ChartSeries *rx = charts.series(QStringLiteral("Series1"));
    for (qint64 i = 1; i <= n; ++i) {
        QString line = rx->labelAt(rx->firstIndex() + i).value_or(QString()).trimmed();
        for (const Column &c : columns) {
            ChartSeries *series = charts.series(QLatin1String(c.series));
            if (c.on && series->keptCount() > i) {
                // A gap is a poll without this figure: no value, as its log line has.
                const double v = series->valueAt(series->firstIndex() + i);
                line += sep + c.name + (std::isnan(v) ? QString() : numfmt::general(v));
            }
        }
        text += line.toLocal8Bit() + "\r\n";
    }
    return text;
}
