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

QString plainLines(const QString &text)
{
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

} // namespace dialogs
