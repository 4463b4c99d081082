#pragma once
// The telnet "Netgear Settings" page: telnet on or off, firmware family, error period.
#include "ui_NetgearSettingsPage.h"

#include <QWidget>

class NetgearSettingsPage : public QWidget {
    Q_OBJECT
public:
    explicit NetgearSettingsPage(QWidget *parent = nullptr);

    // Enabled states that follow other controls of this page.
    void updateStates();

    Ui::NetgearSettingsPage ui;
};
