#pragma once
// The "Router Search Text" page: how the status page is prepared before its figures are searched.
#include "ui_SearchTextPage.h"

#include <QWidget>

class SearchTextPage : public QWidget {
    Q_OBJECT
public:
    explicit SearchTextPage(QWidget *parent = nullptr);

    // Enabled states that follow other controls of this page.
    void updateStates();

    Ui::SearchTextPage ui;
};
