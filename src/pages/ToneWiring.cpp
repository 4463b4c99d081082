#include "pages/ToneWiring.h"

#include "acquisition/BitLoadingRefresh.h"
#include "acquisition/RunState.h"
#include "acquisition/TelnetSession.h"
#include "charts/ChartSet.h"
#include "charts/ToneCharts.h"
#include "common/DateTimePattern.h"
#include "pages/BitsTonePage.h"
#include "settings/SettingsHub.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <qcustomplot.h>

void wireToneCharts(QObject *context, BitLoadingRefresh &bits, ToneCharts &tones, BitsTonePage *page,
                    QTabWidget *bitsTabs, TelnetSession &telnet, SettingsHub &hub, ChartSet &charts,
                    const RunState &run, const ToneWiringHost &host)
{
    BitLoadingRefresh *b = &bits;
    ToneCharts *t = &tones;
    TelnetSession *session = &telnet;
    b->setHiddenInTray(host.hiddenInTray);
    QObject::connect(session, &TelnetSession::bitsRefreshPoint, b, &BitLoadingRefresh::statisticsRequested);
    QObject::connect(b, &BitLoadingRefresh::toneSeriesCleared, t, &ToneCharts::clearToneSeries);
    QObject::connect(b, &BitLoadingRefresh::snrAxisDue, t, &ToneCharts::applySnrAxis);
    QObject::connect(b, &BitLoadingRefresh::pageLengthChanged, t, &ToneCharts::setBitsPage);
    QObject::connect(b, &BitLoadingRefresh::bitswapCaptureDue, context, host.bitswapCapture);
    const RunState *r = &run;
    t->setStampLabel([r] { return dtp::format(r->PointLabelFormat, r->SampleStamp); });
    if (!page)
        return;
    t->setBitsTabShowing([page] {
        const QWidget *chartTabs = page->parentWidget() ? page->parentWidget()->parentWidget() : nullptr;
        auto *tabs = chartTabs ? qobject_cast<const QTabWidget *>(chartTabs) : nullptr;
        return tabs && tabs->currentIndex() == 0 && page->window()->isVisible();
    });
    QObject::connect(b, &BitLoadingRefresh::refreshButtonEnabled, page->btnBitsRefresh, &QWidget::setEnabled);
    QObject::connect(b, &BitLoadingRefresh::lastUpdated, page, [page](const QString &text) {
        page->Label61->setText(text);
        page->Label61->show();
    });
    QObject::connect(b, &BitLoadingRefresh::pageCaptions, page, [page](const QString &interval, const QString &span) {
        page->Label81->setText(interval);
        page->Label75->setText(span);
    });
    QObject::connect(session, &TelnetSession::controlsChanged, page, [session, page](const TelnetControls &c) {
        page->btnBitsRefresh->setEnabled(c.btnBitsRefresh);
        if (session->isConnected())
            page->cbShowAttenuation->setEnabled(c.cbShowAttenuation);
    });
    QObject::connect(page, &BitsTonePage::refreshClicked, b, [b] { b->btnBitsRefreshClick(BitsSender::RefreshButton); });
    QObject::connect(page, &BitsTonePage::bitswapMaxChanged, t, &ToneCharts::setBitswapMaximum);
    SettingsHub *h = &hub;
    QObject::connect(page, &BitsTonePage::pageButtonClicked, context, [h, b] {
        h->change([](TSettings &s) { s.Telnet.ShowTop = (s.Telnet.ShowTop + 1) % 3; });
        b->btnBitsRefreshClick(BitsSender::Window);
    });
    // Showing "Bitswaps / Time": the chart follows the bit-loading box and its page is measured afresh.
    ChartSet *set = &charts;
    if (bitsTabs)
        QObject::connect(bitsTabs, &QTabWidget::currentChanged, context, [set, bitsTabs, page, b] {
            if (bitsTabs->currentWidget()->objectName() != QLatin1String("Bitswaps / Time"))
                return;
            const bool bitLoading = page->cbBits->isChecked();
            if (!bitLoading)
                page->cbBitswap->setChecked(false);
            page->cbBitswap->setEnabled(bitLoading);
            set->chart(22)->setEnabled(bitLoading);
            b->applyPage();
        });
    QObject::connect(t, &ToneCharts::readoutChanged, page, [page](int chart, const QStringList &lines) {
        if (chart != 29)
            return;
        page->Panel35->setText(lines.join(QLatin1Char('\n')));
        page->Panel35->show();
    });
    QObject::connect(t, &ToneCharts::bitsReadoutChanged, page, [page](const QStringList &lines, bool visible) {
        if (!lines.isEmpty())
            page->Panel35->setText(lines.join(QLatin1Char('\n')));
        page->Panel35->setVisible(visible);
    });
}
