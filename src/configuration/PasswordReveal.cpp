#include "configuration/PasswordReveal.h"

#include "configuration/DialogPlacement.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

PasswordPrompt::PasswordPrompt(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PasswordPrompt"));
    setWindowTitle(QStringLiteral("Password..."));
    Label1 = new QLabel(QStringLiteral("Type Password"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    edPassword = new QLineEdit(this);
    edPassword->setObjectName(QStringLiteral("edPassword"));
    edPassword->setEchoMode(QLineEdit::Password);
    edPassword->setMinimumWidth(220);
    Label1->setBuddy(edPassword);
    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(edPassword);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

PasswordPrompt::Result PasswordPrompt::check(const QString &typed, const QString &stored, bool accepted)
{
    if (!accepted || typed.isEmpty())
        return Result::Cancelled;
    return typed == stored ? Result::Right : Result::Wrong;
}

PasswordReveal::PasswordReveal(QCheckBox *box, QLineEdit *edit, std::function<QString()> storedPassword,
                               std::function<bool()> active)
    : QObject(box), m_box(box), m_edit(edit), m_stored(std::move(storedPassword)), m_active(std::move(active))
{
    // The one connection to the box: a second one would ask for the password twice.
    connect(box, &QCheckBox::clicked, this, [this](bool on) {
        if (!m_active || m_active())
            toggled(on);
    });
}

void PasswordReveal::uncheck()
{
    const QSignalBlocker block(m_box);
    m_box->setChecked(false);
    m_edit->setEchoMode(QLineEdit::Password);
}

void PasswordReveal::toggled(bool on)
{
    if (!on) {
        m_edit->setEchoMode(QLineEdit::Password);
        return;
    }
    const QString stored = m_stored ? m_stored() : QString();
    if (stored.isEmpty()) {
        m_edit->setEchoMode(QLineEdit::Normal);
        return;
    }
    // Masked until the answer comes; the question does not block the window.
    m_edit->setEchoMode(QLineEdit::Password);
    auto *prompt = new PasswordPrompt(m_box->window());
    Prompt = prompt;
    connect(prompt, &QDialog::finished, this, [this, prompt, stored](int result) {
        switch (PasswordPrompt::check(prompt->edPassword->text(), stored, result == QDialog::Accepted)) {
        case PasswordPrompt::Result::Right:
            m_edit->setEchoMode(QLineEdit::Normal);
            return;
        case PasswordPrompt::Result::Wrong: {
            uncheck();
            auto *box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Veltrano"),
                                        QStringLiteral("Incorrect Password."), QMessageBox::Ok, m_box->window());
            box->setObjectName(QStringLiteral("IncorrectBox"));
            box->setAttribute(Qt::WA_DeleteOnClose);
            IncorrectBox = box;
            box->open();
            return;
        }
        case PasswordPrompt::Result::Cancelled:
            uncheck();
            return;
        }
    });
    dialogs::openAt(prompt, m_box->window(), QPoint(60, 60));
}
