#pragma once
// The daily time at which the incremental byte counts are re-based.
#include "settings/TSettings.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTimeEdit;

class TForm14 : public QDialog {
    Q_OBJECT
public:
    TForm14(TSettings &settings, QWidget *parent = nullptr);

    // Opened by the chart menu's "Change Time...": modal, 150 pixels left of and
    // 100 above the main window's centre.
    static TForm14 *open(QWidget *mainWindow, TSettings &settings);

    void FormShow();
    void btnOKClick();

    QLabel *Label1 = nullptr;
    QTimeEdit *DateTimePicker1 = nullptr;
    QPushButton *btnOK = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    TSettings &m_settings;
};
