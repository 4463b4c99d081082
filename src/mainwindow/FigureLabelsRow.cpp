#include "mainwindow/FigureLabelsRow.h"

#include "mainwindow/EnvelopePanel.h"

#include <QBoxLayout>
#include <QLabel>

FigureLabelsRow FigureLabelsRow::build(QWidget *parent, QBoxLayout *layout)
{
    FigureLabelsRow r;
    auto *figures = new QHBoxLayout;
    r.Panel29 = new EnvelopePanel(parent);
    r.Label2 = new QLabel(parent);
    r.Label2->setObjectName(QStringLiteral("Label2"));
    r.Label4 = new QLabel(parent);
    r.Label4->setObjectName(QStringLiteral("Label4"));
    // The user figures' labels follow the line figures.
    r.Label5 = new QLabel(parent);
    r.Label5->setObjectName(QStringLiteral("Label5"));
    r.Label22 = new QLabel(parent);
    r.Label22->setObjectName(QStringLiteral("Label22"));
    for (QLabel *l : {r.Label2, r.Label4, r.Label5, r.Label22}) {
        l->setMinimumWidth(120);
        figures->addWidget(l);
    }
    figures->addWidget(r.Panel29);
    r.Panel30 = new QLabel(QStringLiteral("x1"), parent);
    r.Panel30->setObjectName(QStringLiteral("Panel30"));
    // Spoken as its factor ("x2"), then what the factor is of.
    r.Panel30->setAccessibleDescription(QObject::tr("Timeline zoom"));
    r.Panel30->hide();
    figures->addWidget(r.Panel30);
    figures->addStretch(1);
    layout->addLayout(figures);
    return r;
}
