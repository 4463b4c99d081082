#pragma once
// Radio buttons that exclude each other within named sets. A stored file may
// have none (or several) of a set's keys on, which an exclusive QButtonGroup
// cannot show, so the set is kept exclusive here and only when the user picks.
// Every radio sits in one non-exclusive button group: that keeps Qt's own
// exclusivity out while a screen reader still hears a radio button. The arrow
// keys move within a set, as in any dialog: to the next radio (the first after
// the last), which is picked when the one left was checked.
#include <QList>
#include <QObject>

class QButtonGroup;
class QRadioButton;

class ExclusiveRadios : public QObject {
    Q_OBJECT
public:
    explicit ExclusiveRadios(QObject *parent = nullptr);

    void addSet(const QList<QRadioButton *> &radios);
    // A choice the user may clear again: a click on the checked radio unchecks
    // it, a click on another unchecks the rest.
    void addClearableSet(const QList<QRadioButton *> &radios);
    // Checks the radio and unchecks the others of its set, as a click does,
    // without emitting picked().
    void select(QRadioButton *radio);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    // The user picked the radio (it is checked, the others of its set not);
    // changed is false when it was the set's pick already.
    void picked(QRadioButton *radio, bool changed);

private:
    // How many other radios of the radio's sets are checked.
    int checkedInSets(QRadioButton *radio) const;

    // The arrow key's move within the radio's set; false when it is in none.
    bool moveWithinSet(QRadioButton *radio, int step);

    QButtonGroup *m_group;
    QList<QList<QRadioButton *>> m_sets;
    QList<QList<QRadioButton *>> m_clearableSets;
};
