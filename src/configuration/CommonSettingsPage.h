#pragma once
// The "Common Settings" graph page: sampling, page length, colours, grid and gaps.
#include "ui_CommonSettingsPage.h"

#include <QWidget>

class CommonSettingsPage : public QWidget {
    Q_OBJECT
public:
    explicit CommonSettingsPage(QWidget *parent = nullptr);

    // Enabled states that follow other controls of this page.
    void updateStates();

    // "(h hr : m min)": how long a page of Points samples lasts.
    static QString pageDuration(int sample, int points);

    Ui::CommonSettingsPage ui;
};
