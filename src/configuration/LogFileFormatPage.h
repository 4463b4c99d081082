#pragma once
// The log's "File Format" page.
#include "ui_LogFileFormatPage.h"

#include <QWidget>

class LogFileFormatPage : public QWidget {
    Q_OBJECT
public:
    explicit LogFileFormatPage(QWidget *parent = nullptr);

    // Image7 shows a log that begins with a header, Image8 one without, by cbAddHeader.
    void showHeaderExample();

    Ui::LogFileFormatPage ui;
};
