#pragma once
// The "System" page: start-up, window, numbers, priority and the about panel.
#include "ui_SystemPage.h"

#include <QWidget>

class SystemPage : public QWidget {
    Q_OBJECT
public:
    explicit SystemPage(QWidget *parent = nullptr);

    // Enabled states that follow other controls of this page.
    void updateStates();

    Ui::SystemPage ui;
};
