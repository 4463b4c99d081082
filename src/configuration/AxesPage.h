#pragma once
// The "Y-Axis Limits & Colours" graph page.
#include "ui_AxesPage.h"

#include <QWidget>

class AxesPage : public QWidget {
    Q_OBJECT
public:
    explicit AxesPage(QWidget *parent = nullptr);

    // Enabled states that follow other controls of this page.
    void updateStates();

    Ui::AxesPage ui;
};
