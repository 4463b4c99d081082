#pragma once
// The titles of the telnet counter charts, which depend on the telnet
// firmware family and the error period chosen.
#include "settings/TSettings.h"

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>

// Chart number -> left-axis title; charts a family leaves alone are absent.
QMap<int, QString> telnetChartTitles(const TSettings &s);

// The captions of the telnet counter pages by family: each page (named by its
// built-in caption: "Rx Interleaved", "Tx Interleaved", "Rx Fast Path",
// "Tx Fast Path") gets a caption and the captions of its first three
// sub-pages. Pages a family leaves alone are absent.
struct TelnetPaneCaption {
    QString caption;
    QStringList subPages;
};
QMap<QString, TelnetPaneCaption> telnetPaneCaptions(const TSettings &s);

// The title over the third statistics pane of the telnet summary: "ATM Totals"
// or, for the adslctl family, "Totals"; empty when no telnet family is chosen.
QString totalsPaneTitle(const TSettings &s);

// Sets those captions on the telnet tab's pages under pageControl, and the
// tone charts' tab reads "Bits/Tone".
class QTabWidget;
void applyTelnetPaneCaptions(QTabWidget *pageControl, const TSettings &s);

// The bit-loading chart's left-axis title as start-up sets it.
QString bitLoadingTitle(const TSettings &s);

// The telnet chart tabs' captions by family: (page path, caption), the page
// named by its first caption ("Rx Interleaved") or with its sub-page
// ("Rx Interleaved > CRC"); later families overwrite earlier ones.
QList<QPair<QString, QString>> telnetTabCaptions(const TSettings &s);

// The same title as a Configuration commit sets it: only the adslctl family
// reports attenuation per tone.
QString bitLoadingTitleAtCommit(const TSettings &s);
