#pragma once
// Loads controls from their settings and copies them back, driven by the
// control-to-setting table: the control's class and the key's type decide how.
#include "configuration/ControlBindings.h"
#include "settings/TSettings.h"

#include <QSet>
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
    // Reloads the controls of the given keys ("Section/Key") that do not show their value already.
    void loadKeys(const QSet<QString> &keys, const TSettings &s) const;

    // One control and its key, as the table drives them; shared with the live binder.
    static bool fits(const QWidget *w, const KeySpec &key, BindingKind kind);
    // True when the control already shows the key's value.
    static bool shows(const QWidget *w, const KeySpec &key, BindingKind kind, const TSettings &s);
    static void loadWidget(QWidget *w, const KeySpec &key, BindingKind kind, const TSettings &s);
    static bool commitWidget(const QWidget *w, const KeySpec &key, BindingKind kind, TSettings &s);

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
