#include "mainwindow/ChartCornerSigns.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <qcustomplot.h>

namespace {

QLabel *signLabel(QWidget *parent, const QString &name, const QString &text, const QString &tip)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setToolTip(tip);
    l->setAccessibleName(tip);
    l->hide();
    return l;
}

} // namespace

ChartCornerSigns::ChartCornerSigns(QCustomPlot *plot, const QString &leftSign, const QString &rightSign)
    : QWidget(plot), m_plot(plot), m_leftName(leftSign), m_rightName(rightSign)
{
    setObjectName(plot->objectName() + QStringLiteral("Signs"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(3);
    const QString offScale = tr("\u25B2 off scale");
    if (!leftSign.isEmpty()) {
        m_left = signLabel(this, leftSign, offScale, tr("The left axis's latest value is off scale"));
        m_left->setStyleSheet(QStringLiteral("color: red"));
        row->addWidget(m_left);
    }
    if (!rightSign.isEmpty()) {
        m_right = signLabel(this, rightSign, tr("off scale \u25B2"), tr("The right axis's latest value is off scale"));
        m_right->setStyleSheet(QStringLiteral("color: red"));
        row->addWidget(m_right);
    }
    m_active = signLabel(this, QStringLiteral("CameraActive"), QString(), tr("Capture active"));
    m_active->setPixmap(cameraPicture(true));
    m_inactive = signLabel(this, QStringLiteral("CameraInactive"), QString(), tr("Capture enabled"));
    m_inactive->setPixmap(cameraPicture(false));
    m_daily = signLabel(this, QStringLiteral("CameraDaily"), QString(), tr("Daily capture"));
    m_daily->setPixmap(dailyCameraPicture(QString()));
    for (QLabel *l : {m_active, m_inactive, m_daily})
        row->addWidget(l);
    plot->installEventFilter(this);
    // The right axis is shown and hidden by menus and settings; follow it at each redraw.
    connect(plot, &QCustomPlot::afterReplot, this, &ChartCornerSigns::refresh);
    refresh();
}

bool ChartCornerSigns::hasSign(const QString &name) const
{
    return !name.isEmpty() && (name == m_leftName || name == m_rightName);
}

void ChartCornerSigns::setOverRange(const QString &name, bool on)
{
    if (name == m_leftName)
        m_leftOn = on;
    else if (name == m_rightName)
        m_rightOn = on;
    refresh();
}

bool ChartCornerSigns::overRangeShown(const QString &name) const
{
    const QLabel *l = name == m_leftName ? m_left : name == m_rightName ? m_right : nullptr;
    return l && !l->isHidden();
}

void ChartCornerSigns::setCameras(bool active, bool inactive, bool daily)
{
    m_active->setVisible(active);
    m_inactive->setVisible(inactive);
    m_daily->setVisible(daily);
    place();
}

void ChartCornerSigns::setDailyPicture(const QPixmap &picture) { m_daily->setPixmap(picture); }

bool ChartCornerSigns::activeCameraShown() const { return !m_active->isHidden(); }
bool ChartCornerSigns::inactiveCameraShown() const { return !m_inactive->isHidden(); }
bool ChartCornerSigns::dailyCameraShown() const { return !m_daily->isHidden(); }

void ChartCornerSigns::refresh()
{
    // A sign for an axis nobody sees would point at nothing.
    if (m_left)
        m_left->setVisible(m_leftOn && m_plot->yAxis->visible());
    if (m_right)
        m_right->setVisible(m_rightOn && m_plot->yAxis2->visible());
    place();
}

void ChartCornerSigns::place()
{
    adjustSize();
    move(qMax(0, m_plot->width() - width() - 4), 2);
    raise();
}

bool ChartCornerSigns::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_plot && event->type() == QEvent::Resize)
        place();
    return QWidget::eventFilter(watched, event);
}

QPixmap ChartCornerSigns::cameraPicture(bool active)
{
    QPixmap pm(18, 14);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor body = active ? QColor(0, 150, 0) : QColor(150, 150, 150);
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawRoundedRect(QRectF(1, 3, 16, 10), 2, 2);
    p.drawRect(QRectF(5, 1, 6, 3));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(9, 8), 3, 3);
    return pm;
}

// The "oneshot" camera with the daily capture time on it.
QPixmap ChartCornerSigns::dailyCameraPicture(const QString &time)
{
    QPixmap pm(34, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.drawPixmap(0, 1, cameraPicture(false));
    QFont font(QStringLiteral("Arial Narrow"));
    font.setPointSize(6);
    p.setFont(font);
    p.setPen(QColor(0, 128, 0));
    p.drawText(QPoint(18, 10), time);
    return pm;
}
