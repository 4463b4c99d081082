#include "pages/PingControls.h"

#include "charts/ChartRefresh.h"
#include "charts/ChartSet.h"
#include "charts/PingPlotting.h"
#include "settings/SettingsHub.h"
#include "settings/TSettings.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <qcustomplot.h>

PingControls::PingControls(ChartSet &charts, SettingsHub &hub, QWidget *page, QObject *parent)
    : QObject(parent), m_charts(charts), m_hub(hub), m_settings(hub.settings())
{
    auto *layout = qobject_cast<QBoxLayout *>(page->layout());
    QCustomPlot *plot = charts.chart(25);

    // The data pane sits beside the chart and takes its width from it while shown.
    auto *panel41 = new QHBoxLayout;
    Memo6 = new QPlainTextEdit(page);
    Memo6->setObjectName(QStringLiteral("Memo6"));
    Memo6->setAccessibleName(tr("Ping output"));
    Memo6->setReadOnly(true);
    Memo6->setFixedWidth(200);
    Memo6->hide();
    if (layout && plot) {
        layout->removeWidget(plot);
        panel41->addWidget(plot, 1);
        panel41->addWidget(Memo6);
        layout->addLayout(panel41, 1);
    }

    auto *row = new QHBoxLayout;
    auto *hostLabel = new QLabel(tr("Host to ping:"), page);
    edPingAddress = new QLineEdit(page);
    edPingAddress->setObjectName(QStringLiteral("edPingAddress"));
    edPingAddress->setMaxLength(253); // the longest host name
    edPingAddress->setMinimumWidth(140);
    hostLabel->setBuddy(edPingAddress);
    cbFilled = new QCheckBox(tr("Filled"), page);
    cbFilled->setObjectName(QStringLiteral("cbFilled"));
    auto *maxLabel = new QLabel(tr("Max. ms:"), page);
    spPingMax = new QSpinBox(page);
    spPingMax->setObjectName(QStringLiteral("spPingMax"));
    spPingMax->setRange(0, 3000);
    maxLabel->setBuddy(spPingMax);
    auto *numLabel = new QLabel(tr("Number of packets:"), page);
    spPingNum = new QSpinBox(page);
    spPingNum->setObjectName(QStringLiteral("spPingNum"));
    // Wider than allowed so a typed 5 can be set back to 3 rather than refused.
    spPingNum->setRange(0, 99);
    numLabel->setBuddy(spPingNum);
    cbShowData = new QCheckBox(tr("Show data window"), page);
    cbShowData->setObjectName(QStringLiteral("cbShowData"));
    cbPingFail = new QCheckBox(tr("Ping returns 100%  loss for"), page);
    cbPingFail->setObjectName(QStringLiteral("cbPingFail"));
    spPingFail = new QSpinBox(page);
    spPingFail->setObjectName(QStringLiteral("spPingFail"));
    spPingFail->setRange(2, 10);
    spPingFail->setAccessibleName(tr("Ping returns 100% loss for this many consecutive samples"));
    Label95 = new QLabel(tr("consecutive samples"), page);
    Label95->setObjectName(QStringLiteral("Label95"));
    // The alarm setting has a row of its own: one row does not fit the window's default width.
    for (QWidget *w : std::initializer_list<QWidget *>{hostLabel, edPingAddress, cbFilled, maxLabel, spPingMax, numLabel, spPingNum, cbShowData})
        row->addWidget(w);
    row->addStretch(1);
    auto *alarmRow = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{cbPingFail, spPingFail, Label95})
        alarmRow->addWidget(w);
    alarmRow->addStretch(1);
    if (layout) {
        layout->addLayout(row);
        layout->addLayout(alarmRow);
    }

    applySettings();
}

std::vector<SettingFollower> PingControls::followers()
{
    return {
        {{"Ping/Filled"},
         [this] {
             PingPlotting::applyFilled(m_charts, m_settings.Ping.Filled);
             chartrefresh::request(m_charts.chart(25));
         }},
        {{"Ping/Max"},
         [this] {
             m_charts.leftAxis(25).trySetMaximum(m_settings.Ping.Max);
             chartrefresh::request(m_charts.chart(25));
         }},
        // The box takes a typed count it cannot use, then shows the nearest it can.
        {{"Ping/PingNum"},
         [this] {
             const int packets = PingPlotting::clampPacketCount(m_settings.Ping.PingNum);
             if (packets != m_settings.Ping.PingNum)
                 m_hub.change([packets](TSettings &s) { s.Ping.PingNum = packets; });
         }},
        {{"Ping/ShowData"}, [this] { Memo6->setVisible(m_settings.Ping.ShowData); }},
        {{"Ping/Ping", "Ping/ShowPing"}, [this] { updateAlarmControls(m_settings.Ping.Ping); }},
    };
}

void PingControls::applySettings()
{
    Memo6->setVisible(m_settings.Ping.ShowData);
    updateAlarmControls(m_settings.Ping.Ping);
}

void PingControls::updateAlarmControls(bool pingChecked)
{
    const bool on = pingChecked && m_settings.Ping.ShowPing;
    for (QWidget *w : std::initializer_list<QWidget *>{cbPingFail, spPingFail, Label95})
        w->setEnabled(on);
}
