#pragma once
// The ping tab's own controls beside Chart25: the host to ping, "Filled", the axis maximum,
// the packets per ping, the data pane with ping's output, and the failure
// alarm's count. Each is a row of the window's binding table, so the next
// poll's ping uses what they show; the chart and the pane follow the settings.
#include "configuration/LiveBinder.h"

#include <QObject>

class ChartSet;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;
class QWidget;
class SettingsHub;
struct TSettings;

class PingControls : public QObject {
    Q_OBJECT
public:
    PingControls(ChartSet &charts, SettingsHub &hub, QWidget *page, QObject *parent = nullptr);

    // The data pane and the failure alarm's controls from the settings.
    void applySettings();
    // The chart, the pane and the packet count follow their settings, whoever changes them.
    std::vector<SettingFollower> followers();
    // cbPingClick: the failure alarm's controls are enabled exactly when ping
    // is on and the ping tab is shown.
    void updateAlarmControls(bool pingChecked);

    QLineEdit *edPingAddress = nullptr; // [Ping] PingHost, bound with the window's controls; the runner checks it
    QCheckBox *cbFilled = nullptr;
    QSpinBox *spPingMax = nullptr;
    QSpinBox *spPingNum = nullptr;
    QCheckBox *cbShowData = nullptr;
    QCheckBox *cbPingFail = nullptr;
    QSpinBox *spPingFail = nullptr;
    QLabel *Label95 = nullptr;
    QPlainTextEdit *Memo6 = nullptr;

private:
    ChartSet &m_charts;
    SettingsHub &m_hub;
    TSettings &m_settings;
};
