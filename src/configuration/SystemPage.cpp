#include "configuration/SystemPage.h"

SystemPage::SystemPage(QWidget *parent) : QWidget(parent)
{
    ui.setupUi(this);
    connect(ui.cbNumbering, &QComboBox::currentIndexChanged, this, &SystemPage::updateStates);
}

void SystemPage::updateStates()
{
    // The locale's decimal sign matters only for routers that write a decimal point.
    ui.cbRegional->setEnabled(ui.cbNumbering->currentIndex() == 0);
}
