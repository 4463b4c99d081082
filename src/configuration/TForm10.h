#pragma once
// The log options warning of Run: logging is on but nothing would ever be
// written. "Yes" goes on; Cancel (or closing the box) leaves monitoring stopped.
#include "configuration/AdviceDialog.h"
#include "settings/TSettings.h"

class TForm10 : public AdviceDialog {
    Q_OBJECT
public:
    TForm10(TSettings &settings, QWidget *parent = nullptr);

    // Whether Run must warn: the log is on, no schedule or alarm writes to it,
    // and the warning has not been turned off.
    static bool needed(const TSettings &settings, bool writeAlarmToLogChecked);

    // Modal at the opener's left + 70, top + 100; carryOn is false when Run must end.
    static TForm10 *ask(QWidget *opener, TSettings &settings, std::function<void(bool carryOn)> carryOn);

    QCheckBox *cbAdvise2 = nullptr;
    bool LogWarningCancelled = false;

protected:
    void closing(bool dontShowAgain) override;

private:
    TSettings &m_settings;
};
