#pragma once
// The titles and captions that depend on the telnet firmware family and the
// error period chosen. Each table is complete: what no family sets keeps its
// built-in text, so the same settings always give the same window.
#include "settings/TSettings.h"

#include <QMap>
#include <QString>
#include <QStringList>

// Chart number -> left-axis title of the twelve counter charts (4 to 15).
QMap<int, QString> telnetChartTitles(const TSettings &s);

// The captions of the four telnet counter pages (named by their built-in
// captions "Rx Interleaved", "Tx Interleaved", "Rx Fast Path", "Tx Fast Path"):
// each page's caption and the captions of its "CRC", "FEC" and "HEC" sub-pages.
struct TelnetPaneCaption {
    QString caption;
    QStringList subPages;
};
QMap<QString, TelnetPaneCaption> telnetPaneCaptions(const TSettings &s);

// The title over the third statistics pane of the telnet summary: "Totals" for
// the adslctl family, else "ATM Totals".
QString totalsPaneTitle(const TSettings &s);

// The bit-loading chart's left-axis title: only the adslctl family reports the
// attenuation per tone that the chart then draws on the bits scale.
QString bitLoadingTitle(const TSettings &s);
