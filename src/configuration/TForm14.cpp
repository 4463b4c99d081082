#include "configuration/TForm14.h"

#include "configuration/DialogPlacement.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

TForm14::TForm14(TSettings &settings, QWidget *parent) : QDialog(parent), m_settings(settings)
{
    setObjectName(QStringLiteral("TForm14"));
    setWindowTitle(QStringLiteral("Reset Incremental Count At..."));
    Label1 = new QLabel(QStringLiteral("Reset Rx and Tx incremental values daily at..."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    DateTimePicker1 = new QTimeEdit(this);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setDisplayFormat(QStringLiteral("HH:mm"));
    Label1->setBuddy(DateTimePicker1);
    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(DateTimePicker1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    layout->addLayout(buttons);
    connect(btnOK, &QPushButton::clicked, this, &TForm14::btnOKClick);
    FormShow();
}

TForm14 *TForm14::open(QWidget *mainWindow, TSettings &settings)
{
    auto *form = new TForm14(settings, mainWindow);
    dialogs::openFromCentre(form, mainWindow, QPoint(-150, -100));
    return form;
}

void TForm14::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TForm14::FormShow()
{
    QTime t = QTime::fromString(m_settings.Telnet.ResetIncAt, QStringLiteral("H:mm"));
    // A stored time that cannot be read shows the usual re-basing time.
    if (!t.isValid())
        t = QTime(3, 0);
    DateTimePicker1->setTime(t);
}

void TForm14::btnOKClick()
{
    m_settings.Telnet.ResetIncAt = DateTimePicker1->time().toString(QStringLiteral("HH:mm"));
    accept();
}
