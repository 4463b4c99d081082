#pragma once
// The "Set Target SNR" page: asks the router for another target noise margin
// over telnet, as a percentage of its default margin (adslctl firmware) or in
// dB, and shows when it was last changed.
#include "acquisition/RunState.h"
#include "settings/TSettings.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class TargetMarginChange;
class TelnetSession;

class TargetSnrPage : public QWidget {
    Q_OBJECT
public:
    TargetSnrPage(TSettings &settings, const RunState &run, TelnetSession &session, QWidget *parent = nullptr);

    QLabel *Label47 = nullptr; // what to type where
    QLabel *Label51 = nullptr;
    QLineEdit *edNormalSNR = nullptr;
    QLabel *Label52 = nullptr;
    QLineEdit *edDesiredSNR = nullptr;
    QPushButton *btnTargetSNR = nullptr;
    QLabel *Panel33 = nullptr;

    void btnTargetSNRClick();
    // TabSheet41Show: the un-adjusted margin matters only for adslctl firmware.
    void TabSheet41Show();

signals:
    void systemMessage(const QString &text);
    void messageBox(const QString &text);
    // The router took a new target margin: text is the new [Telnet] LastAdjust, stored by the window.
    void lastAdjusted(const QString &text);

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool adslctl() const;

    TSettings &m_settings;
    const RunState &m_run;
    TargetMarginChange *m_change = nullptr;
};
