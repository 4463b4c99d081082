#include "charts/ChartCornerSigns.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
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
    // Below the row of capture cameras, which share the corner.
    move(qMax(0, m_plot->width() - width() - 4), 24);
    raise();
}

bool ChartCornerSigns::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_plot && event->type() == QEvent::Resize)
        place();
    return QWidget::eventFilter(watched, event);
}
