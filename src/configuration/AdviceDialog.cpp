#include "configuration/AdviceDialog.h"

#include "configuration/DialogPlacement.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

AdviceDialog::AdviceDialog(const QString &caption, const QString &line1, const QString &line2,
                           const QString &boxName, const QString &okText, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(caption);
    Label1 = new QLabel(line1, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(dialogs::plainLines(line2), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    adviseBox = new QCheckBox(QStringLiteral("Don't show this message again"), this);
    adviseBox->setObjectName(boxName);
    btnOK = new QPushButton(okText, this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addSpacing(8);
    layout->addWidget(adviseBox);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);

    connect(btnOK, &QPushButton::clicked, this, [this] {
        m_answer = Answer::Ok;
        okClicked();
        accept();
    });
    connect(btnCancel, &QPushButton::clicked, this, [this] {
        m_answer = Answer::Cancel;
        cancelClicked();
        reject();
    });
}

void AdviceDialog::done(int result)
{
    closing(adviseBox->isChecked());
    QDialog::done(result);
    // Once only, and after the stores, so the caller sees the settings as answered.
    if (Callback callback = std::exchange(m_callback, nullptr))
        callback(m_answer);
}
