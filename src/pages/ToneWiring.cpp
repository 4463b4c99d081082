#include "pages/ToneWiring.h"

#include "acquisition/BitLoadingRefresh.h"
#include "acquisition/RunState.h"
#include "acquisition/TelnetSession.h"
#include "charts/ChartSet.h"
#include "charts/ToneCharts.h"
#include "common/DateTimePattern.h"
#include "pages/BitloadingPage.h"
#include "pages/BitsTonePage.h"
#include "acquisition/TelnetScriptRunner.h"
#include "acquisition/ThomsonSession.h"
#include "settings/SettingsHub.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
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

BitsTonePage *buildBitsTonePage(QTabWidget *pages, TSettings &settings, QWidget *&optionsTab)
{
    QWidget *bitsPage = pages->findChild<QWidget *>(QStringLiteral("Bits / Tone"));
    if (!bitsPage)
        return nullptr;
    auto *page = new BitsTonePage(settings, bitsPage);
    qobject_cast<QVBoxLayout *>(bitsPage->layout())->insertWidget(0, page->header());
    if (auto *tabs = bitsPage->findChild<QTabWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        // The options keep their full height and scroll where the window is short.
        auto *scroll = new QScrollArea(tabs);
        scroll->setObjectName(QStringLiteral("TabSheetBitsOptionsScroll"));
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidget(page);
        tabs->addTab(scroll, QObject::tr("Options"));
        optionsTab = scroll;
    }
    return page;
}

BitloadingPage *buildBitloadingPage(QTabWidget *pages, TSettings &settings, RunState &run, TelnetFigures &figures,
                                    BitsRefreshState &pacing, ThomsonSession &thomson, ToneCharts &tones,
                                    BitLoadingRefresh &bits, TelnetScriptRunner &scripts,
                                    const BitloadingPageHost &host)
{
    QWidget *page585 = pages->findChild<QWidget *>(QStringLiteral("Bitloading"));
    if (!page585)
        return nullptr;
    auto *page = new BitloadingPage(settings, run, figures, pacing, thomson, tones, page585);
    qobject_cast<QVBoxLayout *>(page585->layout())->insertWidget(0, page->header());
    // The paused sign over each chart as well, so a chart page on its own says so.
    for (auto [sign, chartPage] : {std::pair{page->Label107, "Bits/Tone"}, std::pair{page->Label108, "Bitswaps/Tone"},
                                   std::pair{page->Label109, "Bitswaps/Time"}})
        if (QWidget *p = page585->findChild<QWidget *>(QLatin1String(chartPage)))
            if (auto *layout = qobject_cast<QBoxLayout *>(p->layout()))
                layout->insertWidget(0, sign, 0, Qt::AlignRight);
    pages->insertTab(pages->indexOf(page585) + 1, page, QObject::tr("Summary"));
    page->setWindowState(host.running, host.hiddenInTray);
    QObject::connect(&bits, &BitLoadingRefresh::thomsonRefreshDue, page, &BitloadingPage::btnThomsonRefreshClick);
    QObject::connect(page, &BitloadingPage::refreshTimerWanted, &bits, &BitLoadingRefresh::setThomsonTimer);
    // Scripts go over the 585 session line by line, each after the router's prompt.
    ThomsonSession *session = &thomson;
    scripts.setSpeedTouchSender([session](const QString &line, std::function<void(const QString &)> done) {
        return session->ThomsonSessionUp() && session->sendLine(line, done);
    });
    QObject::connect(&scripts, &TelnetScriptRunner::speedTouchLineSent, page->memo5, &QPlainTextEdit::appendPlainText);
    QObject::connect(page, &BitloadingPage::macroClicked, pages, host.macroClicked);
    return page;
}

void startToneCharts(BitsTonePage &page, BitloadingPage *page585, BitLoadingRefresh &bits, ToneCharts &tones,
                     const ChartSet &charts, const TSettings &settings)
{
    page.loadFromSettings();
    if (page585)
        page585->loadFromSettings();
    bits.startup();
    tones.attach();
    tones.setBitswapMaximum(page.spBitswapMax->value());
    tones.applySnrLook();
    tones.applySnrAxis();
    if (settings.Telnet.SwapBitswapPlots && !charts.isSwapped(22))
        tones.swapBitswapPlots();
}
