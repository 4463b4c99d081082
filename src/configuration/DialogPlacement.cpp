#include "configuration/DialogPlacement.h"

#include <QDialog>
#include <QString>
#include <QWidget>

namespace dialogs {

namespace {

void show(QDialog *dialog, QPoint at)
{
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->adjustSize();
    dialog->move(at);
    dialog->open();
}

} // namespace

void openAt(QDialog *dialog, QWidget *opener, QPoint offset)
{
    const QPoint origin = opener ? opener->window()->geometry().topLeft() : QPoint();
    show(dialog, origin + offset);
}

void openFromCentre(QDialog *dialog, QWidget *opener, QPoint offset)
{
    const QPoint origin = opener ? opener->window()->geometry().center() : QPoint();
    show(dialog, origin + offset);
}

QRect fitOnScreen(const QRect &wanted, const QSize &preferred, const QSize &minimum, const QRect &available,
                  const QMargins &frame)
{
    const QSize room(available.width() - frame.left() - frame.right(),
                     available.height() - frame.top() - frame.bottom());
    const QSize size = preferred.expandedTo(wanted.size()).boundedTo(room).expandedTo(minimum);
    QRect out(wanted.topLeft(), size);
    // Right and bottom edges first, so that the top-left corner stays reachable.
    if (out.right() + frame.right() > available.right())
        out.moveRight(available.right() - frame.right());
    if (out.bottom() + frame.bottom() > available.bottom())
        out.moveBottom(available.bottom() - frame.bottom());
    if (out.left() - frame.left() < available.left())
        out.moveLeft(available.left() + frame.left());
    if (out.top() - frame.top() < available.top())
        out.moveTop(available.top() + frame.top());
    return out;
}

QString plainLines(const QString &text)
{
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

} // namespace dialogs
