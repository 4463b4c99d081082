#include "configuration/LogFileFormatPage.h"

#include "configuration/FileNamePatternValidator.h"

LogFileFormatPage::LogFileFormatPage(QWidget *parent) : QWidget(parent)
{
    ui.setupUi(this);
    ui.edNewLog->setValidator(new FileNamePatternValidator(ui.edNewLog));
    QFont mono(QStringLiteral("Courier New"));
    mono.setStyleHint(QFont::TypeWriter);
    for (QLabel *example : {ui.Image7, ui.Image8})
        example->setFont(mono);
    connect(ui.cbAddHeader, &QCheckBox::toggled, this, &LogFileFormatPage::showHeaderExample);
    showHeaderExample();
}

void LogFileFormatPage::showHeaderExample()
{
    ui.Image7->setVisible(ui.cbAddHeader->isChecked());
    ui.Image8->setVisible(!ui.cbAddHeader->isChecked());
}
