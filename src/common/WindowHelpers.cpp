#include "common/WindowHelpers.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

QString FormatThousands(const QString &number, const QLocale &locale)
{
    QString t = number.trimmed();
    const QString decimal = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    // The integer part ends at a decimal sign that stands after the first character.
    const qsizetype d = t.indexOf(decimal);
    const qsizetype intLen = d > 0 ? d : t.size();
    for (qsizetype p = intLen - 3; p > 0; p -= 3)
        t.insert(p, group);
    return t;
}

void Delay(int ms)
{
    QElapsedTimer clock;
    clock.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    } while (clock.elapsed() < ms);
}
