#include "widgets/ElidingLabel.h"

#include <QFontMetrics>

ElidingLabel::ElidingLabel(QWidget *parent) : QLabel(parent) {}

// As wide as its whole text would like; where there is less room it is shortened.
QSize ElidingLabel::sizeHint() const
{
    const int textWidth = fontMetrics().horizontalAdvance(m_text) + 2 * margin() + 8;
    return QSize(qMax(minimumWidth(), textWidth), QLabel::sizeHint().height());
}

void ElidingLabel::setFullText(const QString &text)
{
    m_text = text;
    setToolTip(text);
    setAccessibleName(text);
    elide();
    updateGeometry();
}

QSize ElidingLabel::minimumSizeHint() const { return QSize(minimumWidth(), QLabel::minimumSizeHint().height()); }

void ElidingLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    elide();
}

void ElidingLabel::elide()
{
    // Paths lose their middle, where the folders are, and keep the file name.
    const int room = contentsRect().width() - 2 * margin() - 4;
    setText(fontMetrics().elidedText(m_text, Qt::ElideMiddle, qMax(0, room)));
}
