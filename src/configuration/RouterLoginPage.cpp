#include "configuration/RouterLoginPage.h"

RouterLoginPage::RouterLoginPage(QWidget *parent) : QWidget(parent)
{
    ui.setupUi(this);
    for (QAbstractButton *box : {static_cast<QAbstractButton *>(ui.cbLogin), static_cast<QAbstractButton *>(ui.cbLogOut),
                                 static_cast<QAbstractButton *>(ui.cbUsernameNotRequired)})
        connect(box, &QAbstractButton::toggled, this, &RouterLoginPage::updateStates);
}

void RouterLoginPage::updateStates()
{
    const bool login = ui.cbLogin->isChecked();
    const bool userNeeded = !ui.cbUsernameNotRequired->isChecked();
    ui.Label2->setEnabled(login && userNeeded);
    ui.edUsername->setEnabled(login && userNeeded);
    ui.Label3->setEnabled(login);
    ui.edPassword->setEnabled(login);
    ui.edLogoutURL->setEnabled(ui.cbLogOut->isChecked());
    ui.Label4->setEnabled(ui.cbLogOut->isChecked());
}
