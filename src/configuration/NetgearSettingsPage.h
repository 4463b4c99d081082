#pragma once
// The telnet "Netgear Settings" page: telnet on or off, firmware family, error period.
#include "ui_NetgearSettingsPage.h"

#include <QWidget>

class NetgearSettingsPage : public QWidget {
    Q_OBJECT
public:
    explicit NetgearSettingsPage(QWidget *parent = nullptr);

    Ui::NetgearSettingsPage ui;
};
