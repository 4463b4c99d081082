#include "mainwindow/ElidingLabel.h"

#include <QFontMetrics>

ElidingLabel::ElidingLabel(QWidget *parent) : QLabel(parent)
{
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void ElidingLabel::setFullText(const QString &text)
{
    m_text = text;
    setToolTip(text);
    setAccessibleName(text);
    elide();
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
