#include "configuration/TForm6.h"

#include "configuration/DialogPlacement.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

TForm6::TForm6(TSettings &settings, QWidget *parent) : QDialog(parent), m_settings(settings)
{
    setObjectName(QStringLiteral("TForm6"));
    setWindowTitle(QStringLiteral("Veltrano - Select e-mail client"));

    rbUseDefault = new QRadioButton(QStringLiteral("Use default e-mail client"), this);
    rbUseDefault->setObjectName(QStringLiteral("rbUseDefault"));
    rbSelect = new QRadioButton(QStringLiteral("I will select e-mail client"), this);
    rbSelect->setObjectName(QStringLiteral("rbSelect"));
    edEmailClient = new QLineEdit(this);
    edEmailClient->setObjectName(QStringLiteral("edEmailClient"));
    edEmailClient->setAccessibleName(QStringLiteral("E-mail client program"));
    edEmailClient->setMinimumWidth(280);
    btnBrowse = new QPushButton(QStringLiteral("Browse..."), this);
    btnBrowse->setObjectName(QStringLiteral("btnBrowse"));
    btnBrowse->setAutoDefault(false);
    btnClose = new QPushButton(QStringLiteral("Close"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setDefault(true);

    auto *grid = new QGridLayout(this);
    grid->addWidget(rbUseDefault, 0, 0, 1, 2);
    grid->addWidget(rbSelect, 1, 0, 1, 2);
    grid->addWidget(edEmailClient, 2, 0);
    grid->addWidget(btnBrowse, 2, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnClose);
    grid->addLayout(buttons, 3, 0, 1, 2);

    connect(rbUseDefault, &QRadioButton::toggled, this, &TForm6::rbSelectClick);
    connect(rbSelect, &QRadioButton::toggled, this, &TForm6::rbSelectClick);
    connect(btnBrowse, &QPushButton::clicked, this, &TForm6::btnBrowseClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    FormCreate();
}

TForm6 *TForm6::open(QWidget *opener, TSettings &settings)
{
    auto *form = new TForm6(settings, opener);
    dialogs::openAt(form, opener, QPoint(100, 50));
    return form;
}

void TForm6::FormCreate()
{
    rbUseDefault->setChecked(m_settings.Email.UseDefault);
    rbSelect->setChecked(!m_settings.Email.UseDefault);
    edEmailClient->setText(m_settings.Email.Client);
    rbSelectClick();
}

void TForm6::rbSelectClick()
{
    edEmailClient->setEnabled(rbSelect->isChecked());
    btnBrowse->setEnabled(rbSelect->isChecked());
}

void TForm6::btnBrowseClick()
{
    auto *dialog = new QFileDialog(this, QString(), edEmailClient->text());
    dialog->setObjectName(QStringLiteral("OpenDialog1"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::ExistingFile);
    // Programs on Linux carry no extension, so "All Files" means every file.
    dialog->setNameFilters({QStringLiteral("Executable Files (*.exe)"), QStringLiteral("All Files (*)")});
    dialog->selectNameFilter(QStringLiteral("All Files (*)"));
    if (!edEmailClient->text().isEmpty())
        dialog->selectFile(edEmailClient->text());
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString &file) { edEmailClient->setText(file); });
    OpenDialog1 = dialog;
    dialog->open();
}

void TForm6::FormCloseQuery()
{
    m_settings.Email.Client = edEmailClient->text();
    m_settings.Email.UseDefault = rbUseDefault->isChecked();
}

void TForm6::done(int result)
{
    // Close button, Escape and the window's close box all keep the choice.
    FormCloseQuery();
    QDialog::done(result);
}
