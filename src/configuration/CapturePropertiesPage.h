#pragma once
// The "Capture Properties" graph page: image files, capture schedule and overlays.
#include "ui_CapturePropertiesPage.h"

#include <QWidget>

class CapturePropertiesPage : public QWidget {
    Q_OBJECT
public:
    explicit CapturePropertiesPage(QWidget *parent = nullptr);

    // Enabled states that follow other controls of this page.
    void updateStates();

    Ui::CapturePropertiesPage ui;
};
