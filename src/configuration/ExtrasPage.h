#pragma once
// The "Extras" graph page: averages, captured image size and format.
#include "ui_ExtrasPage.h"

#include <QWidget>

class ExtrasPage : public QWidget {
    Q_OBJECT
public:
    explicit ExtrasPage(QWidget *parent = nullptr);

    // Enabled states that follow other controls of this page.
    void updateStates();

    Ui::ExtrasPage ui;
};
