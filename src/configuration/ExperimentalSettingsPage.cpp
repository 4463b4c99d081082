#include "configuration/ExperimentalSettingsPage.h"
#include <QIntValidator>

ExperimentalSettingsPage::ExperimentalSettingsPage(QWidget *parent) : QWidget(parent)
{
    ui.setupUi(this);
    ui.edTelnetPort->setValidator(new QIntValidator(1, 65535, ui.edTelnetPort));
}
