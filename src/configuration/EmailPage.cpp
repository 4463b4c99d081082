#include "configuration/EmailPage.h"
#include <QIntValidator>

EmailPage::EmailPage(QWidget *parent) : QWidget(parent)
{
    ui.setupUi(this);
    connect(ui.cbEmailLogin, &QCheckBox::toggled, this, &EmailPage::updateStates);
    connect(ui.cbEmailUsePlain, &QCheckBox::toggled, this, &EmailPage::updateStates);
    ui.edEmailPort->setValidator(new QIntValidator(1, 65535, ui.edEmailPort));
    // An emptied port edit is refilled with the SMTP port when it is left.
    connect(ui.edEmailPort, &QLineEdit::editingFinished, this, [this] {
        if (ui.edEmailPort->text().trimmed().isEmpty())
            ui.edEmailPort->setText(QStringLiteral("25"));
    });
}

void EmailPage::updateStates()
{
    const bool login = ui.cbEmailLogin->isChecked();
    for (QWidget *w : {static_cast<QWidget *>(ui.Label49), static_cast<QWidget *>(ui.Label50),
                       static_cast<QWidget *>(ui.edEmailUser), static_cast<QWidget *>(ui.edEmailPass),
                       static_cast<QWidget *>(ui.cbRemEmailPass)})
        w->setEnabled(login);
    ui.edEmailPass->setEchoMode(ui.cbEmailUsePlain->isChecked() ? QLineEdit::Normal : QLineEdit::Password);
}
