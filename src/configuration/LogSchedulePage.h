#pragma once
// The log's "Schedule && Options" page.
#include "ui_LogSchedulePage.h"

#include <QWidget>

class LogSchedulePage : public QWidget {
    Q_OBJECT
public:
    explicit LogSchedulePage(QWidget *parent = nullptr);

    Ui::LogSchedulePage ui;
};
