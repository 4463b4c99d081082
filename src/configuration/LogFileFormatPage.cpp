#include "configuration/LogFileFormatPage.h"

#include "configuration/FileNamePatternValidator.h"

LogFileFormatPage::LogFileFormatPage(QWidget *parent) : QWidget(parent)
{
    ui.setupUi(this);
    ui.edNewLog->setValidator(new FileNamePatternValidator(ui.edNewLog));
}

void LogFileFormatPage::updateStates() {}
