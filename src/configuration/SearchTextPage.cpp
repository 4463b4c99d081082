#include "configuration/SearchTextPage.h"

SearchTextPage::SearchTextPage(QWidget *parent) : QWidget(parent)
{
    ui.setupUi(this);
}

void SearchTextPage::updateStates()
{
}
