#include "configuration/CapturePropertiesPage.h"
#include "configuration/FileNamePatternValidator.h"

CapturePropertiesPage::CapturePropertiesPage(QWidget *parent) : QWidget(parent)
{
    ui.setupUi(this);
    connect(ui.cbLastGraph, &QCheckBox::toggled, this, &CapturePropertiesPage::updateStates);
    ui.edFileDateTime->setValidator(new FileNamePatternValidator(ui.edFileDateTime));
}

void CapturePropertiesPage::updateStates()
{
    const bool onClose = ui.cbLastGraph->isChecked();
    ui.cbLessThan->setEnabled(onClose);
    ui.spLessThan->setEnabled(onClose);
    ui.Label41->setEnabled(onClose);
}
