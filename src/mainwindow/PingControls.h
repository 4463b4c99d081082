#pragma once
// The ping tab's own controls beside Chart25: the host to ping, "Filled", the axis maximum,
// the packets per ping, the data pane with ping's output, and the failure
// alarm's count. Each is the editor of its setting, so the next poll's ping
// uses what they show.
#include <QObject>

class ChartSet;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;
class QWidget;
struct TSettings;

class PingControls : public QObject {
    Q_OBJECT
public:
    PingControls(ChartSet &charts, TSettings &settings, QWidget *page, QObject *parent = nullptr);

    // Controls from the settings.
    void applySettings();
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
    TSettings &m_settings;
};
