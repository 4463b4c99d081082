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
        // The click has just unchecked it (it is not auto-exclusive), so it
        // was already the pick when it is unchecked and alone now.
        connect(radio, &QAbstractButton::clicked, this, [this, radio] {
            const bool changed = radio->isChecked() || checkedInSets(radio) > 0;
            select(radio);
            emit picked(radio, changed);
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

int ExclusiveRadios::checkedInSets(QRadioButton *radio) const
{
    int checked = 0;
    for (const QList<QRadioButton *> &set : m_sets)
        if (set.contains(radio))
            for (QRadioButton *other : set)
                checked += other != radio && other->isChecked();
    return checked;
}
