#include "configuration/NetgearSettingsPage.h"

NetgearSettingsPage::NetgearSettingsPage(QWidget *parent) : QWidget(parent)
{
    ui.setupUi(this);
}
