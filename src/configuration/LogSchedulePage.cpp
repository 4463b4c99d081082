#include "configuration/LogSchedulePage.h"

LogSchedulePage::LogSchedulePage(QWidget *parent) : QWidget(parent)
{
    ui.setupUi(this);
}
