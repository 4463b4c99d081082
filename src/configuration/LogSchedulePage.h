#pragma once
// The log's "Schedule && Options" page.
#include "ui_LogSchedulePage.h"

#include <QWidget>

class LogSchedulePage : public QWidget {
    Q_OBJECT
public:
    explicit LogSchedulePage(QWidget *parent = nullptr);

    // Enabled states that follow other controls of this page.
    void updateStates();

    Ui::LogSchedulePage ui;
};
