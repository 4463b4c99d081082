#include "configuration/CommonSettingsPage.h"
#include <QPalette>
#include <QStyle>

CommonSettingsPage::CommonSettingsPage(QWidget *parent) : QWidget(parent)
{
    ui.setupUi(this);
    const int size = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    ui.Image6->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this).pixmap(size, size));
    connect(ui.spSample, &QSpinBox::valueChanged, this, &CommonSettingsPage::updateStates);
    connect(ui.spPoints, &QSpinBox::valueChanged, this, &CommonSettingsPage::updateStates);
}

void CommonSettingsPage::updateStates()
{
    ui.Label45->setText(pageDuration(ui.spSample->value(), ui.spPoints->value()));
    // Very short intervals load the router; the value says so in red.
    QPalette p = ui.spSample->palette();
    p.setColor(QPalette::Text, ui.spSample->value() < 5 ? QColor(Qt::red) : QColor(Qt::black));
    ui.spSample->setPalette(p);
    ui.Image6->setVisible(ui.spSample->value() < 5);
}

QString CommonSettingsPage::pageDuration(int sample, int points)
{
    const qint64 minutes = qRound64(double(sample) / 60.0 * double(points));
    return QStringLiteral("(%1 hr : %2 min)").arg(minutes / 60).arg(minutes % 60);
}
