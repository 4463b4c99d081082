#include "configuration/ExclusiveRadios.h"

#include <QButtonGroup>
#include <QRadioButton>

ExclusiveRadios::ExclusiveRadios(QObject *parent) : QObject(parent), m_group(new QButtonGroup(this))
{
    m_group->setExclusive(false);
}

void ExclusiveRadios::addSet(const QList<QRadioButton *> &radios)
{
    m_sets.append(radios);
    for (QRadioButton *radio : radios) {
        m_group->addButton(radio);
        // A click on a checked radio leaves it checked, as in any radio group.
        connect(radio, &QAbstractButton::clicked, this, [this, radio] {
            select(radio);
            emit picked(radio);
        });
    }
}

void ExclusiveRadios::addClearableSet(const QList<QRadioButton *> &radios)
{
    for (QRadioButton *radio : radios) {
        m_group->addButton(radio);
        connect(radio, &QAbstractButton::clicked, this, [radios, radio](bool on) {
            if (!on)
                return;
            for (QRadioButton *other : radios)
                if (other != radio)
                    other->setChecked(false);
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
