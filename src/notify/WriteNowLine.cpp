#include "notify/WriteNowLine.h"

#include "common/NumberFormat.h"
#include "common/RouterAddress.h"

QString writeNowLine(const TSettings &s, const RunState &run, const TelnetFigures &telnet, const QString &wanAddress)
{
    const QString sep = s.System.CSV ? QStringLiteral(", ") : QStringLiteral("\t");
    QString line = sep + (isDottedIPv4(wanAddress) ? wanAddress : QStringLiteral("         "));
    auto flag = [&s](int position) { return s.Log.Log.mid(position, 1) == QLatin1String("1"); };
    auto add = [&](const QString &name, double value) { line += sep + name + numfmt::general(value); };
    if (flag(0))
        add(QStringLiteral("Rx-Noise= "), run.Figures.RxNoise);
    if (flag(3))
        add(QStringLiteral("Tx-Noise= "), run.Figures.TxNoise);
    if (flag(1))
        add(QStringLiteral("Rx-Sync= "), run.Figures.RxSync);
    if (flag(4))
        add(QStringLiteral("Tx-Sync= "), run.Figures.TxSync);
    if (flag(2))
        add(s.Graph.UserLabel + QStringLiteral("= "), run.Figures.UserValue1);
    if (flag(5))
        add(s.Graph.UserLabel2 + QStringLiteral("= "), run.Figures.UserValue2);
    // The first two telnet charts' logging switches: downstream noise margin and sync.
    if (s.LogTelnetFlags[0])
        add(QStringLiteral("TelTxNoise= "), telnet.TelnetNoiseNow);
    if (s.LogTelnetFlags[1])
        add(QStringLiteral("TelTxSync= "), telnet.TelnetRxSync);
    return line;
}
