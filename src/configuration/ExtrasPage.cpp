#include "configuration/ExtrasPage.h"

ExtrasPage::ExtrasPage(QWidget *parent) : QWidget(parent)
{
    ui.setupUi(this);
    connect(ui.rbPercent, &QRadioButton::toggled, this, &ExtrasPage::updateStates);
    connect(ui.rbPixels, &QRadioButton::toggled, this, &ExtrasPage::updateStates);
}

void ExtrasPage::updateStates()
{
    const bool percent = ui.rbPercent->isChecked();
    ui.spPercent->setEnabled(percent);
    ui.Label91->setEnabled(percent);
    const bool pixels = ui.rbPixels->isChecked();
    for (QWidget *w : {static_cast<QWidget *>(ui.spGrWidth), static_cast<QWidget *>(ui.spGrHeight),
                       static_cast<QWidget *>(ui.Label87), static_cast<QWidget *>(ui.Label88),
                       static_cast<QWidget *>(ui.Label92)})
        w->setEnabled(pixels);
}
