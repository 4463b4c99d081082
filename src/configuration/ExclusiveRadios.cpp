#include "configuration/ExclusiveRadios.h"

#include <QRadioButton>

void ExclusiveRadios::addSet(const QList<QRadioButton *> &radios)
{
    m_sets.append(radios);
    for (QRadioButton *radio : radios) {
        radio->setAutoExclusive(false);
        // A click on a checked radio leaves it checked, as in any radio group.
        connect(radio, &QAbstractButton::clicked, this, [this, radio] {
            select(radio);
            emit picked(radio);
        });
    }
}

void ExclusiveRadios::select(QRadioButton *radio)
{
    for (const QList<QRadioButton *> &set : m_sets) {
        if (!set.contains(radio))
            continue;
        for (QRadioButton *other : set)
            other->setChecked(other == radio);
    }
}
