#include "mainwindow/SaveProgressBar.h"

#include <QBoxLayout>
#include <QProgressBar>
#include <QTimer>

SaveProgressBar SaveProgressBar::build(QWidget *parent, QBoxLayout *layout, QObject *timerOwner)
{
    SaveProgressBar b;
    b.pb1 = new QProgressBar(parent);
    b.pb1->setObjectName(QStringLiteral("pb1"));
    b.pb1->setRange(0, 100);
    b.pb1->setMaximumHeight(12);
    b.pb1->setTextVisible(false);
    b.pb1->hide();
    layout->addWidget(b.pb1);

    b.Timer2 = new QTimer(timerOwner);
    b.Timer2->setObjectName(QStringLiteral("Timer2"));
    b.Timer2->setSingleShot(true);
    b.Timer2->setInterval(1000);
    QObject::connect(b.Timer2, &QTimer::timeout, b.pb1, &QWidget::hide);
    return b;
}
