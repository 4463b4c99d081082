#include "acquisition/TerminalCommands.h"

#include "acquisition/RouterNumbers.h"

#include <cmath>

namespace terminalcommands {

QString typedCommand(const QString &lastLine, const QString &prompt)
{
    QString text = lastLine;
    const QString p = prompt.trimmed();
    // The prompt the router printed may carry blanks before it ("  # ").
    int at = 0;
    while (at < text.size() && text.at(at) == QLatin1Char(' '))
        ++at;
    if (!p.isEmpty() && text.mid(at).startsWith(p))
        text = text.mid(at + p.size());
    text = text.trimmed();
    if (text.isEmpty())
        return {};
    return QLatin1Char(' ') + text;
}

QStringList scriptCommands(const QString &text)
{
    QStringList commands;
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        commands << line;
    }
    return commands;
}

std::optional<QString> markedLabel(const QString &selection)
{
    QString text = selection.trimmed();
    if (text.isEmpty() || text.at(0).isDigit())
        return std::nullopt;
    const int colon = text.indexOf(QLatin1Char(':'));
    if (colon > 0)
        text = text.left(colon).trimmed();
    if (text.isEmpty())
        return std::nullopt;
    return text;
}

QString userCommandDefault(int which) { return QStringLiteral("User defined %1").arg(which); }

TargetMargin targetMargin(const QString &unadjustedText, const QString &desiredText, bool adslctl)
{
    TargetMargin m;
    m.percent = adslctl;
    const double unadjusted = RouterNumbers::StrToFloatDef(unadjustedText, -10);
    const double unadjustedHigh = RouterNumbers::StrToFloatDef(unadjustedText, 0);
    const double desired = RouterNumbers::StrToFloatDef(desiredText, -10);
    const double desiredHigh = RouterNumbers::StrToFloatDef(desiredText, 0);
    // A percentage of a margin of 0 or below means nothing (and 0 would divide by zero).
    if (unadjusted < -5 || (adslctl && unadjusted <= 0))
        m.error = QStringLiteral("Un-adjusted Noise Margin value is too low");
    else if (unadjustedHigh > 35)
        m.error = QStringLiteral("Un-adjusted Noise Margin value is too high");
    else if (desired < -5)
        m.error = QStringLiteral("Desired Noise Margin value is too low");
    else if (desiredHigh > 35)
        m.error = QStringLiteral("Desired Noise Margin value is too high");
    if (!m.error.isEmpty())
        return m;
    if (adslctl) {
        m.value = int(std::trunc(desired * 100 / unadjusted));
        m.confirmation = QStringLiteral("Change the Target Noise Margin to %1% of the default Noise Margin?  Please confirm.")
                             .arg(m.value);
    } else {
        m.value = int(std::trunc(desired));
        m.confirmation = QStringLiteral("Change the Target Noise Margin to %1?  Please confirm.").arg(m.value);
    }
    return m;
}

QString lastAdjustedText(const QString &stamp, bool utc, const QString &desiredText, const TargetMargin &m)
{
    QString text = QStringLiteral("Last Adjusted:  ") + stamp + (utc ? QStringLiteral(" UTC to ") : QStringLiteral(" to ")) +
                   desiredText;
    if (m.percent)
        text += QStringLiteral("dB (%1%)").arg(m.value);
    else
        text += QStringLiteral("dB");
    return text;
}

} // namespace terminalcommands
