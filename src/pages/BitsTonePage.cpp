#include "pages/BitsTonePage.h"

#include "acquisition/TelnetParseResult.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <utility>

namespace {

template <typename W> W *named(W *w, const char *name)
{
    w->setObjectName(QLatin1String(name));
    return w;
}

// A filled square with a one-pixel outline.
void fill(QLabel *w, const QColor &inside, const QColor &outline)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, inside);
    p.setColor(QPalette::WindowText, outline);
    w->setPalette(p);
}

QLabel *swatch(QWidget *parent, const char *name, const QColor &inside)
{
    auto *w = named(new QLabel(parent), name);
    w->setFixedSize(12, 12);
    w->setFrameStyle(QFrame::Box | QFrame::Plain);
    w->setAutoFillBackground(true);
    fill(w, inside, Qt::black);
    return w;
}

QSpinBox *spin(QWidget *parent, const char *name, int min, int max, const QString &accessible)
{
    auto *s = named(new QSpinBox(parent), name);
    s->setRange(min, max);
    s->setAccessibleName(accessible);
    return s;
}

} // namespace

BitsTonePage::BitsTonePage(TSettings &settings, QWidget *parent) : QWidget(parent), m_settings(settings)
{
    setObjectName(QStringLiteral("TabSheetBitsOptions"));
    build();
    loadFromSettings();
}

void BitsTonePage::build()
{
    // The strip above the charts, in two rows so that at the window's
    // default size every caption reads whole, the longest time and
    // interleaving texts included, with the read-out shown on the right.
    m_header = new QWidget(this);
    m_header->setObjectName(QStringLiteral("BitsToneHeader"));
    // Its own height at every window size: a taller window's room goes to the charts below.
    m_header->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto *strip = new QHBoxLayout(m_header);
    strip->setContentsMargins(0, 0, 0, 0);
    auto *rows = new QVBoxLayout;
    rows->setSpacing(2);
    auto *request = new QHBoxLayout;
    request->setSpacing(6);
    auto *legend = new QHBoxLayout;
    btnBitsRefresh = named(new QPushButton(tr("Refresh"), m_header), "btnBitsRefresh");
    btnBitsRefresh->setAccessibleName(tr("Refresh bit loading"));
    btnBitsRefresh->setEnabled(false);
    Label61 = named(new QLabel(m_header), "Label61");
    Label61->hide();
    Label59 = named(new QLabel(tr("SNR per tone"), m_header), "Label59");
    Image84 = named(new QToolButton(m_header), "Image84");
    Image84->setText(tr("Tones"));
    Image84->setAccessibleName(tr("Tones shown"));
    Image84->setCursor(Qt::PointingHandCursor);
    Image84->hide();
    Label88 = named(new QLabel(m_header), "Label88");
    Label88->hide();
    Label35 = named(new QLabel(m_header), "Label35");
    Label99 = named(new QLabel(m_header), "Label99");
    Panel35 = named(new QLabel(m_header), "Panel35");
    Panel35->setFrameShape(QFrame::StyledPanel);
    Panel35->setTextFormat(Qt::PlainText);
    Panel35->setText(QStringLiteral("Tone number:\nFrequency:\nSNR:\nBits:\nBitswaps:"));
    Panel35->hide();
    request->addWidget(btnBitsRefresh);
    request->addWidget(Label61);
    // The SNR curve's colour beside its caption.
    Shape3 = swatch(m_header, "Shape3", QColor(Qt::red));
    Shape3->setAccessibleName(tr("Red: SNR per tone"));
    request->addWidget(Shape3);
    request->addWidget(Label59);
    request->addWidget(Image84);
    request->addWidget(Label88);
    request->addStretch(1);
    // The swatches carry no text of their own; each names its colour for a screen reader.
    Shape1 = swatch(m_header, "Shape1", QColor(0, 0x80, 0));
    Shape1->setAccessibleName(tr("Green: upstream tones"));
    Shape2 = swatch(m_header, "Shape2", QColor(0, 0, 0xFF));
    Shape2->setAccessibleName(tr("Blue: downstream tones"));
    Shape7 = swatch(m_header, "Shape7", QColor(0xC0, 0xC0, 0xC0));
    Shape7->setAccessibleName(tr("Black: attenuation"));
    Label76 = named(new QLabel(tr("Attenuation"), m_header), "Label76");
    // Each swatch close to its caption, the pairs apart, whatever spacing the style gives.
    legend->setSpacing(4);
    for (auto [swatchOf, caption] : {std::pair<QWidget *, QWidget *>{Shape1, new QLabel(tr("Upstream"), m_header)},
                                     {Shape2, new QLabel(tr("Downstream"), m_header)}, {Shape7, Label76}}) {
        if (swatchOf != Shape1)
            legend->addSpacing(8);
        legend->addWidget(swatchOf);
        legend->addWidget(caption);
    }
    // The interleaving of the two directions one above the other, as their texts are padded to be read.
    auto *lower = new QGridLayout;
    lower->setVerticalSpacing(2);
    lower->setHorizontalSpacing(16);
    lower->addLayout(legend, 0, 0);
    lower->addWidget(Label35, 0, 1);
    lower->addWidget(Label99, 1, 1);
    lower->setColumnStretch(2, 1);
    rows->addLayout(request);
    rows->addLayout(lower);
    // The rows stay at the top while the read-out beside them is taller.
    rows->addStretch(1);
    strip->addLayout(rows, 1);
    strip->addWidget(Panel35, 0, Qt::AlignTop);

    // Options.
    auto *layout = new QVBoxLayout(this);
    auto *refresh = new QGroupBox(tr("Bit loading"), this);
    auto *rf = new QFormLayout(refresh);
    // Numbers keep a number's width on a wide window.
    rf->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    cbBits = named(new QCheckBox(tr("Bit loading graph"), refresh), "cbBits");
    cbBitsRefresh = named(new QCheckBox(tr("Auto refresh"), refresh), "cbBitsRefresh");
    // The telnet session's refresh; the SpeedTouch 585 has its own box beside its charts.
    spRefreshBitsEvery =
        spin(refresh, "spRefreshBitsEvery", 10, 600000, tr("Refresh the telnet bit loading every (seconds)"));
    Label81 = named(new QLabel(refresh), "Label81");
    auto *every = new QHBoxLayout;
    every->addWidget(spRefreshBitsEvery);
    every->addWidget(Label81);
    auto *everyLabel = new QLabel(tr("Refresh the telnet bit loading &every (seconds)"), refresh);
    everyLabel->setBuddy(spRefreshBitsEvery);
    cbShowAttenuation = named(new QCheckBox(tr("Show attenuation curve"), refresh), "cbShowAttenuation");
    cbDontRefreshWhenMin = named(
        new QCheckBox(tr("Don't refresh the bitloading graphs when minimized to SysTray. (Saves memory)"), refresh),
        "cbDontRefreshWhenMin");
    Shape4 = swatch(refresh, "Shape4", palette().color(QPalette::Button));
    Shape4->setAccessibleName(tr("Not refreshed while in the tray"));
    Label80 = named(new QLabel(tr("Not refreshed while in the tray"), refresh), "Label80");
    auto *dont = new QHBoxLayout;
    dont->addWidget(Shape4);
    dont->addWidget(Label80);
    dont->addStretch(1);
    rf->addRow(cbBits);
    rf->addRow(cbBitsRefresh);
    rf->addRow(everyLabel, every);
    rf->addRow(cbShowAttenuation);
    rf->addRow(cbDontRefreshWhenMin);
    rf->addRow(dont);
    layout->addWidget(refresh);

    auto *snr = new QGroupBox(tr("SNR"), this);
    auto *sf = new QFormLayout(snr);
    sf->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    rbSNR = named(new QRadioButton(tr("SNR"), snr), "rbSNR");
    rbSNRMargin = named(new QRadioButton(tr("SNR Margin"), snr), "rbSNRMargin");
    auto *modes = new QButtonGroup(snr);
    modes->addButton(rbSNR);
    modes->addButton(rbSNRMargin);
    spClipSNRMargin = spin(snr, "spClipSNRMargin", 5, 40, tr("Clip SNR margin above (dB)"));
    spClipMinSNRMargin = spin(snr, "spClipMinSNRMargin", -20, 0, tr("Clip SNR margin below (dB)"));
    auto *clipTop = new QLabel(tr("Clip margin &above (dB)"), snr);
    clipTop->setBuddy(spClipSNRMargin);
    auto *clipBottom = new QLabel(tr("Clip margin &below (dB)"), snr);
    clipBottom->setBuddy(spClipMinSNRMargin);
    cbSNRPoints = named(new QCheckBox(tr("Show SNR graph points"), snr), "cbSNRPoints");
    cbVerticalGrid = named(new QCheckBox(tr("Show vertical grid lines"), snr), "cbVerticalGrid");
    rbSNRSteps = named(new QRadioButton(tr("Steps"), snr), "rbSNRSteps");
    rbSNRRamp = named(new QRadioButton(tr("Ramp"), snr), "rbSNRRamp");
    auto *looks = new QButtonGroup(snr);
    looks->addButton(rbSNRSteps);
    looks->addButton(rbSNRRamp);
    auto *modeRow = new QHBoxLayout;
    modeRow->addWidget(rbSNR);
    modeRow->addWidget(rbSNRMargin);
    auto *lookRow = new QHBoxLayout;
    lookRow->addWidget(rbSNRSteps);
    lookRow->addWidget(rbSNRRamp);
    lookRow->addWidget(cbSNRPoints);
    sf->addRow(modeRow);
    sf->addRow(clipTop, spClipSNRMargin);
    sf->addRow(clipBottom, spClipMinSNRMargin);
    sf->addRow(lookRow);
    sf->addRow(cbVerticalGrid);
    layout->addWidget(snr);

    auto *swaps = new QGroupBox(tr("Bitswaps"), this);
    auto *wf = new QFormLayout(swaps);
    wf->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    cbBitswap = named(new QCheckBox(tr("Bitswaps / time graph"), swaps), "cbBitswap");
    cbAdjustBitswapScale = named(new QCheckBox(tr("Adjust scale automatically"), swaps), "cbAdjustBitswapScale");
    spBitswapMax = spin(swaps, "spBitswapMax", 10, 1000000, tr("Bitswap graph maximum"));
    auto *maxLabel = new QLabel(tr("Graph &maximum"), swaps);
    maxLabel->setBuddy(spBitswapMax);
    cb3D = named(new QCheckBox(tr("3D view"), swaps), "cb3D");
    cbSepHistogram = named(new QCheckBox(tr("Bitswaps per tone graph"), swaps), "cbSepHistogram");
    rbUseSameSamples =
        named(new QRadioButton(tr("Use  the same number of points / page as other graphs"), swaps), "rbUseSameSamples");
    rbUseSameTime = named(new QRadioButton(tr("Use the same time / page as other graphs"), swaps), "rbUseSameTime");
    auto *pages = new QButtonGroup(swaps);
    pages->addButton(rbUseSameSamples);
    pages->addButton(rbUseSameTime);
    Label75 = named(new QLabel(swaps), "Label75");
    wf->addRow(cbBitswap);
    wf->addRow(cbAdjustBitswapScale);
    wf->addRow(maxLabel, spBitswapMax);
    wf->addRow(cb3D);
    wf->addRow(cbSepHistogram);
    wf->addRow(rbUseSameSamples);
    wf->addRow(rbUseSameTime);
    wf->addRow(Label75);
    layout->addWidget(swaps);
    layout->addStretch(1);

    // The switches are bound to their settings by the window's binding table;
    // what the charts and the refresh do about them follows the settings.
    connect(btnBitsRefresh, &QPushButton::clicked, this, &BitsTonePage::refreshClicked);
    connect(Image84, &QToolButton::clicked, this, &BitsTonePage::pageButtonClicked);
    connect(cbDontRefreshWhenMin, &QCheckBox::toggled, this, &BitsTonePage::showDontRefreshIndicator);
    connect(spBitswapMax, &QSpinBox::valueChanged, this, [this](int v) {
        if (!m_loading)
            emit bitswapMaxChanged(v);
    });
}

void BitsTonePage::loadFromSettings()
{
    m_loading = true;
    const auto &t = m_settings.Telnet;
    cbBits->setChecked(t.BitsGraph);
    cbBitsRefresh->setChecked(t.BitsRefresh);
    // No more often than the polls: the minimum is the polling interval.
    spRefreshBitsEvery->setMinimum(std::max(1, m_settings.System.Sample));
    spRefreshBitsEvery->setValue(t.RefreshBitsEvery);
    rbUseSameSamples->setChecked(t.UseSameSamples);
    rbUseSameTime->setChecked(!t.UseSameSamples);
    cbShowAttenuation->setChecked(t.ShowAttenuation);
    rbSNR->setChecked(t.rbSNR);
    rbSNRMargin->setChecked(!t.rbSNR);
    Label59->setText(t.rbSNR ? tr("SNR per tone") : tr("SNR Margin per tone"));
    spClipSNRMargin->setValue(t.ClipSNRMargin);
    spClipMinSNRMargin->setValue(t.ClipMinSNRMargin);
    cbSNRPoints->setChecked(t.SNRPoints);
    cbVerticalGrid->setChecked(t.Grid);
    rbSNRSteps->setChecked(t.Steps);
    rbSNRRamp->setChecked(!t.Steps);
    cbBitswap->setChecked(t.BitsGraph && t.BitswapGraph);
    cbBitswap->setEnabled(t.BitsGraph);
    cbAdjustBitswapScale->setChecked(t.BitswapScale);
    cb3D->setChecked(t._3D);
    cbSepHistogram->setChecked(t.SepHistogram);
    cbDontRefreshWhenMin->setChecked(t.DontrefreshWhenMin);
    m_loading = false;
    showDontRefreshIndicator();
}

void BitsTonePage::showDontRefreshIndicator()
{
    const bool on = cbDontRefreshWhenMin->isChecked();
    if (on)
        fill(Shape4, Qt::red, Qt::black);
    else
        fill(Shape4, palette().color(QPalette::Button), QColor(0xC0, 0xC0, 0xC0));
    Label80->setEnabled(on);
}

void BitsTonePage::applyFamily()
{
    const bool v4 = m_settings.Telnet.V4;
    // Only the adslctl family reports the attenuation per tone.
    cbShowAttenuation->setEnabled(v4);
    Label76->setEnabled(v4);
    fill(Shape7, v4 ? QColor(Qt::black) : QColor(0xC0, 0xC0, 0xC0), Qt::black);
}

void BitsTonePage::showParsed(const TelnetParseResult &r, bool connected)
{
    if (r.Label35)
        Label35->setText(*r.Label35);
    if (r.Label99)
        Label99->setText(*r.Label99);
    if (r.EnableBitsRefresh && connected)
        btnBitsRefresh->setEnabled(true);
}
