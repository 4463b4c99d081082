#pragma once
// The main window's alarm page (TabSheet29): the alarm set points, the
// percent-change alarms, the actions and their options, the alarm log. Every
// setting control is a row of the window's binding table; the page's followers
// do its part when a setting changes, whoever changed it, and leave the logic
// to AlarmActions.
#include "acquisition/RunState.h"
#include "configuration/LiveBinder.h"
#include "settings/TSettings.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

class AlarmActions;
class AlarmInputs;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMessageBox;
class QPushButton;
class QRadioButton;
class QSpinBox;
class SettingsHub;
class StatisticsLog;

class QBoxLayout;
class QLayout;

class AlarmPage : public QWidget {
    Q_OBJECT
public:
    AlarmPage(SettingsHub &hub, RunState &run, AlarmActions &actions, AlarmInputs &inputs, StatisticsLog &log,
              QWidget *parent = nullptr);

    // The enabled states, the alarm timers' intervals and the reboot method the
    // router allows (start-up, and when a setting they depend on changes).
    void applySettings();
    // What follows the [Alarm] settings: each handler runs when its key changes.
    std::vector<SettingFollower> followers();

    // The last n Rx noise points plotted, newest last (PlottingStep::recentRxNoise).
    void setRxNoiseSource(std::function<QList<double>(int)> source) { m_rxNoise = std::move(source); }
    // Where the browse dialogs start when no file is named: the settings file's folder.
    void setProgramFolder(const QString &folder) { m_programFolder = folder; }

    // The reason "Send Now" passes to SendEmail.
    static QString sendNowReason();

    // Handlers.
    void cbNoiseAboveClick();
    void cbNoiseBelowClick();
    void cbSyncAboveClick();
    void cbSyncBelowClick();
    void spNoiseAboveSecChange();
    void spNoiseBelowSecChange();
    void spSyncAboveSecChange();
    void spSyncBelowSecChange();
    void spAntiCycleChange();
    void cbAudibleClick();
    void cbAlarmOnceClick();
    void rbPerHourClick();
    void rbUseWebClick();
    void cbRebootClick();
    // "Reboot Now": after the user's word, by telnet or by the reboot URL.
    void btnRebootClick();
    // Label97 follows the script delay: "second" or "seconds before executing".
    void spScriptWaitChange();
    void btnBrowseClick();
    void btnTestSoundClick();
    void btnTestAppClick();
    void AlarmSNRChange();
    void edRebootChange();
    void rbUseNormalLogClick();
    void cbWriteAlarmToLogClick();
    void edAlarmLogChange();
    void btnBrowseAlarmLogClick();
    void btnViewAlarmLogClick();
    void btnViewAlarmLog1Click();

    // Components named as the rest of the program refers to them.
    QCheckBox *cbNoiseAbove = nullptr;
    QSpinBox *spNoiseAboveVal = nullptr;
    QSpinBox *spNoiseAboveSec = nullptr;
    QCheckBox *cbNoiseBelow = nullptr;
    QSpinBox *spNoisebelowVal = nullptr;
    QSpinBox *spNoiseBelowSec = nullptr;
    QCheckBox *cbSyncAbove = nullptr;
    QSpinBox *spSyncAboveVal = nullptr;
    QSpinBox *spSyncAboveSec = nullptr;
    QCheckBox *cbSyncBelow = nullptr;
    QSpinBox *spSyncBelowVal = nullptr;
    QSpinBox *spSyncBelowSec = nullptr;
    QCheckBox *cbSNRChangeHi = nullptr;
    QSpinBox *spAlarmSNRHi = nullptr;
    QCheckBox *cbSNRChangeLo = nullptr;
    QSpinBox *spAlarmSNRLo = nullptr;
    QSpinBox *spSNRSamples = nullptr;
    QLabel *Label48 = nullptr; // "%" of the rise
    QLabel *Label50 = nullptr; // "%" of the fall
    QLabel *Label64 = nullptr; // averaging count
    QLabel *Label62 = nullptr;
    QLabel *Label65 = nullptr; // rise limit
    QLabel *Label66 = nullptr; // fall limit
    QLabel *Label67 = nullptr; // average
    QCheckBox *cbState = nullptr;
    QCheckBox *cbAlarmOnce = nullptr;
    QLabel *Label38 = nullptr;
    QSpinBox *spAntiCycle = nullptr;
    QLabel *Label20 = nullptr;

    QCheckBox *cbWriteAlarmToLog = nullptr;
    QRadioButton *rbUseNormalLog = nullptr;
    QRadioButton *rbUseAlarmLog = nullptr;
    QLabel *Label68 = nullptr;
    QLineEdit *edAlarmLog = nullptr;
    QPushButton *btnReboot = nullptr;
    QLabel *Label97 = nullptr;
    QPushButton *btnBrowseAlarmLog = nullptr;
    QPushButton *btnViewAlarmLog = nullptr;
    QLabel *Label69 = nullptr; // where alarm lines go
    QPushButton *btnWriteNow = nullptr;
    QPushButton *btnViewAlarmLog1 = nullptr;

    QCheckBox *cbSendEmailMain = nullptr;
    QCheckBox *cbJustOne = nullptr;
    QSpinBox *spEmailTimeout = nullptr;
    QPushButton *btnSendEmailNow = nullptr;
    QCheckBox *cbAudible = nullptr;
    QPushButton *btnTestSound = nullptr;
    QCheckBox *cbExternal = nullptr;
    QLineEdit *edExternalApp = nullptr;
    QPushButton *btnBrowse = nullptr;
    QCheckBox *cbAppMin = nullptr;
    QSpinBox *spScriptWait = nullptr;
    QPushButton *btnTestApp = nullptr;

    QCheckBox *cbReboot = nullptr;
    QCheckBox *cbDontReboot = nullptr;
    QSpinBox *spRebootsPerHour = nullptr;
    QRadioButton *rbPerHour = nullptr;
    QRadioButton *rbPerDay = nullptr;
    QRadioButton *rbUseWeb = nullptr;
    QRadioButton *rbUseTelnet = nullptr;
    QLabel *Label21 = nullptr;
    QLineEdit *edReboot = nullptr;

    QCheckBox *cbConnectionLoss = nullptr;
    QCheckBox *cbAllAlarms = nullptr;
    // The tray icon shows the alarm only while it shows the Rx noise: says so while that is off.
    QLabel *Label44 = nullptr;
    void showNoiseNote();

    QPointer<QMessageBox> RebootConfirmBox;

signals:
    // "View Log" with the statistics log chosen: the window's btnViewLogClick.
    void viewStatisticsLogRequested();
    // "Send Now": SendEmail(reason).
    void sendEmailNowRequested(const QString &reason);
    // cbStateClick: the caption loses the connection state when unchecked.
    void cbStateClicked(bool checked);

public:
    // Side by side or stacked: the columns follow the page's width.
    bool columnsSideBySide() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QBoxLayout *m_columns = nullptr;
    QLayout *m_left = nullptr;
    QLayout *m_right = nullptr;
    void build();
    QMessageBox *showBox(const QString &text, bool warning);
    QString perDayOrLogFile() const;

    SettingsHub &m_hub;
    TSettings &m_settings;
    RunState &m_run;
    AlarmActions &m_actions;
    StatisticsLog &m_log;
    std::function<QList<double>(int)> m_rxNoise;
    QString m_programFolder;
};
