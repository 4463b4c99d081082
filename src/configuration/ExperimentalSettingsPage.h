#pragma once
// The telnet "Experimental Settings" page: log-in, chipset, prompt, commands, ADSL mode.
#include "ui_ExperimentalSettingsPage.h"

#include <QWidget>

class ExperimentalSettingsPage : public QWidget {
    Q_OBJECT
public:
    explicit ExperimentalSettingsPage(QWidget *parent = nullptr);

    Ui::ExperimentalSettingsPage ui;
};
