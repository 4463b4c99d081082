#include "configuration/AxesPage.h"

AxesPage::AxesPage(QWidget *parent) : QWidget(parent)
{
    ui.setupUi(this);
    connect(ui.cbUserAuto, &QCheckBox::toggled, this, &AxesPage::updateStates);
    connect(ui.cbUser1Auto, &QCheckBox::toggled, this, &AxesPage::updateStates);
}

void AxesPage::updateStates()
{
    // Limits of an automatic axis are not used, so they are not offered.
    const bool fixed1 = !ui.cbUserAuto->isChecked();
    for (QWidget *w : {static_cast<QWidget *>(ui.Label61), static_cast<QWidget *>(ui.Label63),
                       static_cast<QWidget *>(ui.spUserMax), static_cast<QWidget *>(ui.spUserMin)})
        w->setEnabled(fixed1);
    const bool fixed2 = !ui.cbUser1Auto->isChecked();
    for (QWidget *w : {static_cast<QWidget *>(ui.Label64), static_cast<QWidget *>(ui.Label65),
                       static_cast<QWidget *>(ui.spUser1Max), static_cast<QWidget *>(ui.spUser1Min)})
        w->setEnabled(fixed2);
}
