#pragma once
// The "Router Login && Logout" page: router model, status page, log-in and logout.
#include "ui_RouterLoginPage.h"

#include <QWidget>

class RouterLoginPage : public QWidget {
    Q_OBJECT
public:
    explicit RouterLoginPage(QWidget *parent = nullptr);

    // Enabled states that follow other controls of this page.
    void updateStates();

    Ui::RouterLoginPage ui;
};
