#pragma once
// The statistics log line of one poll, built item by item in the order of the
// cycle's steps. With [Log] AddHeader the builder makes two texts side by
// side, the header (item names) and the values, so that a header cycle can
// write both and every later writer of LogLine gets values, never names.
// Without AddHeader each item is written as name=value.
//
// Use per cycle: begin() (step 6); in the HTTP part decideHeader() and
// addLeadingItems() (step 8e), the figure items (step 8g); at step 20
// addTelnetOnlyIpItem(), the telnet and ping items through addItem(), then
// addUptimeItem(); finish() (step 21) and shouldWrite().
#include "settings/TSettings.h"

#include <QList>
#include <QLocale>
#include <QString>

// One item as a figure produces it: the name without "=" ("Rx-Noise") and
// the value text as it goes into the line ("6.5").
struct LogItem {
    QString name;
    QString value;
};

// What a poll hands on at step 21.
struct PollLogLine {
    QString line;   // LogLine: the values (named, or values only under AddHeader)
    QString header; // the names line, "\r\n" ended; empty without AddHeader or when this poll's header is partial
};

class LogLineBuilder {
public:
    enum class ItemForm { Header, ValuesOnly, Named };

    explicit LogLineBuilder(TSettings &settings, const QLocale &locale = QLocale::system());

    // A fresh line; the separators follow [System] CSV.
    void begin();

    // [Log] HeaderRequired := AddHeader and (the log file is absent or under
    // 10 bytes, or a header is pending). logFileSize is FileSizeOf the log
    // file (0 when there is none). Returns the decision.
    bool decideHeader(qint64 logFileSize, bool logHeaderPending);
    static bool headerRequired(bool addHeader, qint64 logFileSize, bool logHeaderPending);

    // Step 8e: the "Date   /   Time" column of the header and the IP item
    // (panel1: the text of the address panel; only a dotted address is logged).
    void addLeadingItems(const QString &panel1);
    // Step 20, telnet-only monitoring: the IP item takes the panel text as it is.
    void addTelnetOnlyIpItem(const QString &panel1);

    // Figure, telnet and ping items, in the order given.
    void addItem(const LogItem &item);
    void addItems(const QList<LogItem> &items);

    // The uptime panel's text as an item, when [System] Log and [Log] LogUptime.
    void addUptimeItem(const QString &panel2);

    PollLogLine finish() const;

    // The poll's line is written when logging at each sample and no trim runs.
    static bool shouldWrite(const TSettings &settings, bool logTrimInProgress);

    QString separator() const { return m_sep; }
    QString headerSeparator() const { return m_headerSep; }

    // One item in one of the three forms.
    static QString itemText(ItemForm form, const QString &name, const QString &value, const QString &sep,
                            const QString &headerSep);
    // "ppp0: 2 d, 01:05:10" -> "ppp0=2d,01:05:10": first ":" to "=", blanks removed.
    static QString uptimeValue(const QString &panel2);
    // Thousands separators, rounded to `precision` significant digits and to
    // `decimals` decimals, always `decimals` decimals shown ("1,230.0").
    // One rounding only: 6.45f (6.4499998) at 3 digits and 1 decimal is "6.4".
    static QString numberText(double value, int precision, int decimals, const QLocale &locale = QLocale::system());

private:
    void appendIp(const QString &address, bool present);

    TSettings &m_settings;
    QLocale m_locale;
    QString m_sep = QStringLiteral("\t");
    QString m_headerSep = QStringLiteral("\t  ");
    QString m_header;
    QString m_values;
    bool m_leadingDone = false;
};
