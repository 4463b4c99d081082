#include "configuration/UserLabelDialog.h"

#include "configuration/DialogPlacement.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

UserLabelDialog::UserLabelDialog(int figure, TSettings &settings, QWidget *parent)
    : QDialog(parent), m_figure(figure == 2 ? 2 : 1), m_settings(settings)
{
    const bool second = m_figure == 2;
    setObjectName(second ? QStringLiteral("TForm12") : QStringLiteral("TForm13"));
    setWindowTitle(second ? QStringLiteral("User Defined (2) Label....") : QStringLiteral("User Defined (1) Label..."));

    Label1 = new QLabel(QStringLiteral("Type a label for this graph..."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    edUserLabel = new QLineEdit(this);
    edUserLabel->setObjectName(second ? QStringLiteral("edUserLabel2") : QStringLiteral("edUserLabel"));
    edUserLabel->setMinimumWidth(240);
    Label1->setBuddy(edUserLabel);
    rbRawUserDef = new QRadioButton(QStringLiteral("Plot value directly to graph"), this);
    rbRawUserDef->setObjectName(second ? QStringLiteral("rbRawUserDef1") : QStringLiteral("rbRawUserDef"));
    rbDiffUserDef = new QRadioButton(QStringLiteral("Plot difference between successive values"), this);
    rbDiffUserDef->setObjectName(second ? QStringLiteral("rbDiffUserDef1") : QStringLiteral("rbDiffUserDef"));
    rbRawUserDef->setChecked(true);
    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(edUserLabel);
    layout->addWidget(rbRawUserDef);
    layout->addWidget(rbDiffUserDef);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);

    connect(btnOK, &QPushButton::clicked, this, &UserLabelDialog::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    FormShow();
}

UserLabelDialog *UserLabelDialog::open(int figure, QWidget *opener, TSettings &settings, Accepted accepted)
{
    auto *form = new UserLabelDialog(figure, settings, opener);
    form->m_accepted = std::move(accepted);
    dialogs::openAt(form, opener, QPoint(100, 200));
    return form;
}

QString &UserLabelDialog::label() const
{
    return m_figure == 2 ? m_settings.Graph.UserLabel2 : m_settings.Graph.UserLabel;
}

bool &UserLabelDialog::raw() const { return m_figure == 2 ? m_settings.Graph.RawUserDef1 : m_settings.Graph.RawUserDef; }

bool &UserLabelDialog::diff() const
{
    return m_figure == 2 ? m_settings.Graph.DiffUserDef1 : m_settings.Graph.DiffUserDef;
}

void UserLabelDialog::showEvent(QShowEvent *event)
{
    // Reloaded at every showing: the label may have changed elsewhere meanwhile.
    FormShow();
    QDialog::showEvent(event);
}

void UserLabelDialog::FormShow()
{
    edUserLabel->setText(label());
    if (diff())
        rbDiffUserDef->setChecked(true);
    else
        rbRawUserDef->setChecked(true);
    edUserLabel->selectAll();
    edUserLabel->setFocus();
}

void UserLabelDialog::btnOKClick()
{
    const QString text = edUserLabel->text();
    label() = text;
    // The plot choice is stored first so the label's chart title shows it.
    raw() = rbRawUserDef->isChecked();
    diff() = rbDiffUserDef->isChecked();
    if (m_accepted)
        m_accepted(text);
    accept();
}
