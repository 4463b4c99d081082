#include "mainwindow/EnvelopePanel.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QToolButton>

namespace {

// An envelope drawn in the state's colour: green sent, red failed.
QIcon envelopeIcon(const QColor &colour)
{
    QPixmap pm(24, 18);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour.darker(150), 1.5));
    p.setBrush(colour.lighter(170));
    const QRectF body(1.5, 2.5, 21, 13);
    p.drawRect(body);
    p.drawPolyline(QPolygonF{body.topLeft(), QPointF(12, 10), body.topRight()});
    return QIcon(pm);
}

QToolButton *envelopeButton(QWidget *parent, const char *name, const QString &text, const QString &hint,
                            const QColor &colour)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setText(text);
    b->setIcon(envelopeIcon(colour));
    b->setIconSize(QSize(24, 18));
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::StrongFocus);
    b->setToolTip(hint);
    b->setAccessibleName(text);
    b->setAccessibleDescription(hint);
    b->hide();
    return b;
}

} // namespace

EnvelopePanel::EnvelopePanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Panel29"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    Image23 = envelopeButton(this, "Image23", tr("E-mail sent"), QStringLiteral("Click to remove icon"),
                             QColor(0, 140, 0));
    Image24 = envelopeButton(this, "Image24", tr("E-mail failed"),
                             tr("There was a problem sending an e-mail. Click for details and to remove icon"),
                             QColor(200, 0, 0));
    row->addWidget(Image23);
    row->addWidget(Image24);
    connect(Image23, &QToolButton::clicked, this, &EnvelopePanel::Image23Clicked);
    connect(Image24, &QToolButton::clicked, this, &EnvelopePanel::Image24Clicked);
    hide();
}

void EnvelopePanel::showEnvelope(EmailEnvelope e)
{
    Image23->setVisible(e == EmailEnvelope::Sent);
    Image24->setVisible(e == EmailEnvelope::Failed);
    setVisible(e != EmailEnvelope::Hidden);
}
