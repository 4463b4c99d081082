#pragma once
// "Reset ADSL counters...": the warning before the router's cumulative line
// counters are reset over telnet.
#include "settings/TSettings.h"

#include <QDialog>

class QPushButton;
class TelnetSession;

class TForm15 : public QDialog {
    Q_OBJECT
public:
    TForm15(const TSettings &settings, TelnetSession &session, QWidget *parent = nullptr);

    QPushButton *btnContinue = nullptr;
    QPushButton *btnCancel = nullptr;

    // The reset command of the configured statistics command's family.
    static QString resetCommand(const TSettings &settings);
    void btnContinueClick();

private:
    const TSettings &m_settings;
    TelnetSession &m_session;
};
