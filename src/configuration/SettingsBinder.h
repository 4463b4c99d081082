#pragma once
// Loads controls from their settings and copies them back, driven by the
// control-to-setting table: the control's class and the key's type decide how.
#include "configuration/ControlBindings.h"
#include "settings/TSettings.h"

#include <QStringList>
#include <vector>

class QWidget;
struct KeySpec;

class SettingsBinder {
public:
    SettingsBinder(QWidget *root, const std::vector<ControlBinding> &table);

    // Table entries whose control or key was not found, or whose control
    // cannot hold the key's type; empty when the table and the forms agree.
    QStringList problems() const { return m_problems; }

    void load(const TSettings &s) const;
    void loadControl(const char *control, const TSettings &s) const;
    // Copies the group's controls into their keys. A value a control cannot
    // give (a port that is not a port) leaves its key as it was and is named
    // in the returned list.
    QStringList commit(CommitGroup group, TSettings &s) const;

    QWidget *control(const char *name) const;

private:
    struct Entry {
        const ControlBinding *binding;
        const KeySpec *key;
        QWidget *widget;
    };
    void loadEntry(const Entry &e, const TSettings &s) const;
    bool commitEntry(const Entry &e, TSettings &s) const;

    std::vector<Entry> m_entries;
    QStringList m_problems;
};
