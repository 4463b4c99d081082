#include "acquisition/LogLineBuilder.h"

#include "common/RouterAddress.h"
#include "common/NumberFormat.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

LogLineBuilder::LogLineBuilder(TSettings &settings, const QLocale &locale) : m_settings(settings), m_locale(locale)
{
}

void LogLineBuilder::begin()
{
    m_sep = m_settings.System.CSV ? QStringLiteral(", ") : QStringLiteral("\t");
    m_headerSep = m_sep + QStringLiteral("  ");
    m_header.clear();
    m_values.clear();
    m_leadingDone = false;
}

bool LogLineBuilder::headerRequired(bool addHeader, qint64 logFileSize, bool logHeaderPending)
{
    return addHeader && (logFileSize < 10 || logHeaderPending);
}

bool LogLineBuilder::decideHeader(qint64 logFileSize, bool logHeaderPending)
{
    m_settings.Log.HeaderRequired = headerRequired(m_settings.Log.AddHeader, logFileSize, logHeaderPending);
    return m_settings.Log.HeaderRequired;
}

QString LogLineBuilder::itemText(ItemForm form, const QString &name, const QString &value, const QString &sep,
                                 const QString &headerSep)
{
    switch (form) {
    case ItemForm::Header:
        return name + headerSep;
    case ItemForm::ValuesOnly:
        return value + sep;
    case ItemForm::Named:
        break;
    }
    return name + QLatin1Char('=') + value + sep;
}

void LogLineBuilder::addItem(const LogItem &item)
{
    if (m_settings.Log.AddHeader) {
        m_header += itemText(ItemForm::Header, item.name, item.value, m_sep, m_headerSep);
        m_values += itemText(ItemForm::ValuesOnly, item.name, item.value, m_sep, m_headerSep);
    } else {
        m_values += itemText(ItemForm::Named, item.name, item.value, m_sep, m_headerSep);
    }
}

void LogLineBuilder::addItems(const QList<LogItem> &items)
{
    for (const LogItem &item : items)
        addItem(item);
}

void LogLineBuilder::appendIp(const QString &address, bool present)
{
    // The address carries no name in either value form.
    if (m_settings.Log.AddHeader)
        m_header += QStringLiteral("IP Addr.") + m_headerSep;
    if (present)
        m_values += address + m_sep;
}

void LogLineBuilder::addLeadingItems(const QString &panel1)
{
    m_leadingDone = true;
    if (m_settings.Log.AddHeader)
        m_header += QStringLiteral("Date   /   Time") + m_headerSep + QString(8, QLatin1Char(' '));
    if (!m_settings.Log.LogIP)
        return;
    const QString address = panel1.trimmed();
    appendIp(address, isDottedIPv4(address));
}

void LogLineBuilder::addTelnetOnlyIpItem(const QString &panel1)
{
    if (!m_settings.Telnet.DisableHTTP || !m_settings.Log.LogIP)
        return;
    appendIp(panel1, true);
}

QString LogLineBuilder::uptimeValue(const QString &panel2)
{
    QString v = panel2;
    const qsizetype colon = v.indexOf(QLatin1Char(':'));
    if (colon >= 0)
        v[colon] = QLatin1Char('=');
    v.remove(QLatin1Char(' '));
    return v;
}

void LogLineBuilder::addUptimeItem(const QString &panel2)
{
    if (!m_settings.System.Log || !m_settings.Log.LogUptime)
        return;
    // The same text in both value forms: it names itself ("ppp0=").
    if (m_settings.Log.AddHeader)
        m_header += QStringLiteral("Uptime") + m_headerSep;
    m_values += uptimeValue(panel2) + m_sep;
}

PollLogLine LogLineBuilder::finish() const
{
    PollLogLine out;
    out.line = m_values;
    // A poll that got no page has no date column or figures: its names are
    // no header for the file, so the last complete one stands.
    if (m_settings.Log.AddHeader && (m_leadingDone || m_settings.Telnet.DisableHTTP))
        out.header = m_header + QStringLiteral("\r\n");
    return out;
}

bool LogLineBuilder::shouldWrite(const TSettings &settings, bool logTrimInProgress)
{
    return settings.System.Log && settings.Log.LogAtSample && !logTrimInProgress;
}

QString LogLineBuilder::numberText(double value, int precision, int decimals, const QLocale &locale)
{
    const QString group = locale.groupSeparator();
    const QString point = locale.decimalPoint();
    return numfmt::number(value, precision, decimals, group.isEmpty() ? QLatin1Char(',') : group.front(),
                          point.isEmpty() ? QLatin1Char('.') : point.front());
}
