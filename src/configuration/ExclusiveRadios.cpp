#include "configuration/ExclusiveRadios.h"

#include <QButtonGroup>
#include <QKeyEvent>
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
        radio->installEventFilter(this);
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
    m_clearableSets.append(radios);
    for (QRadioButton *radio : radios) {
        m_group->addButton(radio);
        radio->installEventFilter(this);
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

bool ExclusiveRadios::eventFilter(QObject *watched, QEvent *event)
{
    auto *radio = qobject_cast<QRadioButton *>(watched);
    if (!radio || event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->modifiers() & ~Qt::KeypadModifier)
        return false;
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left: return moveWithinSet(radio, -1);
    case Qt::Key_Down:
    case Qt::Key_Right: return moveWithinSet(radio, 1);
    default: return false;
    }
}

bool ExclusiveRadios::moveWithinSet(QRadioButton *radio, int step)
{
    const QList<QRadioButton *> *set = nullptr;
    for (const auto *sets : {&m_sets, &m_clearableSets})
        for (const QList<QRadioButton *> &s : *sets)
            if (!set && s.contains(radio))
                set = &s;
    if (!set)
        return false;
    const qsizetype n = set->size();
    const qsizetype at = set->indexOf(radio);
    for (qsizetype k = 1; k < n; ++k) {
        QRadioButton *next = set->at(((at + step * k) % n + n) % n);
        if (!next->isEnabled() || next->isHidden())
            continue;
        const bool pick = radio->isChecked();
        next->setFocus(step < 0 ? Qt::BacktabFocusReason : Qt::TabFocusReason);
        if (pick)
            next->click();
        return true;
    }
    // Alone in its set (the others hidden or disabled): the key goes nowhere.
    return true;
}
