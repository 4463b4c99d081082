#include "pages/TForm15.h"

#include "acquisition/TelnetSession.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TForm15::TForm15(const TSettings &settings, TelnetSession &session, QWidget *parent)
    : QDialog(parent), m_settings(settings), m_session(session)
{
    setObjectName(QStringLiteral("TForm15"));
    setWindowTitle(QStringLiteral("Reset ADSL counters..."));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    auto *caution = new QLabel(QStringLiteral("CAUTION!"), this);
    QFont bold = caution->font();
    bold.setBold(true);
    caution->setFont(bold);
    layout->addWidget(caution);
    auto *text = new QLabel(QStringLiteral("This will reset all of the router's internal ADSL cumulative counters."), this);
    text->setWordWrap(true);
    layout->addWidget(text);
    auto *buttons = new QHBoxLayout;
    btnContinue = new QPushButton(QStringLiteral("Continue"), this);
    btnContinue->setObjectName(QStringLiteral("btnContinue"));
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setDefault(true);
    buttons->addStretch(1);
    buttons->addWidget(btnContinue);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);
    connect(btnContinue, &QPushButton::clicked, this, &TForm15::btnContinueClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString TForm15::resetCommand(const TSettings &settings)
{
    return settings.Telnet.TelnetCmd.contains(QLatin1String("adslctl")) ? QStringLiteral("adslctl info --reset")
                                                                        : QStringLiteral("adsl info --reset");
}

void TForm15::btnContinueClick()
{
    m_session.SendText(resetCommand(m_settings));
    accept();
}
