#pragma once
// The telnet "Experimental Settings" page: log-in, chipset, prompt, commands, ADSL mode.
#include "ui_ExperimentalSettingsPage.h"

#include <QWidget>

class ExperimentalSettingsPage : public QWidget {
    Q_OBJECT
public:
    explicit ExperimentalSettingsPage(QWidget *parent = nullptr);

    // Enabled states that follow other controls of this page.
    void updateStates();

    Ui::ExperimentalSettingsPage ui;
};
