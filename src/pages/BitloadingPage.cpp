#include "pages/BitloadingPage.h"

#include "acquisition/ThomsonSession.h"
#include "common/Clock.h"
#include "common/DateTimePattern.h"
#include "pages/PaneTextCap.h"
#include "charts/ToneCharts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRegularExpressionValidator>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSplitter>
#include <QVBoxLayout>
#include <QTimer>
#include <cmath>
#include <utility>

namespace {

template <typename W> W *named(W *w, const char *name)
{
    w->setObjectName(QLatin1String(name));
    return w;
}

QPlainTextEdit *pane(QWidget *parent, const char *name, const QString &accessible)
{
    auto *p = named(new QPlainTextEdit(parent), name);
    p->setReadOnly(true);
    p->setLineWrapMode(QPlainTextEdit::NoWrap);
    p->setAccessibleName(accessible);
    p->setMaximumBlockCount(5000);
    return p;
}

} // namespace

BitloadingPage::BitloadingPage(TSettings &settings, RunState &run, TelnetFigures &figures, BitsRefreshState &pacing,
                               ThomsonSession &session, ToneCharts &charts, QWidget *parent)
    : QWidget(parent), m_settings(settings), m_run(run), m_figures(figures), m_pacing(pacing), m_session(session),
      m_charts(charts)
{
    setObjectName(QStringLiteral("TabSheet36"));
    build();
    loadFromSettings();
    connect(&m_session, &ThomsonSession::refreshed, this, &BitloadingPage::onRefreshed);
    connect(&m_session, &ThomsonSession::sessionChanged, this, &BitloadingPage::showSession);
    connect(&m_session, &ThomsonSession::bitTableText, memoBits585, &QPlainTextEdit::setPlainText);
    connect(&m_session, &ThomsonSession::memo5Text, this, [this](const QString &text) {
        memo5->appendPlainText(text);
        capPaneText(memo5, kMaxPaneChars);
    });
    connect(&m_charts, &ToneCharts::readoutChanged, this, [this](int chart, const QStringList &lines) {
        if (chart == 26 || chart == 27)
            Readout->setText(lines.join(QLatin1String("    ")));
    });
    showSession(false);
}

void BitloadingPage::setWindowState(std::function<bool()> running, std::function<bool()> hiddenInTray)
{
    m_running = std::move(running);
    m_hidden = std::move(hiddenInTray);
}

void BitloadingPage::build()
{
    m_header = new QWidget(this);
    m_header->setObjectName(QStringLiteral("BitloadingHeader"));
    auto *rows = new QVBoxLayout(m_header);
    rows->setContentsMargins(0, 0, 0, 0);
    auto *buttons = new QHBoxLayout;
    btn585Connect = named(new QPushButton(tr("Connect"), m_header), "btn585Connect");
    btn585Connect->setAccessibleName(tr("Connect the SpeedTouch session"));
    btn585Disconnect = named(new QPushButton(tr("Disconnect"), m_header), "btn585Disconnect");
    btn585Disconnect->setAccessibleName(tr("Disconnect the SpeedTouch session"));
    btnThomsonRefresh = named(new QPushButton(tr("Refresh"), m_header), "btnThomsonRefresh");
    btnThomsonRefresh->setAccessibleName(tr("Refresh bit loading"));
    btnThomsonBitswapReset = named(new QPushButton(tr("Reset bitswaps"), m_header), "btnThomsonBitswapReset");
    btnMacro = named(new QPushButton(tr("Send telnet script to router"), m_header), "btnMacro");
    btnMacro->setEnabled(false);
    Shape1 = named(new QLabel(m_header), "Shape1");
    Shape1->setFixedSize(14, 14);
    Shape1->setAccessibleName(tr("Session indicator"));
    Label106 = named(new QLabel(tr("PAUSED"), m_header), "Label106");
    Label106->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
    Label106->hide();
    for (auto [sign, name] : {std::pair{&Label107, "Label107"}, std::pair{&Label108, "Label108"},
                              std::pair{&Label109, "Label109"}}) {
        *sign = named(new QLabel(tr("PAUSED"), m_header), name);
        (*sign)->setStyleSheet(Label106->styleSheet());
        (*sign)->setToolTip(tr("The bit loading is not being refreshed"));
        (*sign)->hide();
    }
    Label93 = named(new QLabel(m_header), "Label93");
    Label93->hide();
    Label33 = named(new QLabel(m_header), "Label33");
    // The window's default width holds the buttons, the session state and the options only on rows of their own.
    for (QWidget *w : std::initializer_list<QWidget *>{btn585Connect, btn585Disconnect, btnThomsonRefresh,
                                                       btnThomsonBitswapReset, btnMacro})
        buttons->addWidget(w);
    buttons->addStretch(1);
    rows->addLayout(buttons);
    auto *state = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{Shape1, Label106, Label93, Label33})
        state->addWidget(w);
    state->addStretch(1);
    rows->addLayout(state);

    auto *options = new QHBoxLayout;
    rbLowBits = named(new QRadioButton(tr("0 - 255"), m_header), "rbLowBits");
    rbHiBits = named(new QRadioButton(tr("256 - 512"), m_header), "rbHiBits");
    rbAllBits = named(new QRadioButton(tr("0 - 512"), m_header), "rbAllBits");
    auto *range = new QButtonGroup(m_header);
    for (QRadioButton *b : {rbLowBits, rbHiBits, rbAllBits}) {
        range->addButton(b);
        options->addWidget(b);
    }
    cb585Bits = named(new QCheckBox(tr("Refresh bitloading graphs && summary every "), m_header), "cb585Bits");
    sp585Bits = named(new QSpinBox(m_header), "sp585Bits");
    sp585Bits->setRange(30, 600);
    sp585Bits->setSuffix(tr(" s"));
    sp585Bits->setAccessibleName(tr("Refresh bitloading graphs & summary every (seconds)"));
    cbDontRefresh585 =
        named(new QCheckBox(tr("Don't refresh when minimized to SysTray  (Saves memory)"), m_header), "cbDontRefresh585");
    options->addWidget(cb585Bits);
    options->addWidget(sp585Bits);
    options->addStretch(1);
    rows->addLayout(options);
    rows->addWidget(cbDontRefresh585);

    auto *labels = new QHBoxLayout;
    Label25 = named(new QLabel(m_header), "Label25");
    Label34 = named(new QLabel(m_header), "Label34");
    Readout = named(new QLabel(tr("Tone number:    Frequency:    Bits:    Bitswaps"), m_header), "Panel585Readout");
    MostBitswaps = named(new QLabel(m_header), "Label585MostBitswaps");
    for (QLabel *l : {Label25, Label34, Readout, MostBitswaps})
        labels->addWidget(l);
    labels->addStretch(1);
    rows->addLayout(labels);

    // The summary sub-tab.
    auto *summary = new QVBoxLayout(this);
    // How the session logs in and leaves: on the summary sub-tab, so the charts keep their height.
    auto *session = new QHBoxLayout;
    auto *portLabel = new QLabel(tr("Telnet port"), this);
    ed585Port = named(new QLineEdit(this), "ed585Port");
    ed585Port->setMaximumWidth(60);
    // Digits only, typed or pasted; an emptied edit goes back to 23 when left.
    ed585Port->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,5}")), ed585Port));
    portLabel->setBuddy(ed585Port);
    cb585WaitForRequests = named(new QCheckBox(tr("Wait for username && password requests from router during login"),
                                               this),
                                 "cb585WaitForRequests");
    cbRestoreTimeout = named(new QCheckBox(tr("Restore default telnet timeout when Veltrano is closed"), this),
                             "cbRestoreTimeout");
    session->addWidget(portLabel);
    session->addWidget(ed585Port);
    session->addWidget(cb585WaitForRequests);
    session->addStretch(1);
    summary->addLayout(session);
    // A row of its own: beside the log-in box it is cut at the window's default width.
    summary->addWidget(cbRestoreTimeout);
    connect(ed585Port, &QLineEdit::editingFinished, this, [this] {
        const int port = ed585Port->text().toInt();
        if (port < 1 || port > 65535)
            ed585Port->setText(QStringLiteral("23"));
        m_settings._585Telnet.TelnetPort = ed585Port->text();
    });
    connect(cb585WaitForRequests, &QCheckBox::toggled, this,
            [this](bool on) { m_settings._585Telnet.WaitForRequests = on; });
    connect(cbRestoreTimeout, &QCheckBox::toggled, this, [this](bool on) { m_settings._585Telnet.RestoreTimeout = on; });

    btnSwap = named(new QPushButton(tr("Swap"), this), "btnSwap");
    btnSwap->setAccessibleName(tr("Swap the downstream and upstream panes"));
    session->insertWidget(session->count() - 1, btnSwap);

    m_panes = new QHBoxLayout;
    summary->addLayout(m_panes, 1);
    auto *layout = m_panes;
    // The two summary panes under their captions, side by side on a splitter.
    Splitter1 = named(new QSplitter(Qt::Horizontal, this), "Splitter1");
    Splitter1->setChildrenCollapsible(false);
    auto column = [this](QPlainTextEdit *&memo, QLabel *&caption, const char *memoName, const char *captionName,
                         const QString &text, const QString &spoken) {
        auto *box = new QWidget(Splitter1);
        auto *v = new QVBoxLayout(box);
        v->setContentsMargins(0, 0, 0, 0);
        caption = named(new QLabel(text, box), captionName);
        memo = pane(box, memoName, spoken);
        caption->setBuddy(memo);
        v->addWidget(caption);
        v->addWidget(memo, 1);
        return box;
    };
    m_downColumn = column(memo2585, Label23, "memo2585", "Label23", QStringLiteral("Downstream (Rx) "),
                          tr("Downstream summary"));
    m_upColumn = column(memo3585, Label24, "memo3585", "Label24", QStringLiteral("Upstream (Tx) "),
                        tr("Upstream summary"));
    Splitter1->addWidget(m_upColumn);
    Splitter1->addWidget(m_downColumn);
    memo5 = pane(this, "memo5", tr("Line statistics"));
    memoBits585 = pane(this, "memoBits585", tr("Bit table"));
    // Equal shares: panes without a stretch keep their full hint and squeeze the raw panes to a sliver.
    layout->addWidget(Splitter1, 2);
    for (QPlainTextEdit *p : {memo5, memoBits585})
        layout->addWidget(p, 1);
    connect(btnSwap, &QPushButton::clicked, this, &BitloadingPage::btnSwapClick);
    connect(Splitter1, &QSplitter::splitterMoved, this, &BitloadingPage::Splitter1Moved);

    connect(btnThomsonRefresh, &QPushButton::clicked, this, &BitloadingPage::btnThomsonRefreshClick);
    connect(btnThomsonBitswapReset, &QPushButton::clicked, this, &BitloadingPage::btnThomsonBitswapResetClick);
    connect(btnMacro, &QPushButton::clicked, this, &BitloadingPage::macroClicked);
    connect(btn585Connect, &QPushButton::clicked, this, &BitloadingPage::btn585ConnectClick);
    connect(btn585Disconnect, &QPushButton::clicked, this, &BitloadingPage::btn585DisconnectClick);
    for (QRadioButton *b : {rbLowBits, rbHiBits, rbAllBits})
        connect(b, &QRadioButton::toggled, this, [this](bool on) {
            if (on && !m_loading)
                rangeChosen();
        });
    connect(cb585Bits, &QCheckBox::toggled, this, [this](bool on) {
        if (m_loading)
            return;
        m_settings._585Telnet.RefreshBits = on;
        intervalChanged();
    });
    connect(sp585Bits, &QSpinBox::valueChanged, this, [this](int v) {
        if (m_loading)
            return;
        m_settings._585Telnet.BitsEvery = v;
        intervalChanged();
    });
    connect(cbDontRefresh585, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_loading)
            m_settings._585Telnet.Refresh = on;
    });
}

void BitloadingPage::loadFromSettings()
{
    m_loading = true;
    const auto &t = m_settings._585Telnet;
    rbLowBits->setChecked(t.LowBits);
    rbHiBits->setChecked(t.HiBits && !t.LowBits);
    rbAllBits->setChecked(t.AllBits && !t.LowBits && !t.HiBits);
    cb585Bits->setChecked(t.RefreshBits);
    sp585Bits->setValue(t.BitsEvery);
    cbDontRefresh585->setChecked(t.Refresh);
    ed585Port->setText(t.TelnetPort);
    cb585WaitForRequests->setChecked(t.WaitForRequests);
    cbRestoreTimeout->setChecked(t.RestoreTimeout);
    // The downstream pane first when so set.
    Splitter1->insertWidget(t.DownFirst ? 0 : 1, m_downColumn);
    m_loading = false;
}

void BitloadingPage::btnSwapClick()
{
    Splitter1->insertWidget(Splitter1->indexOf(m_downColumn) == 0 ? 1 : 0, m_downColumn);
    // The upstream caption no longer at the left edge: the downstream pane leads.
    m_settings._585Telnet.DownFirst = Splitter1->indexOf(m_upColumn) == 1;
}

void BitloadingPage::Splitter1Moved(int pos)
{
    // A pane squeezed towards the edge greys its caption.
    const bool downFirst = m_settings._585Telnet.DownFirst;
    Label23->setEnabled(pos > (downFirst ? 100 : 250));
    Label24->setEnabled(pos > (downFirst ? 250 : 100));
}

QString BitloadingPage::now() const
{
    return dtp::format(QStringLiteral("dd mmm - hh:nn:ss"), Clock::currentDateTime());
}

void BitloadingPage::rangeChosen()
{
    auto &t = m_settings._585Telnet;
    t.LowBits = rbLowBits->isChecked();
    t.HiBits = rbHiBits->isChecked();
    t.AllBits = rbAllBits->isChecked();
    m_charts.setThomsonRange(t.AllBits ? 512 : 256);
    if (window()->isVisible())
        btnThomsonRefreshClick();
}

void BitloadingPage::intervalChanged()
{
    const auto &t = m_settings._585Telnet;
    if (!m_settings.Router.ST585 || !window()->isVisible())
        return;
    if (t.RefreshBits)
        emit refreshTimerWanted(m_running && m_running(), t.BitsEvery * 1000);
    else
        emit refreshTimerWanted(false, t.BitsEvery * 1000);
    showPaused(!t.RefreshBits);
}

void BitloadingPage::showPaused(bool paused)
{
    for (QLabel *sign : {Label106, Label107, Label108, Label109})
        sign->setVisible(paused);
}

void BitloadingPage::btnThomsonRefreshClick()
{
    if (m_hidden && m_hidden() && m_settings._585Telnet.Refresh)
        return;
    memoBits585->clear();
    memo5->clear();
    const auto range = thomson::toneRange(rbLowBits->isChecked(), rbHiBits->isChecked(), rbAllBits->isChecked());
    m_first = range.first;
    m_last = range.last;
    m_charts.setThomsonRange(range.axisMaximum);
    m_session.ThomsonBitloading();
}

void BitloadingPage::onRefreshed(const ThomsonRefresh &r)
{
    const qint64 nowSeconds = Clock::currentDateTimeUtc().toSecsSinceEpoch();
    const bool gap = nowSeconds - m_figures.LastBitswapPlot > qint64(m_settings.Graph.GapFactor) * 60
                     && m_figures.LastBitswapPlot > 0 && m_settings._585Telnet.Refresh;
    m_charts.plotThomson(m_first, m_last, r.upTones, r.swapTotal,
                         dtp::format(m_run.PointLabelFormat, m_run.SampleStamp), gap);
    ++m_pacing.ThomsonRefreshesSinceCapture;
    m_figures.LastBitswapPlot = nowSeconds;
    if (m_pacing.ThomsonChartSpan == 0)
        m_pacing.ThomsonChartSpan = m_settings.System.Points;
    Shape1->setStyleSheet(QStringLiteral("background: lime; border: 1px solid black"));
    Label93->setText(QStringLiteral("Last refreshed: ") + now());
    Label93->show();
    memo2585->clear();
    memo3585->clear();
    if (r.statistics.read) {
        for (const QString &l : r.statistics.down)
            memo2585->appendPlainText(l);
        for (const QString &l : r.statistics.up)
            memo3585->appendPlainText(l);
        Label25->setText(r.statistics.uptime);
        Label34->setText(r.statistics.dslType);
    }
    showMostBitswaps();
}

void BitloadingPage::showMostBitswaps()
{
    const auto tone = ToneCharts::mostBitswaps(m_figures.ToneSwapCount);
    if (!tone)
        return; // no bitswap at all: the labels stay as they were
    MostBitswaps->setText(QStringLiteral("Tone number:   %1    ").arg(*tone) + ToneCharts::frequencyText(*tone)
                          + QStringLiteral("    Bitswaps:         ")
                          + QString::number(m_figures.ToneSwapCount[size_t(*tone)]));
}

void BitloadingPage::btnThomsonBitswapResetClick()
{
    m_figures.ToneSwapCount.fill(0);
    m_figures.ToneSwapped.fill(0);
    Label33->setText(QStringLiteral("Bitswaps since: ") + now());
    btnThomsonRefreshClick();
}

void BitloadingPage::runStarted()
{
    Label33->setText(QStringLiteral("Bitswaps since: ") + now());
}

void BitloadingPage::btn585ConnectClick()
{
    for (QPlainTextEdit *p : {memo5, memo2585, memo3585})
        p->setEnabled(true);
    const auto &t = m_settings._585Telnet;
    if (t.RefreshBits)
        emit refreshTimerWanted(true, t.BitsEvery * 1000);
    btnThomsonRefreshClick();
    showPaused(!t.RefreshBits);
}

void BitloadingPage::btn585DisconnectClick()
{
    m_session.logout();
    btn585Disconnect->setEnabled(false);
    btn585Connect->setEnabled(true);
    showPaused(m_settings._585Telnet.RefreshBits);
    for (QPlainTextEdit *p : {memo5, memo2585, memo3585})
        p->setEnabled(false);
    Shape1->setStyleSheet(QStringLiteral("background: silver; border: 1px solid black"));
}

void BitloadingPage::showSession(bool up)
{
    btn585Connect->setEnabled(!up);
    btnMacro->setEnabled(up);
    btn585Disconnect->setEnabled(up && !(m_running && m_running()));
    if (!up)
        Shape1->setStyleSheet(QStringLiteral("background: silver; border: 1px solid black"));
}

void BitloadingPage::reboot()
{
    memo5->appendPlainText(QStringLiteral("system reboot"));
    const bool sent = m_session.sendLine(QStringLiteral("system reboot"), [this](const QString &reply) {
        memo5->appendPlainText(reply);
    });
    if (!sent)
        // A refresh is on the wire: the reboot follows it.
        QTimer::singleShot(ThomsonSession::kTimeoutMs, this, [this] {
            m_session.sendLine(QStringLiteral("system reboot"),
                               [this](const QString &reply) { memo5->appendPlainText(reply); });
        });
}
