#include "charts/ChartPageControls.h"

#include "charts/ChartInteraction.h"
#include "charts/ChartSet.h"
#include "settings/TSettings.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <qcustomplot.h>

ChartPageControls::ChartPageControls(ChartSet &charts, TSettings &settings, ChartInteraction &interaction,
                                     QObject *parent)
    : QObject(parent), m_charts(charts), m_settings(settings), m_interaction(interaction)
{
}

bool *ChartPageControls::boxSetting(TSettings &s, int chart)
{
    auto &g = s.Graph;
    auto &t = s.Telnet;
    switch (chart) {
    case 1: return &g.cbHNoise;
    case 18: return &g.cbUHNoise;
    case 2: return &g.cbHSync;
    case 20: return &g.cbUHSync;
    case 3: return &g.cbHUser;
    case 19: return &g.cbHUser2;
    case 16: return &t.cbNoise;
    case 17: return &t.cbSync;
    case 5: return &t.cbICRC;
    case 6: return &t.cbIFEC;
    case 7: return &t.cbIHEC;
    case 4: return &t.cbFastCRC;
    case 8: return &t.cbFastFEC;
    case 9: return &t.cbFastHEC;
    case 12: return &t.cbUICRC;
    case 11: return &t.cbUIFEC;
    case 10: return &t.cbUIHEC;
    case 15: return &t.cbUFastCRC;
    case 14: return &t.cbUFastFEC;
    case 13: return &t.cbUFastHEC;
    case 23: return &t.RxTotal;
    case 24: return &t.TxTotal;
    case 30: return &t.cbUserDown;
    case 31: return &t.cbUserUp;
    case 21: return &t.BitsGraph;
    case 29: return &t.SepHistogram;
    case 22: return &t.BitswapGraph;
    case 25: return &s.Ping.Ping;
    default: return nullptr;
    }
}

void ChartPageControls::addControls(int chart, QWidget *page)
{
    const ChartDef *def = ChartTable::find(chart);
    auto *layout = qobject_cast<QBoxLayout *>(page->layout());
    if (!def || !layout || !boxSetting(m_settings, chart))
        return;
    auto *row = new QHBoxLayout;
    auto *box = new QCheckBox(tr("Check to plot graph"), page);
    box->setObjectName(QLatin1String(def->box));
    box->setAccessibleName(tr("Check to plot graph: %1").arg(QString::fromLatin1(def->leftTitle)));
    // The window's binding table makes the box its setting's editor.
    box->setChecked(*boxSetting(m_settings, chart));
    m_boxes[chart] = box;
    row->addWidget(box);
    if (chart == 3 || chart == 19) {
        auto *pin = new QPushButton(tr("Pin minimum"), page);
        pin->setObjectName(chart == 3 ? QStringLiteral("btnUser1Pin") : QStringLiteral("btnUser2Pin"));
        pin->setToolTip(tr("Pin graph's minimum value"));
        pin->setAccessibleName(tr("Pin graph's minimum value"));
        pin->setCheckable(true);
        pin->setChecked(chart == 3 ? m_settings.Graph.User1Pin : m_settings.Graph.User2Pin);
        connect(pin, &QPushButton::clicked, this, [this, chart](bool down) {
            (chart == 3 ? m_settings.Graph.User1Pin : m_settings.Graph.User2Pin) = down;
            m_interaction.pinClicked(chart, down);
        });
        (chart == 3 ? btnUser1Pin : btnUser2Pin) = pin;
        row->addWidget(pin);
    }
    row->addStretch(1);
    // Above the chart, which the page already holds, and before it in the tab order.
    layout->insertLayout(0, row);
    if (QCustomPlot *plot = m_charts.chart(chart)) {
        QWidget *last = (chart == 3 ? btnUser1Pin : chart == 19 ? btnUser2Pin : nullptr);
        if (last)
            QWidget::setTabOrder(box, last);
        QWidget::setTabOrder(last ? last : box, plot);
    }
}

void ChartPageControls::applySettings()
{
    // The boxes follow their settings through the window's binding table.
    if (btnUser1Pin)
        btnUser1Pin->setChecked(m_settings.Graph.User1Pin);
    if (btnUser2Pin)
        btnUser2Pin->setChecked(m_settings.Graph.User2Pin);
}

QCheckBox *ChartPageControls::box(int chart) const
{
    const auto it = m_boxes.find(chart);
    return it == m_boxes.end() ? nullptr : it->second.data();
}

int ChartPageControls::GetTopChart(QTabWidget *pageControl, const ChartSet &charts)
{
    QWidget *page = pageControl ? pageControl->currentWidget() : nullptr;
    // Down through the showing sub-tabs to the page that holds a chart.
    while (page) {
        for (auto *plot : page->findChildren<QCustomPlot *>(QString(), Qt::FindDirectChildrenOnly))
            if (const int n = charts.numberOf(plot))
                return n;
        auto *tabs = page->findChild<QTabWidget *>(QString(), Qt::FindDirectChildrenOnly);
        // The tone charts' other pages (their options) stand for the last chart of the set.
        if (tabs && tabs->currentWidget() && !tabs->currentWidget()->findChild<QCustomPlot *>()) {
            if (page->objectName() == QLatin1String("Bits / Tone"))
                return 22;
            if (page->objectName() == QLatin1String("Bitloading"))
                return 28;
        }
        page = tabs ? tabs->currentWidget() : nullptr;
    }
    return 1;
}
