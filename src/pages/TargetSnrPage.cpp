#include "pages/TargetSnrPage.h"

#include "acquisition/TargetMarginChange.h"
#include "common/Clock.h"
#include "common/DateTimePattern.h"
#include "widgets/ConfirmBox.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

TargetSnrPage::TargetSnrPage(TSettings &settings, const RunState &run, TelnetSession &session, QWidget *parent)
    : QWidget(parent), m_settings(settings), m_run(run), m_change(new TargetMarginChange(session, this))
{
    setObjectName(QStringLiteral("TabSheet41"));
    auto *grid = new QGridLayout(this);
    // Digits and the decimal signs only, typed or pasted: a margin is never negative here.
    auto *margin = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9.,]{0,8}")), this);
    auto edit = [this, margin](const char *name, const QString &value) {
        auto *e = new QLineEdit(value, this);
        e->setObjectName(QString::fromLatin1(name));
        e->setValidator(margin);
        e->setMaximumWidth(80);
        return e;
    };
    Label47 = new QLabel(this);
    Label47->setObjectName(QStringLiteral("Label47"));
    Label47->setWordWrap(true);
    Label51 = new QLabel(tr("Router's un-adjusted (default) Noise Margin"), this);
    Label51->setObjectName(QStringLiteral("Label51"));
    edNormalSNR = edit("edNormalSNR", settings.Telnet.Default);
    Label51->setBuddy(edNormalSNR);
    Label52 = new QLabel(tr("dB"), this);
    TabSheet41Show();
    Label52->setObjectName(QStringLiteral("Label52"));
    auto *desiredLabel = new QLabel(tr("Desired Noise Margin"), this);
    edDesiredSNR = edit("edDesiredSNR", settings.Telnet.Target);
    desiredLabel->setBuddy(edDesiredSNR);
    btnTargetSNR = new QPushButton(tr("Set Target Noise Margin"), this);
    btnTargetSNR->setObjectName(QStringLiteral("btnTargetSNR"));
    Panel33 = new QLabel(settings.Telnet.LastAdjust, this);
    Panel33->setObjectName(QStringLiteral("Panel33"));
    Panel33->setFrameShape(QFrame::StyledPanel);
    grid->addWidget(Label47, 0, 0, 1, 4);
    grid->addWidget(Label51, 1, 0);
    grid->addWidget(edNormalSNR, 1, 1);
    grid->addWidget(Label52, 1, 2);
    grid->addWidget(desiredLabel, 2, 0);
    grid->addWidget(edDesiredSNR, 2, 1);
    grid->addWidget(new QLabel(tr("dB"), this), 2, 2);
    grid->addWidget(btnTargetSNR, 3, 0);
    grid->addWidget(Panel33, 4, 0, 1, 3);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(5, 1);

    connect(btnTargetSNR, &QPushButton::clicked, this, &TargetSnrPage::btnTargetSNRClick);
    connect(m_change, &TargetMarginChange::systemMessage, this, &TargetSnrPage::systemMessage);
    connect(m_change, &TargetMarginChange::finished, this,
            [this](bool sent, const terminalcommands::TargetMargin &m) {
                btnTargetSNR->setEnabled(true);
                if (!sent)
                    return;
                const bool utc = m_settings.Graph.UTCTime;
                const QDateTime now = utc ? Clock::currentDateTimeUtc() : Clock::currentDateTime();
                const QString text = terminalcommands::lastAdjustedText(
                    dtp::format(QStringLiteral("ddd dd mmm yyyy hh:nn:ss"), now), utc, edDesiredSNR->text(), m);
                Panel33->setText(text);
                emit lastAdjusted(text);
            });
}

bool TargetSnrPage::adslctl() const { return m_settings.Telnet.TelnetCmd.contains(QLatin1String("adslctl")); }

void TargetSnrPage::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    TabSheet41Show();
}

void TargetSnrPage::TabSheet41Show()
{
    for (QWidget *w : std::initializer_list<QWidget *>{Label51, edNormalSNR, Label52})
        w->setEnabled(adslctl());
    Label47->setText(adslctl() ? QStringLiteral("In the first box below, enter the default (un-adjusted) Noise Margin. In the "
                                                "second box below, enter the desired target Noise Margin. Press the 'Set "
                                                "Target Noise Margin' button.")
                               : QStringLiteral("In the box below, enter the desired target Noise Margin. Press the 'Set "
                                                "Target Noise Margin' button."));
}

void TargetSnrPage::btnTargetSNRClick()
{
    const terminalcommands::TargetMargin m =
        terminalcommands::targetMargin(edNormalSNR->text(), edDesiredSNR->text(), adslctl());
    if (!m.error.isEmpty()) {
        emit messageBox(m.error);
        return;
    }
    const QPoint at = window()->geometry().topLeft() + QPoint(150, 200);
    confirmbox::ask(this, QStringLiteral("TargetSnrConfirmBox"), m.confirmation, at, [this, m] {
        if (m_change->start(m, m_settings.Telnet.TelnetPrompt))
            btnTargetSNR->setEnabled(false);
    });
}
