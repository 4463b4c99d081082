#pragma once
// The "E-mail" page: mail server, message, attachments and schedule.
#include "ui_EmailPage.h"

#include <QWidget>

class EmailPage : public QWidget {
    Q_OBJECT
public:
    explicit EmailPage(QWidget *parent = nullptr);

    // Enabled states that follow other controls of this page.
    void updateStates();

    Ui::EmailPage ui;
};
